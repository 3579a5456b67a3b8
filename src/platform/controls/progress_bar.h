#pragma once

#include <QProgressBar>

// A progress bar with a text of its own. The text is shown as it is: QProgressBar's format
// codes (%p, %v, %m) never apply, so a piece holding "%" shows as typed. Setting the text is
// cheap enough to do once per item of a loop of millions.
class ProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    explicit ProgressBar(QWidget* parent = nullptr);

    void setBarText(const QString& text);
    // The text becomes `prefix` followed by `rest`, built in place without a new allocation
    // when it fits in what the text already holds.
    void setBarText(QStringView prefix, QStringView rest);
    const QString& barText() const { return text_; }  // the whole text

    QString text() const override;  // what is painted: clipped for very long texts

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void textChanged();

    QString text_;
    bool repaintPending_ = false;
};

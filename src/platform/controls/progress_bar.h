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
    // The text becomes `prefix` followed by `length` characters of `source` from `offset`.
    // Nothing is copied: the bar keeps a share of both texts and builds its text when painted.
    void setBarText(const QString& prefix, const QString& source, qsizetype offset,
                    qsizetype length);

    QString barText() const;        // the whole text
    QString text() const override;  // what is painted: clipped for very long texts

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void textChanged();
    QString composed(qsizetype maxLength) const;

    QString prefix_;
    QString source_;
    qsizetype offset_ = 0;
    qsizetype length_ = 0;
    bool repaintPending_ = false;
};

#pragma once

#include <QProgressBar>
#include <QStringView>

// A progress bar with a text of its own. The text is shown as it is: QProgressBar's format
// codes (%p, %v, %m) never apply, so a piece holding "%" shows as typed. Setting the text is
// cheap enough to do once per item of a loop of millions.
class ProgressBar : public QProgressBar {
    Q_OBJECT
  public:
    // Picks the part of a text that is shown, e.g. the file name of a path.
    using ShownPart = QStringView (*)(QStringView);

    explicit ProgressBar(QWidget* parent = nullptr);

    void setBarText(const QString& text);
    // The text becomes `prefix` followed by `shownPart` of the `length` characters of `source`
    // from `offset` (all of them when `shownPart` is null). Nothing is copied and the part is
    // picked only when the text is read or painted: a loop may set a text per item while only
    // a few are ever seen.
    void setBarText(const QString& prefix, const QString& source, qsizetype offset,
                    qsizetype length, ShownPart shownPart = nullptr) {
        if (!sameText(prefix_, prefix)) {
            prefix_ = prefix;
        }
        if (!sameText(source_, source)) {
            source_ = source;
        }
        offset_ = offset;
        length_ = length;
        shownPart_ = shownPart;
        if (!repaintPending_) {
            textChanged();
        }
    }

    QString barText() const;        // the whole text
    QString text() const override;  // what is painted: clipped for long texts

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Assigning a QString costs two atomic operations; most calls hand over the same text.
    static bool sameText(const QString& kept, const QString& given) {
        return kept.constData() == given.constData() && kept.size() == given.size();
    }
    void textChanged();
    QString composed(qsizetype maxLength) const;

    QString prefix_;
    QString source_;
    qsizetype offset_ = 0;
    qsizetype length_ = 0;
    ShownPart shownPart_ = nullptr;
    bool repaintPending_ = false;
};

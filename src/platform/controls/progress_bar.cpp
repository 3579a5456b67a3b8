#include "platform/controls/progress_bar.h"

namespace {
// No bar is wide enough to show more; the rest stays in the text.
constexpr qsizetype kMaxPaintedChars = 512;

// Assigning a QString costs two atomic operations; most calls hand over the same text again.
void share(QString& kept, const QString& given) {
    if (kept.constData() != given.constData() || kept.size() != given.size()) {
        kept = given;
    }
}
}  // namespace

ProgressBar::ProgressBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}

void ProgressBar::setBarText(const QString& text) {
    prefix_ = text;
    source_ = QString();
    offset_ = length_ = 0;
    textChanged();
}

void ProgressBar::setBarText(const QString& prefix, const QString& source, qsizetype offset,
                             qsizetype length) {
    share(prefix_, prefix);
    share(source_, source);
    offset_ = offset;
    length_ = length;
    textChanged();
}

void ProgressBar::textChanged() {
    if (!repaintPending_) {
        repaintPending_ = true;
        update();
    }
}

QString ProgressBar::composed(qsizetype maxLength) const {
    QString text = prefix_.left(maxLength);
    text += QStringView(source_).mid(offset_, std::min(length_, maxLength - text.size()));
    return text;
}

QString ProgressBar::barText() const {
    return composed(prefix_.size() + length_);
}

QString ProgressBar::text() const {
    return composed(kMaxPaintedChars);
}

void ProgressBar::paintEvent(QPaintEvent* event) {
    repaintPending_ = false;
    QProgressBar::paintEvent(event);
}

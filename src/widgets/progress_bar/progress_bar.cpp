#include "widgets/progress_bar/progress_bar.h"

namespace {
// No bar is wide enough to show more; the rest stays in the text.
constexpr qsizetype kMaxPaintedChars = 512;
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
    shownPart_ = nullptr;
    textChanged();
}

void ProgressBar::textChanged() {
    if (!repaintPending_) {
        repaintPending_ = true;
        update();
    }
}

QString ProgressBar::composed(qsizetype maxLength) const {
    QStringView shown = QStringView(source_).mid(offset_, length_);
    if (shownPart_ != nullptr) {
        shown = shownPart_(shown);
    }
    QString text = prefix_.left(maxLength);
    text += shown.first(std::min(shown.size(), maxLength - text.size()));
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

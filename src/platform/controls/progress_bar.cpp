#include "platform/controls/progress_bar.h"

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
    text_ = text;
    textChanged();
}

void ProgressBar::setBarText(QStringView prefix, QStringView rest) {
    const qsizetype size = prefix.size() + rest.size();
    text_.resize(size);  // keeps the buffer when it is large enough
    QChar* out = text_.data();
    std::copy(prefix.begin(), prefix.end(), out);
    std::copy(rest.begin(), rest.end(), out + prefix.size());
    textChanged();
}

void ProgressBar::textChanged() {
    if (!repaintPending_) {
        repaintPending_ = true;
        update();
    }
}

QString ProgressBar::text() const {
    if (text_.size() > kMaxPaintedChars) {
        return text_.first(kMaxPaintedChars);
    }
    return text_;
}

void ProgressBar::paintEvent(QPaintEvent* event) {
    repaintPending_ = false;
    QProgressBar::paintEvent(event);
}

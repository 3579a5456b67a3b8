#include "output/text_builder.h"

#include <algorithm>
#include <cstring>

TextBuilder::TextBuilder(qsizetype expectedSize) {
    text_.resize(std::max<qsizetype>(expectedSize, 16));
    data_ = text_.data();
}

void TextBuilder::grow(qsizetype needed) {
    text_.resize(std::max(needed, text_.size() * 2));
    data_ = text_.data();
}

void TextBuilder::append(QStringView text) {
    const qsizetype n = text.size();
    ensureRoom(n);
    const QChar* from = text.data();
    QChar* to = data_ + used_;
    // Most cells are a few characters long; a plain loop beats a library call there.
    if (n <= 16) {
        for (qsizetype i = 0; i < n; ++i) {
            to[i] = from[i];
        }
    } else {
        std::memcpy(static_cast<void*>(to), from, static_cast<size_t>(n) * sizeof(QChar));
    }
    used_ += n;
}

void TextBuilder::appendRepeated(QChar c, qsizetype count) {
    ensureRoom(count);
    std::fill_n(data_ + used_, count, c);
    used_ += count;
}

void TextBuilder::chopSpacesAfter(qsizetype from) {
    while (used_ > from && data_[used_ - 1] == QLatin1Char(' ')) {
        --used_;
    }
}

QString TextBuilder::take() {
    text_.truncate(used_);
    // Space left over by a generous guess is handed back rather than kept with the text.
    if (text_.capacity() - used_ > used_ / 8 + 1024) {
        text_.squeeze();
    }
    data_ = nullptr;
    used_ = 0;
    return std::move(text_);
}

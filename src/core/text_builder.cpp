#include "core/text_builder.h"

#include "core/memory_pages.h"

#include <algorithm>
#include <cstring>

namespace {
void preferHugePages(QString& text) {
    PreferHugePages(text.data(), static_cast<std::size_t>(text.capacity()) * sizeof(QChar));
}
}  // namespace

TextBuilder::TextBuilder(qsizetype expectedSize) {
    text_.resize(std::max<qsizetype>(expectedSize, 16));
    preferHugePages(text_);
    data_ = text_.data();
}

void TextBuilder::grow(qsizetype needed) {
    text_.resize(std::max(needed, text_.size() * 2));
    preferHugePages(text_);
    data_ = text_.data();
}

void TextBuilder::appendLong(QStringView text) {
    std::memcpy(static_cast<void*>(data_ + used_), text.data(),
                static_cast<size_t>(text.size()) * sizeof(QChar));
    used_ += text.size();
}

void TextBuilder::appendRepeated(QChar c, qsizetype count) {
    ensureRoom(count);
    std::fill_n(data_ + used_, count, c);
    used_ += count;
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

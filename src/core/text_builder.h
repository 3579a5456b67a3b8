#pragma once

#include <QString>
#include <QStringView>

#include <cstring>

// Builds a long text piece by piece in one buffer, writing through a pointer: millions of
// short appends cost what copying their characters costs. The buffer grows by doubling when
// a guess of the final size was too small, so building stays linear in the text's size.
class TextBuilder {
  public:
    explicit TextBuilder(qsizetype expectedSize);

    qsizetype size() const { return used_; }
    void append(QStringView text) {
        const qsizetype n = text.size();
        ensureRoom(n);
        if (n > 16) {
            appendLong(text);
            return;
        }
        // Most cells are a few characters long: two overlapping copies of the first and the
        // last 8 (or 4, or 2) characters cover any length up to 16 without a loop.
        const char* from = reinterpret_cast<const char*>(text.data());
        char* to = reinterpret_cast<char*>(data_ + used_);
        const size_t bytes = static_cast<size_t>(n) * sizeof(QChar);
        if (bytes >= 16) {
            std::memcpy(to, from, 16);
            std::memcpy(to + bytes - 16, from + bytes - 16, 16);
        } else if (bytes >= 8) {
            std::memcpy(to, from, 8);
            std::memcpy(to + bytes - 8, from + bytes - 8, 8);
        } else if (bytes >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + bytes - 4, from + bytes - 4, 4);
        } else if (bytes == 2) {
            std::memcpy(to, from, 2);
        }
        used_ += n;
    }

    void appendRepeated(QChar c, qsizetype count);
    void append(QChar c) {
        ensureRoom(1);
        data_[used_++] = c;
    }
    void appendLineEnd() {
        ensureRoom(2);
        data_[used_++] = QLatin1Char('\r');
        data_[used_++] = QLatin1Char('\n');
    }
    // Removes the spaces at the end, but none before `from`.
    void chopSpacesAfter(qsizetype from) {
        while (used_ > from && data_[used_ - 1] == QLatin1Char(' ')) {
            --used_;
        }
    }

    QString take();

  private:
    void ensureRoom(qsizetype more) {
        if (used_ + more > text_.size()) {
            grow(used_ + more);
        }
    }
    void grow(qsizetype needed);
    void appendLong(QStringView text);

    QString text_;
    QChar* data_ = nullptr;
    qsizetype used_ = 0;
};

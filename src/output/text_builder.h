#pragma once

#include <QString>
#include <QStringView>

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
        // Most cells are a few characters long; a plain loop beats a library call there.
        const QChar* from = text.data();
        QChar* to = data_ + used_;
        for (qsizetype i = 0; i < n; ++i) {
            to[i] = from[i];
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

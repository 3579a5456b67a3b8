#pragma once

#include "core/pod_array.h"
#include "core/text_span.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

// The rows of a list, stored compactly: every row is a span of a shared source text, so a
// split line costs 8 bytes a row and the line itself once. Rows are 0-based here.
//
// Rows are kept in blocks of at most kBlockRows. Removing a row moves only the rows after it
// in its own block, and a running count over the blocks (a Fenwick tree) finds a row's block
// and follows a removal in log time, so both stay fast at hundreds of millions of rows.
// Blocks are shared between copies of a store and copied only when one of the copies changes
// them: a copy (an earlier state kept to go back to, or a worker's own) costs a pointer a
// block, and a change to one copy never shows in another.
class RowStore {
  public:
    RowStore() = default;
    RowStore(const RowStore& other);
    RowStore& operator=(const RowStore& other);
    RowStore(RowStore&& other) noexcept;
    RowStore& operator=(RowStore&& other) noexcept;
    ~RowStore();

    qsizetype size() const { return size_; }
    bool empty() const { return size_ == 0; }

    QStringView view(qsizetype row) const {
        const Block& block = blockOf(row);
        const PackedSpan span = block.spans[row - hintFirstRow_];
        return QStringView(block.source.constData() + block.base + span.offset, span.length);
    }
    QString text(qsizetype row) const { return view(row).toString(); }

    qsizetype length(qsizetype row) const { return blockOf(row).spans[row - hintFirstRow_].length; }
    qsizetype totalLength() const { return totalLength_; }  // of all rows together

    // The shared text a row is a span of, and where in it the row stands: lets a reader work
    // on a row without copying it.
    const QString& source(qsizetype row, TextSpan& span) const {
        const Block& block = blockOf(row);
        const PackedSpan packed = block.spans[row - hintFirstRow_];
        span = TextSpan{block.base + packed.offset, packed.length};
        return block.source;
    }

    // Appends a text of its own. A short one is copied into a block of text that later short
    // texts share: a source per row would cost more than the text, and a list of many typed
    // rows is then read as fast as one loaded from a file.
    void append(const QString& text);
    // Appends a span of `source`; consecutive spans of the same source share one copy of it.
    void appendSpan(const QString& source, TextSpan span) {
        Block* last = writableLast_;
        if (last != nullptr && fits(*last, source, span)) {
            last->spans.push_back({static_cast<quint32>(span.offset - last->base), span.length});
            ++size_;
            totalLength_ += span.length;
            return;
        }
        appendSpanInNewBlock(source, span);
    }
    void reserveMore(qsizetype rows);

    void remove(qsizetype row);
    void clear();

    static constexpr qsizetype kBlockRows = 8192;

  private:
    // A row's place in its block's source, relative to the block's base: 8 bytes a row.
    struct PackedSpan {
        quint32 offset;
        quint32 length;
    };
    struct Block {
        QString source;
        qint64 base = 0;
        bool copiedTexts = false;  // source is a block of copied texts, growing at its end
        PodArray<PackedSpan> spans;
    };
    static constexpr qint64 kMaxOffsetInBlock = 0xffffffff;

    static bool fits(const Block& block, const QString& source, TextSpan span) {
        // Same buffer means same shared text: no need to compare contents.
        return block.source.constData() == source.constData() &&
               block.source.size() == source.size() && block.spans.size() < kBlockRows &&
               span.offset >= block.base && span.offset - block.base <= kMaxOffsetInBlock;
    }

    // The block that holds `row`; afterwards hintFirstRow_ is the first row of that block.
    const Block& blockOf(qsizetype row) const {
        if (row - hintFirstRow_ >= hintRows_ || row < hintFirstRow_) {
            findBlock(row);
        }
        return *blocks_[hintBlock_];
    }
    void findBlock(qsizetype row) const;
    void forgetHint() const { hintRows_ = 0; }

    void appendSpanInNewBlock(const QString& source, TextSpan span);
    // Makes a new last block; the block before it joins the running count.
    Block& startBlock(QString source, qint64 base, bool copiedTexts);
    // The block at `index`, copied first when another store shares it.
    Block& ownBlock(size_t index);

    // The running count of rows over all blocks but the last (which changes with every
    // append): tree_[i] sums a power-of-two stretch of blocks ending at block i - 1.
    void addToCount(size_t blockIndex, qsizetype delta);
    void countClosedBlock(size_t blockIndex);

    std::vector<std::shared_ptr<Block>> blocks_;
    std::vector<qsizetype> tree_{0};  // 1-based; tree_[0] unused
    qsizetype size_ = 0;
    qsizetype totalLength_ = 0;
    qsizetype nextTextCapacity_ = kFirstTextCapacity;
    // The last block while no other store shares it: appends go straight into it.
    mutable Block* writableLast_ = nullptr;

    // The block of the last look-up: rows are mostly read in order.
    mutable size_t hintBlock_ = 0;
    mutable qsizetype hintFirstRow_ = 0;
    mutable qsizetype hintRows_ = 0;

    static constexpr qsizetype kMaxCopiedLength = 4096;
    static constexpr qsizetype kFirstTextCapacity = 4096;
    static constexpr qsizetype kMaxTextCapacity = 1 << 16;
};

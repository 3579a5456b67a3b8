#pragma once

#include "core/pod_array.h"
#include "core/row_number.h"
#include "core/text_span.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <memory>
#include <utility>
#include <vector>

// The rows of a list, stored compactly: every row is a span of a shared source text, so a
// split line costs 8 bytes a row and the line itself once. Rows are RowIndex, from 0.
//
// Rows are kept in blocks of at most kBlockRows. Removing a row moves only the rows after it
// in its own block, and a running count over the blocks (a Fenwick tree) finds a row's block
// and follows a removal in log time, so both stay fast at hundreds of millions of rows.
// Blocks are shared between copies of a store and copied only when one of the copies changes
// them: a copy (an earlier state kept to go back to, or a worker's own) costs a pointer a
// block, and a change to one copy never shows in another.
//
// A block names the source of all its rows; a block whose rows come from many sources in no
// order (a sorted list of results from many lines) names one per row, for 4 more bytes a row.
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

    QStringView view(RowIndex row) const {
        const Block& block = blockOf(row);
        const qsizetype at = row - hintFirstRow_;
        const Source& source = sourceOf(block, at);
        const PackedSpan span = block.spans[at];
        return QStringView(source.text.constData() + source.base + span.offset, span.length);
    }
    QString text(RowIndex row) const { return view(row).toString(); }
    // Asks the memory for a row's place ahead of its view(), where rows are read far apart:
    // the waits of many rows then overlap.
    void prefetch(RowIndex row) const {
        const Block& block = blockOf(row);
        __builtin_prefetch(&block.spans[row - hintFirstRow_]);
    }

    qsizetype length(RowIndex row) const { return blockOf(row).spans[row - hintFirstRow_].length; }
    qsizetype totalLength() const { return totalLength_; }  // of all rows together

    // The shared text a row is a span of, and where in it the row stands: lets a reader work
    // on a row without copying it.
    const QString& source(RowIndex row, TextSpan& span) const {
        const Block& block = blockOf(row);
        const qsizetype at = row - hintFirstRow_;
        const Source& source = sourceOf(block, at);
        const PackedSpan packed = block.spans[at];
        span = TextSpan{source.base + packed.offset, packed.length};
        return source.text;
    }

    // Appends a text of its own. A short one is copied into a block of text that later short
    // texts share: a source per row would cost more than the text, and a list of many typed
    // rows is then read as fast as one loaded from a file.
    void append(const QString& text);
    // Appends a span of `source`; spans of the same source share one copy of it.
    void appendSpan(const QString& source, TextSpan span) {
        // Same buffer means same shared text: no need to compare contents.
        if (source.constData() == appendData_ && span.offset >= appendBase_ &&
            span.offset - appendBase_ <= kMaxOffsetInSource &&
            writableLast_->spans.size() < kBlockRows) {
            writableLast_->spans.push_back(
                {static_cast<quint32>(span.offset - appendBase_), span.length});
            ++size_;
            totalLength_ += span.length;
            return;
        }
        appendSpanSlowly(source, span);
    }
    void reserveMore(qsizetype rows);
    // Appends all the rows of `other`, which is left empty, taking its blocks over rather than
    // copying its rows: what it costs is a look-up of each of its sources.
    void appendAll(RowStore&& other);

    // Calls `visit(block, rows)` for each block of rows, by identity: copies of a store share
    // blocks until they change them, so what a copy costs beyond another is the rows of the
    // blocks only it holds.
    template <typename Visit>
    void forEachBlock(Visit&& visit) const {
        for (const std::shared_ptr<Block>& block : blocks_) {
            visit(static_cast<const void*>(block.get()), qsizetype(block->spans.size()));
        }
    }

    void remove(RowIndex row);
    void clear();

    static constexpr qsizetype kBlockRows = 8192;

  private:
    // A row's place in its source, from the source's base: 8 bytes a row.
    struct PackedSpan {
        quint32 offset;
        quint32 length;
    };
    // A text rows are spans of. A text of more than 4 G characters is a source per 4 G
    // window of it, so that a row's offset always fits in 32 bits.
    struct Source {
        QString text;
        qint64 base = 0;
    };
    struct Sources {
        std::vector<Source> list;
        // Sources by buffer and window; a text copied into by `append` is never looked up.
        QHash<std::pair<const QChar*, qint64>, quint32> index;
    };
    struct Block {
        quint32 source = 0;            // of every row, while rowSources is empty
        PodArray<quint32> rowSources;  // of each row, in a block of many sources
        PodArray<PackedSpan> spans;
    };
    static constexpr qint64 kMaxOffsetInSource = 0xffffffff;
    // A block that already holds this many rows of one source starts a new block when the
    // source changes, rather than naming a source per row.
    static constexpr qsizetype kRowsOfOneSource = 1024;

    const Source& sourceOf(const Block& block, qsizetype at) const {
        return sourceList()[block.rowSources.empty() ? block.source : block.rowSources[at]];
    }
    const Source* sourceList() const { return sources_->list.data(); }

    // The block that holds `row`; afterwards hintFirstRow_ is the first row of that block.
    const Block& blockOf(RowIndex row) const {
        if (row - hintFirstRow_ >= hintRows_ || row < hintFirstRow_) {
            findBlock(row);
        }
        return *blocks_[hintBlock_];
    }
    void findBlock(RowIndex row) const;
    void forgetHint() const { hintRows_ = 0; }

    void appendSpanSlowly(const QString& source, TextSpan span);
    // Appends a row of source `source` at `offset` from its base.
    void appendRow(quint32 source, quint32 offset, quint32 length);
    // The source for spans of `text` at `offset`, added when new.
    quint32 sourceFor(const QString& text, qint64 offset);
    Sources& ownSources();
    // Makes a new last block; the block before it joins the running count.
    Block& startBlock(quint32 source);
    // The block at `index`, copied first when another store shares it.
    Block& ownBlock(size_t index);
    void setWritableLast(Block* block) const;

    // The running count of rows over all blocks but the last (which changes with every
    // append): tree_[i] sums a power-of-two stretch of blocks ending at block i - 1.
    void addToCount(size_t blockIndex, qsizetype delta);
    void countClosedBlock(size_t blockIndex);

    std::vector<std::shared_ptr<Block>> blocks_;
    std::shared_ptr<Sources> sources_;  // shared with copies; copied before it changes
    std::vector<qsizetype> tree_{0};    // 1-based; tree_[0] unused
    // While no block but the last is short (a list only ever appended to, the usual case), a
    // row's block is a division away: rows read in no order skip the walk down the count.
    bool everyClosedBlockFull_ = true;
    qsizetype size_ = 0;
    qsizetype totalLength_ = 0;
    qsizetype nextTextCapacity_ = kFirstTextCapacity;
    qint64 growingText_ = -1;  // the source short texts are copied into, while it may grow
    // The last block while no other store shares it, and the source of all its rows: appends
    // of spans of that source go straight into it.
    mutable Block* writableLast_ = nullptr;
    mutable const QChar* appendData_ = nullptr;
    mutable qint64 appendBase_ = 0;

    // The block of the last look-up: rows are mostly read in order.
    mutable size_t hintBlock_ = 0;
    mutable RowIndex hintFirstRow_{0};
    mutable qsizetype hintRows_ = 0;

    static constexpr qsizetype kMaxCopiedLength = 4096;
    static constexpr qsizetype kFirstTextCapacity = 4096;
    static constexpr qsizetype kMaxTextCapacity = 1 << 16;
};

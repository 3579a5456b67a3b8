#include "core/row_store.h"

#include <algorithm>
#include <bit>
#include <utility>

RowStore::RowStore(const RowStore& other)
    : blocks_(other.blocks_),
      sources_(other.sources_),
      tree_(other.tree_),
      everyClosedBlockFull_(other.everyClosedBlockFull_),
      size_(other.size_),
      totalLength_(other.totalLength_),
      nextTextCapacity_(other.nextTextCapacity_),
      growingText_(other.growingText_) {
    // Both now share the last block and the sources: the next append to either copies
    // what it changes first.
    other.setWritableLast(nullptr);
}

RowStore& RowStore::operator=(const RowStore& other) {
    if (this != &other) {
        RowStore copy(other);
        *this = std::move(copy);
    }
    return *this;
}

RowStore::RowStore(RowStore&& other) noexcept {
    *this = std::move(other);
}

RowStore& RowStore::operator=(RowStore&& other) noexcept {
    if (this != &other) {
        blocks_ = std::exchange(other.blocks_, {});
        sources_ = std::exchange(other.sources_, {});
        tree_ = std::exchange(other.tree_, {0});
        everyClosedBlockFull_ = std::exchange(other.everyClosedBlockFull_, true);
        size_ = std::exchange(other.size_, 0);
        totalLength_ = std::exchange(other.totalLength_, 0);
        nextTextCapacity_ = std::exchange(other.nextTextCapacity_, kFirstTextCapacity);
        growingText_ = std::exchange(other.growingText_, -1);
        writableLast_ = other.writableLast_;
        appendData_ = other.appendData_;
        appendBase_ = other.appendBase_;
        other.setWritableLast(nullptr);
        other.forgetHint();
        forgetHint();
    }
    return *this;
}

RowStore::~RowStore() = default;

void RowStore::findBlock(RowIndex row) const {
    const size_t last = blocks_.size() - 1;
    // Reading in order: the next block, unless it is one emptied by removals. The hinted block
    // may have grown since it was hinted, while it was the last one: its rows are counted now.
    if (hintRows_ > 0 && hintBlock_ < last &&
        row == hintFirstRow_ + blocks_[hintBlock_]->spans.size() &&
        !blocks_[hintBlock_ + 1]->spans.empty()) {
        hintFirstRow_ = row;
        hintRows_ = blocks_[++hintBlock_]->spans.size();
        return;
    }
    const qsizetype rowsBeforeLast = size_ - blocks_[last]->spans.size();
    if (row >= RowIndex(rowsBeforeLast)) {
        hintBlock_ = last;
        hintFirstRow_ = RowIndex(rowsBeforeLast);
        hintRows_ = blocks_[last]->spans.size();
        return;
    }
    if (everyClosedBlockFull_) {
        hintBlock_ = static_cast<size_t>(row.get() / kBlockRows);
        hintFirstRow_ = RowIndex(row.get() - row.get() % kBlockRows);
        hintRows_ = kBlockRows;
        return;
    }
    // The last block whose rows before it are at most `row`; emptied blocks are passed over.
    size_t found = 0;
    qsizetype rest = row.get();
    for (size_t step = std::bit_floor(last); step > 0; step >>= 1) {
        if (found + step <= last && tree_[found + step] <= rest) {
            found += step;
            rest -= tree_[found];
        }
    }
    hintBlock_ = found;
    hintFirstRow_ = row - rest;
    hintRows_ = blocks_[found]->spans.size();
}

void RowStore::addToCount(size_t blockIndex, qsizetype delta) {
    for (size_t node = blockIndex + 1; node < tree_.size(); node += node & (~node + 1)) {
        tree_[node] += delta;
    }
}

void RowStore::countClosedBlock(size_t blockIndex) {
    // Node k sums the blocks from k - lowbit(k) + 1 to k: this block's rows and the nodes
    // that already sum the ones before it in that stretch.
    const size_t node = blockIndex + 1;
    qsizetype sum = blocks_[blockIndex]->spans.size();
    everyClosedBlockFull_ = everyClosedBlockFull_ && sum == kBlockRows;
    for (size_t child = node - 1; child > node - (node & (~node + 1));
         child -= child & (~child + 1)) {
        sum += tree_[child];
    }
    tree_.push_back(sum);
}

void RowStore::setWritableLast(Block* block) const {
    writableLast_ = block;
    // Appends of spans take the quick way only into a block of one source.
    if (block != nullptr && block->rowSources.empty()) {
        const Source& source = sourceList()[block->source];
        appendData_ = source.text.constData();
        appendBase_ = source.base;
    } else {
        appendData_ = nullptr;
        appendBase_ = 0;
    }
}

RowStore::Sources& RowStore::ownSources() {
    if (!sources_) {
        sources_ = std::make_shared<Sources>();
    } else if (sources_.use_count() > 1) {
        sources_ = std::make_shared<Sources>(*sources_);
        // The copy shares the texts, so the one short texts went into can no longer grow.
        growingText_ = -1;
    }
    return *sources_;
}

quint32 RowStore::sourceFor(const QString& text, qint64 offset) {
    const qint64 window = offset >> 32;
    const std::pair key{text.constData(), window};
    if (sources_) {
        if (const auto known = sources_->index.constFind(key); known != sources_->index.cend()) {
            return known.value();
        }
    }
    Sources& sources = ownSources();
    const auto added = static_cast<quint32>(sources.list.size());
    sources.list.push_back({text, window << 32});
    sources.index.insert(key, added);
    return added;
}

RowStore::Block& RowStore::startBlock(quint32 source) {
    auto block = std::make_shared<Block>();
    block->source = source;
    if (!blocks_.empty() && blocks_.back()->spans.empty()) {
        blocks_.back() = std::move(block);  // an emptied last block is not worth keeping
    } else {
        // Room first, so that a failure leaves the blocks and their count as they were.
        if (blocks_.size() == blocks_.capacity()) {
            blocks_.reserve(blocks_.size() * 2 + 16);
        }
        if (tree_.size() == tree_.capacity()) {
            tree_.reserve(tree_.size() * 2 + 16);
        }
        if (!blocks_.empty()) {
            countClosedBlock(blocks_.size() - 1);
        }
        blocks_.push_back(std::move(block));
    }
    setWritableLast(blocks_.back().get());
    return *writableLast_;
}

RowStore::Block& RowStore::ownBlock(size_t index) {
    std::shared_ptr<Block>& block = blocks_[index];
    if (block.use_count() > 1) {
        auto copy = std::make_shared<Block>();
        copy->source = block->source;
        copy->rowSources.assign(block->rowSources);
        copy->spans.assign(block->spans);
        block = std::move(copy);
    }
    if (index + 1 == blocks_.size()) {
        setWritableLast(block.get());
    }
    return *block;
}

void RowStore::appendRow(quint32 source, quint32 offset, quint32 length) {
    Block* block = blocks_.empty() ? nullptr : blocks_.back().get();
    if (block != nullptr && block->spans.size() < kBlockRows) {
        const bool sameSource = block->rowSources.empty() && block->source == source;
        const bool mixes = !block->rowSources.empty() || block->spans.size() < kRowsOfOneSource;
        if (sameSource || mixes) {
            block = &ownBlock(blocks_.size() - 1);
            if (!sameSource && block->rowSources.empty()) {
                // From now on each row names its source.
                block->rowSources.reserve(block->spans.size() + 1);
                for (qsizetype row = 0; row < block->spans.size(); ++row) {
                    block->rowSources.push_back(block->source);
                }
                setWritableLast(block);
            }
        } else {
            block = &startBlock(source);
        }
    } else {
        block = &startBlock(source);
    }
    if (!block->rowSources.empty() || block->source != source) {
        block->rowSources.push_back(source);
    }
    block->spans.push_back({offset, length});
    ++size_;
    totalLength_ += length;
}

void RowStore::appendSpanSlowly(const QString& text, TextSpan span) {
    const quint32 source = sourceFor(text, span.offset);
    appendRow(source, static_cast<quint32>(span.offset - sourceList()[source].base), span.length);
}

void RowStore::append(const QString& text) {
    const auto length = static_cast<quint32>(text.size());
    if (text.size() > kMaxCopiedLength) {
        appendSpanSlowly(text, {0, length});
        return;
    }
    // A block of text grows only in place, within the room it was made with, and only while
    // no one else holds a share of it: its text never moves and never changes under a reader.
    Source* growing = nullptr;
    if (growingText_ >= 0 && sources_.use_count() == 1) {
        growing = &sources_->list[static_cast<size_t>(growingText_)];
        if (!growing->text.isDetached() ||
            growing->text.capacity() - growing->text.size() < text.size()) {
            growing = nullptr;
        }
    }
    if (growing == nullptr) {
        QString textBlock;
        textBlock.reserve(std::max(nextTextCapacity_, text.size()));
        nextTextCapacity_ = std::min(nextTextCapacity_ * 2, kMaxTextCapacity);
        Sources& sources = ownSources();
        sources.list.push_back({std::move(textBlock), 0});
        growingText_ = static_cast<qint64>(sources.list.size()) - 1;
        growing = &sources.list.back();
    }
    const auto offset = static_cast<quint32>(growing->text.size());
    growing->text.append(text);
    appendRow(static_cast<quint32>(growingText_), offset, length);
}

void RowStore::reserveMore(qsizetype rows) {
    const size_t blocks = blocks_.size() + static_cast<size_t>(rows / kBlockRows) + 1;
    blocks_.reserve(blocks);
    tree_.reserve(blocks + 1);
}

void RowStore::appendAll(RowStore&& other) {
    if (other.empty() || this == &other) {
        return;
    }
    if (empty()) {
        *this = std::move(other);
        return;
    }
    // Everything that can fail first, so that a failure leaves both stores as they were.
    std::vector<quint32> sourceHere;
    sourceHere.reserve(other.sources_->list.size());
    for (const Source& source : other.sources_->list) {
        sourceHere.push_back(sourceFor(source.text, source.base));
    }
    std::vector<std::shared_ptr<Block>> taken;
    taken.reserve(other.blocks_.size());
    for (const std::shared_ptr<Block>& block : other.blocks_) {
        if (block.use_count() > 1) {
            // Another store reads it: its sources must not change under that store.
            auto copy = std::make_shared<Block>();
            copy->source = block->source;
            copy->rowSources.assign(block->rowSources);
            copy->spans.assign(block->spans);
            taken.push_back(std::move(copy));
        } else {
            taken.push_back(block);
        }
    }
    const bool lastIsEmpty = blocks_.back()->spans.empty();
    blocks_.reserve(blocks_.size() + taken.size());
    tree_.reserve(tree_.size() + taken.size() + 1);

    if (lastIsEmpty) {
        // An emptied last block is not worth keeping; the one before it, counted as closed,
        // is the last again until the blocks taken over close it.
        blocks_.pop_back();
        tree_.pop_back();
    }
    for (std::shared_ptr<Block>& block : taken) {
        block->source = sourceHere[block->source];
        for (qsizetype at = 0; at < block->rowSources.size(); ++at) {
            block->rowSources[at] = sourceHere[block->rowSources[at]];
        }
        if (!blocks_.empty()) {
            countClosedBlock(blocks_.size() - 1);
        }
        blocks_.push_back(std::move(block));
    }
    size_ += other.size_;
    totalLength_ += other.totalLength_;
    other.clear();
    forgetHint();
    setWritableLast(blocks_.back().use_count() == 1 ? blocks_.back().get() : nullptr);
}

void RowStore::remove(RowIndex row) {
    blockOf(row);
    const size_t index = hintBlock_;
    const qsizetype inBlock = row - hintFirstRow_;
    forgetHint();
    Block& block = ownBlock(index);
    totalLength_ -= block.spans[inBlock].length;
    block.spans.erase(inBlock);
    if (!block.rowSources.empty()) {
        block.rowSources.erase(inBlock);
    }
    --size_;
    if (index + 1 < blocks_.size()) {
        addToCount(index, -1);
        everyClosedBlockFull_ = false;
    }
    if (block.spans.empty()) {
        // The block stays, empty, in the count; its memory goes.
        block.spans.clear();
        block.rowSources.clear();
        if (index + 1 == blocks_.size()) {
            setWritableLast(&block);
        }
    }
}

void RowStore::clear() {
    *this = RowStore();
}

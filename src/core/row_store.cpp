#include "core/row_store.h"

#include <algorithm>
#include <bit>
#include <utility>

RowStore::RowStore(const RowStore& other)
    : blocks_(other.blocks_),
      tree_(other.tree_),
      size_(other.size_),
      totalLength_(other.totalLength_),
      nextTextCapacity_(other.nextTextCapacity_) {
    // Both now share the last block: the next append to either copies it first.
    other.writableLast_ = nullptr;
}

RowStore& RowStore::operator=(const RowStore& other) {
    if (this != &other) {
        RowStore copy(other);
        *this = std::move(copy);
    }
    return *this;
}

RowStore::RowStore(RowStore&& other) noexcept
    : blocks_(std::move(other.blocks_)),
      tree_(std::move(other.tree_)),
      size_(std::exchange(other.size_, 0)),
      totalLength_(std::exchange(other.totalLength_, 0)),
      nextTextCapacity_(std::exchange(other.nextTextCapacity_, kFirstTextCapacity)),
      writableLast_(std::exchange(other.writableLast_, nullptr)) {
    other.blocks_.clear();
    other.tree_.assign(1, 0);
    other.forgetHint();
}

RowStore& RowStore::operator=(RowStore&& other) noexcept {
    if (this != &other) {
        blocks_ = std::move(other.blocks_);
        tree_ = std::move(other.tree_);
        size_ = std::exchange(other.size_, 0);
        totalLength_ = std::exchange(other.totalLength_, 0);
        nextTextCapacity_ = std::exchange(other.nextTextCapacity_, kFirstTextCapacity);
        writableLast_ = std::exchange(other.writableLast_, nullptr);
        other.blocks_.clear();
        other.tree_.assign(1, 0);
        other.forgetHint();
        forgetHint();
    }
    return *this;
}

RowStore::~RowStore() = default;

void RowStore::findBlock(qsizetype row) const {
    const size_t last = blocks_.size() - 1;
    // Reading in order: the next block, unless it is one emptied by removals.
    if (hintRows_ > 0 && row == hintFirstRow_ + hintRows_ && hintBlock_ < last &&
        !blocks_[hintBlock_ + 1]->spans.empty()) {
        hintFirstRow_ = row;
        hintRows_ = blocks_[++hintBlock_]->spans.size();
        return;
    }
    const qsizetype rowsBeforeLast = size_ - blocks_[last]->spans.size();
    if (row >= rowsBeforeLast) {
        hintBlock_ = last;
        hintFirstRow_ = rowsBeforeLast;
        hintRows_ = blocks_[last]->spans.size();
        return;
    }
    // The last block whose rows before it are at most `row`; emptied blocks are passed over.
    size_t found = 0;
    qsizetype rest = row;
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
    for (size_t child = node - 1; child > node - (node & (~node + 1));
         child -= child & (~child + 1)) {
        sum += tree_[child];
    }
    tree_.push_back(sum);
}

RowStore::Block& RowStore::startBlock(QString source, qint64 base, bool copiedTexts) {
    auto block = std::make_shared<Block>();
    block->source = std::move(source);
    block->base = base;
    block->copiedTexts = copiedTexts;
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
    writableLast_ = blocks_.back().get();
    return *writableLast_;
}

RowStore::Block& RowStore::ownBlock(size_t index) {
    std::shared_ptr<Block>& block = blocks_[index];
    if (block.use_count() > 1) {
        auto copy = std::make_shared<Block>();
        copy->source = block->source;
        copy->base = block->base;
        copy->copiedTexts = block->copiedTexts;
        copy->spans.assign(block->spans);
        block = std::move(copy);
    }
    if (index + 1 == blocks_.size()) {
        writableLast_ = block.get();
    }
    return *block;
}

void RowStore::appendSpanInNewBlock(const QString& source, TextSpan span) {
    Block* block = nullptr;
    if (!blocks_.empty() && fits(*blocks_.back(), source, span)) {
        block = &ownBlock(blocks_.size() - 1);  // it was shared with a copy of this store
    } else {
        block = &startBlock(source, span.offset, false);
    }
    block->spans.push_back({static_cast<quint32>(span.offset - block->base), span.length});
    ++size_;
    totalLength_ += span.length;
}

void RowStore::append(const QString& text) {
    const auto length = static_cast<quint32>(text.size());
    if (text.size() > kMaxCopiedLength) {
        startBlock(text, 0, false).spans.push_back({0, length});
        ++size_;
        totalLength_ += length;
        return;
    }
    // A block of text grows only in place, within the room it was made with, and only while
    // no one else holds a share of it: its text never moves and never changes under a reader.
    Block* last = writableLast_;
    if (last == nullptr || !last->copiedTexts || last->spans.size() >= kBlockRows ||
        !last->source.isDetached() || last->source.capacity() - last->source.size() < text.size()) {
        QString textBlock;
        textBlock.reserve(std::max(nextTextCapacity_, text.size()));
        nextTextCapacity_ = std::min(nextTextCapacity_ * 2, kMaxTextCapacity);
        last = &startBlock(std::move(textBlock), 0, true);
    }
    const auto offset = static_cast<quint32>(last->source.size());
    last->source.append(text);
    last->spans.push_back({offset, length});
    ++size_;
    totalLength_ += length;
}

void RowStore::reserveMore(qsizetype rows) {
    const size_t blocks = blocks_.size() + static_cast<size_t>(rows / kBlockRows) + 1;
    blocks_.reserve(blocks);
    tree_.reserve(blocks + 1);
}

void RowStore::remove(qsizetype row) {
    blockOf(row);
    const size_t index = hintBlock_;
    const qsizetype inBlock = row - hintFirstRow_;
    forgetHint();
    Block& block = ownBlock(index);
    totalLength_ -= block.spans[inBlock].length;
    block.spans.erase(inBlock);
    --size_;
    if (index + 1 < blocks_.size()) {
        addToCount(index, -1);
    }
    if (block.spans.empty()) {
        // Its rows are gone: let its text go too. The block stays, empty, in the count.
        block.spans.clear();
        block.source = QString();
        block.copiedTexts = false;
    }
}

void RowStore::clear() {
    std::vector<std::shared_ptr<Block>>().swap(blocks_);
    tree_.assign(1, 0);
    tree_.shrink_to_fit();
    size_ = 0;
    totalLength_ = 0;
    nextTextCapacity_ = kFirstTextCapacity;
    writableLast_ = nullptr;
    forgetHint();
}

#include "core/row_gatherer.h"

#include <algorithm>
#include <array>

namespace tidy::sorting {

RowGatherer::RowGatherer(qsizetype rows)
    : window_(std::max<qsizetype>(rows / 64, 1 << 12)),
      wanted_(static_cast<size_t>(window_)),
      sorted_(static_cast<size_t>(window_)),
      placed_(static_cast<size_t>(window_)) {
    while ((qsizetype(1) << rowBits_) < rows) {
        ++rowBits_;
    }
}

void RowGatherer::appendTo(RowStore& to, qsizetype size) const {
    for (qsizetype place = 0; place < size; ++place) {
        to.appendSpan(*placed_[place].source, placed_[place].span);
    }
}

void RowGatherer::sortByOldRow(qsizetype size) {
    for (int shift = 0; shift < rowBits_; shift += kDigitBits) {
        std::array<qsizetype, (1 << kDigitBits) + 1> starts{};
        const auto digit = [shift](const Wanted& wanted) {
            return (wanted.oldRow >> shift) & ((1u << kDigitBits) - 1);
        };
        for (qsizetype i = 0; i < size; ++i) {
            ++starts[digit(wanted_[i]) + 1];
        }
        for (size_t d = 1; d < starts.size(); ++d) {
            starts[d] += starts[d - 1];
        }
        for (qsizetype i = 0; i < size; ++i) {
            sorted_[starts[digit(wanted_[i])]++] = wanted_[i];
        }
        wanted_.swap(sorted_);
    }
}

}  // namespace tidy::sorting

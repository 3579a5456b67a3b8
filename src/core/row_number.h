#pragma once

#include <QtGlobal>

#include <compare>
#include <optional>
#include <type_traits>

// Rows are counted two ways, and a row counted one way but read the other is off by one.
// Users, the error reports and the lists' own interface count from 1 (RowNumber); the row store
// and the tidying's row map count from 0 (RowIndex). Neither becomes the other, nor an integer,
// without saying so. How many rows there are stays a plain qsizetype, and a row that may be
// missing (no selection, no row under the mouse, a row an action removed) is an empty
// std::optional, never a number set aside for it.
//
// Each is one qsizetype and nothing else, so the store's loops over hundreds of millions of rows
// pay nothing for it.
template <qsizetype kFirst>
class RowCountedFrom {
  public:
    constexpr explicit RowCountedFrom(qsizetype value) : value_(value) {}

    constexpr qsizetype get() const { return value_; }
    // Whether the row is one of a list of `rows` rows.
    constexpr bool within(qsizetype rows) const {
        return value_ >= kFirst && value_ - kFirst < rows;
    }

    // The same row, counted the other way.
    constexpr RowCountedFrom<0> index() const requires(kFirst == 1) {
        return RowCountedFrom<0>(value_ - 1);
    }
    constexpr RowCountedFrom<1> number() const requires(kFirst == 0) {
        return RowCountedFrom<1>(value_ + 1);
    }

    constexpr auto operator<=>(const RowCountedFrom&) const = default;

    constexpr RowCountedFrom& operator++() {
        ++value_;
        return *this;
    }
    constexpr RowCountedFrom& operator--() {
        --value_;
        return *this;
    }
    constexpr RowCountedFrom operator++(int) { return RowCountedFrom(value_++); }
    constexpr RowCountedFrom operator--(int) { return RowCountedFrom(value_--); }
    constexpr RowCountedFrom& operator+=(qsizetype rows) {
        value_ += rows;
        return *this;
    }
    constexpr RowCountedFrom& operator-=(qsizetype rows) {
        value_ -= rows;
        return *this;
    }
    friend constexpr RowCountedFrom operator+(RowCountedFrom row, qsizetype rows) {
        return row += rows;
    }
    friend constexpr RowCountedFrom operator-(RowCountedFrom row, qsizetype rows) {
        return row -= rows;
    }
    // How many rows `to` lies after `from`.
    friend constexpr qsizetype operator-(RowCountedFrom to, RowCountedFrom from) {
        return to.value_ - from.value_;
    }

  private:
    qsizetype value_;
};

using RowNumber = RowCountedFrom<1>;
using RowIndex = RowCountedFrom<0>;

// A conversion that happens by itself would let the two countings mix again unseen.
static_assert(!std::is_convertible_v<qsizetype, RowNumber>);
static_assert(!std::is_convertible_v<RowNumber, qsizetype>);
static_assert(!std::is_convertible_v<RowNumber, RowIndex>);
static_assert(!std::is_convertible_v<RowIndex, RowNumber>);
static_assert(sizeof(RowIndex) == sizeof(qsizetype) && std::is_trivially_copyable_v<RowIndex>);

// A row that may be missing, counted the other way.
constexpr std::optional<RowIndex> IndexOf(std::optional<RowNumber> row) {
    return row ? std::optional(row->index()) : std::nullopt;
}
constexpr std::optional<RowNumber> NumberOf(std::optional<RowIndex> row) {
    return row ? std::optional(row->number()) : std::nullopt;
}

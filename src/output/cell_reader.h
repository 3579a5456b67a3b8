#pragma once

#include "core/readable_list.h"
#include "core/row_store.h"

#include <QString>
#include <QStringView>

#include <optional>

// Reads rows' text for the output loops. A list that keeps its rows in a RowStore hands out
// their text without a copy; any other list is read through text(), into a buffer that is
// reused from row to row. A view is valid until the next read. Reading a row that does not
// exist is a Failure, as it is for the list itself.
class CellReader {
  public:
    explicit CellReader(const ReadableList& list) : list_(list), rows_(list.storedRows()) {}

    QStringView read(RowNumber row) {
        if (rows_ != nullptr) {
            checkRow(row);
            return rows_->view(row.index());
        }
        copy_ = list_.text(row);
        return copy_;
    }

    qsizetype length(RowNumber row) {
        if (rows_ != nullptr) {
            checkRow(row);
            return rows_->length(row.index());
        }
        return read(row).size();
    }

    // The length of all rows together, when the list can tell it without a pass.
    std::optional<qsizetype> totalLength() const {
        if (rows_ == nullptr) {
            return std::nullopt;
        }
        return rows_->totalLength();
    }

  private:
    void checkRow(RowNumber row) const {
        if (!row.within(rows_->size())) {
            ThrowIndexOutOfBounds();
        }
    }

    const ReadableList& list_;
    const RowStore* rows_;
    QString copy_;
};

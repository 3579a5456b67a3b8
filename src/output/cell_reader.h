#pragma once

#include "platform/list/readable_list.h"
#include "platform/list/report_list.h"

#include <QString>
#include <QStringView>

#include <optional>

// Reads cells for the output loops. A results list hands out its rows' text without a copy;
// any other list is read through cellText, into a buffer that is reused from cell to cell.
// A view is valid until the next read.
class CellReader {
  public:
    explicit CellReader(const ReadableList& list);

    QStringView read(qsizetype row, int column) {
        if (reportList_ != nullptr && column == 1) {
            return reportList_->textView(row);
        }
        copy_ = list_.cellText(row, column);
        return copy_;
    }

    qsizetype length(qsizetype row, int column) {
        if (reportList_ != nullptr && column == 1) {
            return reportList_->textLength(row);
        }
        return read(row, column).size();
    }

    // The length of all of column 1 together, when the list can tell it without a pass.
    std::optional<qsizetype> totalLengthOfFirstColumn() const {
        if (reportList_ == nullptr) {
            return std::nullopt;
        }
        return reportList_->totalTextLength();
    }

  private:
    const ReadableList& list_;
    const ReportList* reportList_;
    QString copy_;
};

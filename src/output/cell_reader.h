#pragma once

#include "platform/list/readable_list.h"
#include "platform/list/report_list.h"

#include <QString>
#include <QStringView>

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

  private:
    const ReadableList& list_;
    const ReportList* reportList_;
    QString copy_;
};

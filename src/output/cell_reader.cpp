#include "output/cell_reader.h"

#include "platform/list/report_list.h"

CellReader::CellReader(const ReadableList& list)
    : list_(list), reportList_(dynamic_cast<const ReportList*>(&list)) {}

QStringView CellReader::read(qsizetype row, int column) {
    if (reportList_ != nullptr && column == 1) {
        return reportList_->textView(row);
    }
    copy_ = list_.cellText(row, column);
    return copy_;
}

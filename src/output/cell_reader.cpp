#include "output/cell_reader.h"

#include "platform/list/report_list.h"

CellReader::CellReader(const ReadableList& list)
    : list_(list), reportList_(dynamic_cast<const ReportList*>(&list)) {}

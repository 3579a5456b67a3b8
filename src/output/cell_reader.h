#pragma once

#include "platform/list/readable_list.h"

#include <QString>
#include <QStringView>

class ReportList;

// Reads cells for the output loops. A results list hands out its rows' text without a copy;
// any other list is read through cellText, into a buffer that is reused from cell to cell.
// A view is valid until the next read.
class CellReader {
  public:
    explicit CellReader(const ReadableList& list);

    QStringView read(qsizetype row, int column);

  private:
    const ReadableList& list_;
    const ReportList* reportList_;
    QString copy_;
};

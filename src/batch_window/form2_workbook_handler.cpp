// "Save Results As Excel File" of the batch window.
#include "batch_window/form2.h"

#include "output/workbook_export.h"
#include "platform/list/report_list.h"

void Form2::PushButton13_Click() {
    SaveResultsAsExcelFile(platform_, *ListView2, mousePointer());
}

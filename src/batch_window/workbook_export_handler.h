#pragma once

class ReadableList;
class WindowMousePointer;
struct Platform;

// "Save Results As Excel File": a header row, then one sheet row per list row that counts as
// checked, in a new workbook that the spreadsheet program shows unsaved. A guarded handler of the
// batch window; `pointer` is the window's, set to the hourglass meanwhile. It takes any readable
// list, so lists of several columns and with check boxes are handled (and tested) as well.
void SaveListAsWorkbook(Platform& platform, const ReadableList& results,
                        WindowMousePointer& pointer);

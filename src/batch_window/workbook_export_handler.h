#pragma once

class ReadableList;
class WindowMousePointer;
struct Platform;

// "Save Results As Excel File": a header row, then one sheet row per list row, in a new workbook
// that the spreadsheet program shows unsaved. A guarded handler of the batch window; `pointer`
// is the window's, set to the hourglass meanwhile. It takes any readable list, so that it can be
// tested without a window.
void SaveListAsWorkbook(Platform& platform, const ReadableList& results,
                        WindowMousePointer& pointer);

#pragma once

#include <QString>

#include <functional>
#include <memory>

// A spreadsheet program driven like an automation object: cells are addressed on the active
// sheet of one new workbook, 1-based. Every call may throw Failure. Nothing here knows of files:
// how a back-end hands the workbook to the spreadsheet program is its own business.
class SpreadsheetWorkbook {
  public:
    virtual ~SpreadsheetWorkbook() = default;
    virtual void assignCell(int row, int column, const QString& text) = 0;    // cell = text
    virtual void setCellValue(int row, int column, const QString& text) = 0;  // cell.Value = text
    virtual void autofitColumns() = 0;
};

class SpreadsheetApplication {
  public:
    virtual ~SpreadsheetApplication() = default;
    // The application keeps ownership; the workbook lives as long as the application object.
    virtual SpreadsheetWorkbook& addWorkbook() = 0;
    virtual void makeVisible() = 0;
};

// What can still go wrong once a workbook has been made visible, when the spreadsheet program
// takes it over in the background.
enum class ShownWorkbookTrouble {
    // Shown, but as a copy that closes without asking whether to save it.
    ClosesWithoutSaveQuestion,
    // Not shown at all: the spreadsheet program could not be started.
    NotShown,
};

class SpreadsheetAutomation {
  public:
    virtual ~SpreadsheetAutomation() = default;
    // Starts an invisible instance; throws Failure when no spreadsheet program is installed.
    virtual std::unique_ptr<SpreadsheetApplication> createApplication() = 0;
    // `tell` hears, on the window's thread and possibly after the application is gone, of a
    // trouble with a workbook made visible (its file named), ClosesWithoutSaveQuestion at most
    // once in the automation's life. Replaces an earlier `tell`.
    virtual void whenShownWorkbookGoesWrong(
        std::function<void(ShownWorkbookTrouble, const QString& file)> tell) {
        (void)tell;
    }
};

#pragma once

#include <QString>

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

class SpreadsheetAutomation {
  public:
    virtual ~SpreadsheetAutomation() = default;
    // Starts an invisible instance; throws Failure when no spreadsheet program is installed.
    virtual std::unique_ptr<SpreadsheetApplication> createApplication() = 0;
};

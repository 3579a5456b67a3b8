#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;

// One workbook of text cells, written to an .xlsx file as the cells arrive (libxlsxwriter's
// constant-memory mode keeps one row in memory), so that a million rows cost little memory.
// Rows and columns are 1-based; row 1 is the header row. Rows must arrive in ascending order;
// within a row any column order is fine. Data rows beyond one sheet's capacity continue on a
// new sheet that starts with the same header cells. Every call may throw Failure.
class StreamedXlsxWorkbook {
  public:
    static constexpr int kSheetRows = 1048576;
    static constexpr int kSheetColumns = 16384;

    // `rowsPerSheet` counts the header row; `temporaryFolder` holds the library's row files.
    StreamedXlsxWorkbook(const QString& path, const QString& temporaryFolder,
                         int rowsPerSheet = kSheetRows);
    // An unfinished workbook leaves no file behind.
    ~StreamedXlsxWorkbook();
    StreamedXlsxWorkbook(const StreamedXlsxWorkbook&) = delete;
    StreamedXlsxWorkbook& operator=(const StreamedXlsxWorkbook&) = delete;

    // Always a literal text cell, never a formula or a number. An empty text writes nothing.
    void writeText(qint64 row, int column, const QString& text);
    // Fits every column to the texts written so far (later cells do not widen it).
    void fitColumns();
    // Writes the file. Afterwards, and after a failure, no more cells can be written.
    void finish();
    // Lets the workbook go unwritten, closing the library's files; nothing when already done.
    void abandon();
    // The rows written so far wait in the library's files in the temporary folder; writing the
    // file copies each sheet beside them before it is compressed, so the folder's disk needs
    // about twice this many bytes free. The library does not notice that a disk is full while
    // it makes those copies: it would write a workbook with rows missing.
    qint64 bytesOfWaitingRows() const;
    // The library's files that hold those rows, while the workbook is open. Writing the file
    // closes those of the sheets it got to; should it fail, the others stay open unless closed
    // by their descriptors.
    std::vector<std::FILE*> rowFiles() const;

    const QString& path() const { return path_; }

  private:
    struct HeaderCell {
        int column;
        QString text;
    };
    struct Sheet {
        lxw_worksheet* worksheet;
        std::vector<qint64> widestText;  // per column, in font units
        std::vector<int> fittedPixels;   // per column; 0 = not fitted
    };

    void addSheet();
    void put(Sheet& sheet, int zeroBasedRow, int column, const QString& text);
    void checkOpen() const;

    QString path_;
    QByteArray pathBytes_;
    QByteArray temporaryFolderBytes_;
    int dataRowsPerSheet_;
    lxw_workbook* workbook_ = nullptr;
    std::vector<Sheet> sheets_;
    std::vector<HeaderCell> header_;
};

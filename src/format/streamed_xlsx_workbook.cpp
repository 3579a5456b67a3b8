#include "format/streamed_xlsx_workbook.h"

#include "core/failure.h"
#include "format/c_numeric_locale.h"
#include "format/cell_text.h"
#include "format/text_width.h"

#include <QFile>
#include <QLocale>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
Failure libraryFailure(const QString& what, lxw_error error) {
    return Failure(what + QStringLiteral(": ") + QString::fromUtf8(lxw_strerror(error)));
}

// The characters the library counts in a string it is given: UTF-8 sequences, not bytes.
qsizetype Utf8Characters(const QByteArray& utf8) {
    return std::count_if(utf8.cbegin(), utf8.cend(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    });
}

// The library checks a cell's length on the string it is given, which is the cell's text after
// its escapes, where one character can take 7 or 13. The sheet's own limit counts the text
// before them, so a longer escaped text goes in place of a short one just written: in constant
// memory mode the row's cells wait in the worksheet's array, by column, until the row is done,
// and an inline string cell owns its string (freed with free()). Anything else found there
// leaves the short text and is a failure.
bool replaceInlineString(lxw_worksheet* worksheet, lxw_row_t row, lxw_col_t column,
                         const char* written, const QByteArray& text) {
    lxw_cell* cell = worksheet->optimize && worksheet->array ? worksheet->array[column] : nullptr;
    if (!cell || cell->type != INLINE_STRING_CELL || cell->row_num != row ||
        cell->col_num != column || !cell->u.string || std::strcmp(cell->u.string, written) != 0) {
        return false;
    }
    char* copy = static_cast<char*>(std::malloc(static_cast<size_t>(text.size()) + 1));
    if (!copy) {
        return false;
    }
    std::memcpy(copy, text.constData(), static_cast<size_t>(text.size()) + 1);
    std::free(cell->u.string);
    cell->u.string = copy;
    return true;
}
}  // namespace

StreamedXlsxWorkbook::StreamedXlsxWorkbook(const QString& path, const QString& temporaryFolder,
                                           int rowsPerSheet)
    : path_(path),
      pathBytes_(QFile::encodeName(path)),
      temporaryFolderBytes_(QFile::encodeName(temporaryFolder)),
      dataRowsPerSheet_(std::clamp(rowsPerSheet, 2, kSheetRows) - 1) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = temporaryFolderBytes_.isEmpty() ? nullptr : temporaryFolderBytes_.data();
    options.use_zip64 = LXW_TRUE;  // a million long rows can exceed 4 GB before compression
    {
        CNumericLocale cNumbers;
        workbook_ = workbook_new_opt(pathBytes_.constData(), &options);
    }
    if (!workbook_) {
        throw Failure(QStringLiteral("Cannot start a new workbook (out of memory)"));
    }
    addSheet();
}

StreamedXlsxWorkbook::~StreamedXlsxWorkbook() {
    abandon();
}

void StreamedXlsxWorkbook::abandon() {
    if (!workbook_) {
        return;
    }
    // The library closes a sheet's row file only when it copies the rows into the workbook, and
    // freeing the workbook leaves it open: a removed file that would hold its disk space.
    for (Sheet& sheet : sheets_) {
        if (sheet.worksheet->optimize_tmpfile) {
            std::fclose(sheet.worksheet->optimize_tmpfile);
            sheet.worksheet->optimize_tmpfile = nullptr;
        }
    }
    lxw_workbook_free(workbook_);
    workbook_ = nullptr;
}

std::vector<std::FILE*> StreamedXlsxWorkbook::rowFiles() const {
    std::vector<std::FILE*> files;
    for (const Sheet& sheet : sheets_) {
        if (workbook_ && sheet.worksheet->optimize_tmpfile) {
            files.push_back(sheet.worksheet->optimize_tmpfile);
        }
    }
    return files;
}

void StreamedXlsxWorkbook::checkOpen() const {
    if (!workbook_) {
        throw Failure(QStringLiteral("The workbook has already been handed over"));
    }
}

void StreamedXlsxWorkbook::addSheet() {
    lxw_worksheet* worksheet;
    {
        CNumericLocale cNumbers;
        worksheet = workbook_add_worksheet(workbook_, nullptr);
    }
    if (!worksheet) {
        throw Failure(
            QStringLiteral("Cannot add sheet %1 to the workbook").arg(sheets_.size() + 1));
    }
    sheets_.push_back(Sheet{worksheet, {}, {}});
    for (const HeaderCell& cell : header_) {
        put(sheets_.back(), 0, cell.column, cell.text);
    }
}

void StreamedXlsxWorkbook::put(Sheet& sheet, int zeroBasedRow, int column, const QString& text) {
    const QByteArray utf8 = CellTextForWorkbook(text).toUtf8();
    const bool lengthenedPastLimit = Utf8Characters(utf8) > kCellTextLimit;
    const char* placeholder = "-";
    const auto libraryRow = static_cast<lxw_row_t>(zeroBasedRow);
    const auto libraryColumn = static_cast<lxw_col_t>(column - 1);
    lxw_error error;
    {
        CNumericLocale cNumbers;
        error =
            worksheet_write_string(sheet.worksheet, libraryRow, libraryColumn,
                                   lengthenedPastLimit ? placeholder : utf8.constData(), nullptr);
    }
    if (error == LXW_NO_ERROR && lengthenedPastLimit &&
        !replaceInlineString(sheet.worksheet, libraryRow, libraryColumn, placeholder, utf8)) {
        error = LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED;
    }
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE) {
        throw Failure(QStringLiteral("Cell (%1, %2) comes after a later row was written")
                          .arg(zeroBasedRow + 1)
                          .arg(column));
    }
    if (error != LXW_NO_ERROR) {
        throw libraryFailure(
            QStringLiteral("Cannot write cell (%1, %2)").arg(zeroBasedRow + 1).arg(column), error);
    }
    if (sheet.widestText.size() < static_cast<size_t>(column)) {
        sheet.widestText.resize(column, 0);
    }
    qint64& widest = sheet.widestText[column - 1];
    widest = std::max(widest, SheetTextWidth::fontUnits(text));
}

void StreamedXlsxWorkbook::writeText(qint64 row, int column, const QString& text) {
    checkOpen();
    if (row < 1 || column < 1 || column > kSheetColumns) {
        throw Failure(QStringLiteral("There is no cell (%1, %2) on a sheet").arg(row).arg(column));
    }
    if (text.size() > kCellTextLimit) {
        throw Failure(QStringLiteral("The text of cell (%1, %2) is %3 characters long; a cell "
                                     "holds at most %4")
                          .arg(row)
                          .arg(column)
                          .arg(QLocale::system().toString(text.size()),
                               QLocale::system().toString(kCellTextLimit)));
    }
    if (text.isEmpty()) {
        return;
    }
    if (row == 1) {
        header_.push_back({column, text});
        for (Sheet& sheet : sheets_) {
            put(sheet, 0, column, text);
        }
        return;
    }
    const qint64 dataIndex = row - 2;
    const qint64 sheetIndex = dataIndex / dataRowsPerSheet_;
    while (static_cast<qint64>(sheets_.size()) <= sheetIndex) {
        addSheet();
    }
    put(sheets_[sheetIndex], static_cast<int>(dataIndex % dataRowsPerSheet_) + 1, column, text);
}

void StreamedXlsxWorkbook::fitColumns() {
    checkOpen();
    for (Sheet& sheet : sheets_) {
        sheet.fittedPixels.assign(sheet.widestText.size(), 0);
        for (size_t c = 0; c < sheet.widestText.size(); ++c) {
            if (sheet.widestText[c] > 0) {
                sheet.fittedPixels[c] = SheetTextWidth::fittedColumnPixels(sheet.widestText[c]);
            }
        }
    }
}

qint64 StreamedXlsxWorkbook::bytesOfWaitingRows() const {
    qint64 bytes = 0;
    for (const Sheet& sheet : sheets_) {
        if (workbook_ && sheet.worksheet->optimize_tmpfile) {
            bytes += std::max<qint64>(0, std::ftell(sheet.worksheet->optimize_tmpfile));
        }
    }
    return bytes;
}

void StreamedXlsxWorkbook::finish() {
    checkOpen();
    // A row the library could not write to its file (a full disk) would be missing, silently.
    const std::vector<std::FILE*> files = rowFiles();
    if (std::any_of(files.cbegin(), files.cend(),
                    [](std::FILE* file) { return std::ferror(file); })) {
        abandon();
        throw Failure(QStringLiteral("Cannot write the workbook file \"%1\": its rows could not "
                                     "all be written to the temporary folder (%2)")
                          .arg(path_, QString::fromLocal8Bit(std::strerror(ENOSPC))));
    }
    lxw_error error = LXW_NO_ERROR;
    {
        CNumericLocale cNumbers;
        for (Sheet& sheet : sheets_) {
            for (size_t c = 0; c < sheet.fittedPixels.size(); ++c) {
                if (sheet.fittedPixels[c] > 0) {
                    const auto column = static_cast<lxw_col_t>(c);
                    worksheet_set_column_pixels(sheet.worksheet, column, column,
                                                static_cast<uint32_t>(sheet.fittedPixels[c]),
                                                nullptr);
                }
            }
        }
        errno = 0;
        error = workbook_close(workbook_);  // frees the workbook whatever the outcome
    }
    const int systemError = errno;
    workbook_ = nullptr;
    if (error != LXW_NO_ERROR) {
        QFile::remove(path_);
        const QString what = QStringLiteral("Cannot write the workbook file \"%1\"").arg(path_);
        // The library's own text for a failed write says only "Zip generic error ZIP_ERRNO";
        // the system's error, left by that write, names what the user can act on (a full disk).
        if (systemError != 0 &&
            (error == LXW_ERROR_ZIP_FILE_OPERATION || error == LXW_ERROR_CREATING_XLSX_FILE ||
             error == LXW_ERROR_CREATING_TMPFILE)) {
            throw Failure(what + QStringLiteral(": ") +
                          QString::fromLocal8Bit(std::strerror(systemError)));
        }
        throw libraryFailure(what, error);
    }
}

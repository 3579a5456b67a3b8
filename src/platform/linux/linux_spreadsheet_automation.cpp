#include "platform/linux/linux_spreadsheet_automation.h"

#include "core/failure.h"
#include "format/streamed_xlsx_workbook.h"
#include "platform/file_system.h"
#include "platform/linux/spreadsheet_program.h"
#include "platform/linux/workbook_export_folder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

namespace {

class StreamedWorkbook : public SpreadsheetWorkbook {
  public:
    StreamedWorkbook(const QString& path, const QString& temporaryFolder, int rowsPerSheet)
        : file_(path, temporaryFolder, rowsPerSheet) {}

    // The header and the data are written alike: always as literal text.
    void assignCell(int row, int column, const QString& text) override {
        file_.writeText(row, column, text);
    }
    void setCellValue(int row, int column, const QString& text) override {
        file_.writeText(row, column, text);
    }
    void autofitColumns() override { file_.fitColumns(); }

    StreamedXlsxWorkbook& file() { return file_; }
    bool handedOver = false;

  private:
    StreamedXlsxWorkbook file_;
};

class LinuxSpreadsheetApplication : public SpreadsheetApplication {
  public:
    LinuxSpreadsheetApplication(SpreadsheetProgram program,
                                const LinuxSpreadsheetSettings& settings)
        : program_(std::move(program)),
          settings_(settings),
          folder_(settings.exportFolder.isEmpty()
                      ? WorkbookExportFolder::userDefault()
                      : WorkbookExportFolder(QStringList{settings.exportFolder})) {}

    SpreadsheetWorkbook& addWorkbook() override {
        const QString path = folder_.newFilePath();
        workbooks_.push_back(
            std::make_unique<StreamedWorkbook>(path, folder_.path(), settings_.rowsPerSheet));
        return *workbooks_.back();
    }

    void makeVisible() override {
        for (const auto& workbook : workbooks_) {
            if (!workbook->handedOver) {
                handOver(*workbook);
            }
        }
    }

  private:
    void handOver(StreamedWorkbook& workbook) {
        workbook.handedOver = true;
        StreamedXlsxWorkbook& file = workbook.file();
        // A failed write leaves the library's temporary files (in the export folder) open: those
        // it makes while writing, and the row files of the sheets it did not get to. Files of
        // other workbooks, still being written, stay as they are.
        std::vector<int> othersHeld = RemovedFilesHeldOpenIn(folder_.path());
        for (std::FILE* rowFile : file.rowFiles()) {
            std::erase(othersHeld, ::fileno(rowFile));
        }
        try {
            const std::optional<quint64> freeBytes = FreeBytesOnDiskOf(folder_.path());
            if (freeBytes && *freeBytes < 2 * static_cast<quint64>(file.bytesOfWaitingRows())) {
                throw Failure(QStringLiteral("Cannot write the workbook file \"%1\": %2")
                                  .arg(file.path(), QString::fromLocal8Bit(std::strerror(ENOSPC))));
            }
            file.finish();
        } catch (...) {
            file.abandon();
            CloseRemovedFilesHeldOpenIn(folder_.path(), othersHeld);
            throw;
        }
        folder_.markHandedOver(file.path());
        folder_.removeExportsOlderThan(settings_.keepExportsSeconds);
        const QStringList arguments = program_.argumentsBefore + QStringList{file.path()};
        const bool started = settings_.startDetached
                                 ? settings_.startDetached(program_.executable, arguments)
                                 : QProcess::startDetached(program_.executable, arguments);
        if (!started) {
            throw Failure(QStringLiteral("Cannot start \"%1\" to show the workbook \"%2\"")
                              .arg(program_.executable, file.path()));
        }
    }

    SpreadsheetProgram program_;
    LinuxSpreadsheetSettings settings_;
    WorkbookExportFolder folder_;
    std::vector<std::unique_ptr<StreamedWorkbook>> workbooks_;
};

}  // namespace

LinuxSpreadsheetAutomation::LinuxSpreadsheetAutomation(LinuxSpreadsheetSettings settings)
    : settings_(std::move(settings)) {}

std::unique_ptr<SpreadsheetApplication> LinuxSpreadsheetAutomation::createApplication() {
    const auto find =
        settings_.findExecutable ? settings_.findExecutable : [](const QString& name) {
            return QStandardPaths::findExecutable(name);
        };
    const QString helper = settings_.libreOfficeHelper.isEmpty()
                               ? QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                     QLatin1String(kLibreOfficeHelperName)
                               : settings_.libreOfficeHelper;
    std::optional<SpreadsheetProgram> program =
        FindSpreadsheetProgram(find, QFileInfo(helper).isExecutable() ? helper : QString());
    if (!program) {
        throw Failure(QStringLiteral(
            "No spreadsheet program found: neither LibreOffice Calc (soffice, libreoffice, "
            "localc) nor Gnumeric is on the PATH"));
    }
    return std::make_unique<LinuxSpreadsheetApplication>(std::move(*program), settings_);
}

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

const QStringList kUntitledCopy{QStringLiteral("--calc"), QStringLiteral("-n")};

// Exit statuses of the LibreOffice helper, besides 0 (shown, asking to be saved) and failures.
constexpr int kHelperWithoutUno = 4;
constexpr int kHelperShownUnmodified = 5;

}  // namespace

// What outlives one export: the helpers still handing workbooks over, and whom to tell.
struct LinuxSpreadsheetAutomation::HelperRuns {
    QObject processes;  // the helpers that run
    std::function<void(ShownWorkbookTrouble, const QString&)> tell;
    bool toldClosesWithoutSaveQuestion = false;
    std::function<bool(const QString&, const QStringList&)> startDetached;
    std::function<void(const QString&, const QStringList&, std::function<void(int)>)> runHelper;

    ~HelperRuns() {
        // A helper that still runs shows the user's workbook after we end, unless its process
        // object is deleted, which ends it: those few objects are left to the end of the program.
        for (QProcess* helper : processes.findChildren<QProcess*>()) {
            if (helper->state() != QProcess::NotRunning) {
                helper->disconnect();
                helper->setParent(nullptr);
            }
        }
    }

    void report(ShownWorkbookTrouble trouble, const QString& file) {
        if (trouble == ShownWorkbookTrouble::ClosesWithoutSaveQuestion) {
            // Once: it is the same news each time, and what the user does about it is the same.
            if (toldClosesWithoutSaveQuestion) {
                return;
            }
            toldClosesWithoutSaveQuestion = static_cast<bool>(tell);
        }
        if (tell) {
            tell(trouble, file);
        }
    }

    // The helper is done (or never started): `exitCode` < 0 for one that did not end normally.
    void helperEnded(int exitCode, const QString& soffice, const QString& file) {
        if (exitCode == 0) {
            return;
        }
        if (exitCode == kHelperShownUnmodified) {
            report(ShownWorkbookTrouble::ClosesWithoutSaveQuestion, file);
            return;
        }
        if (!startDetached(soffice, kUntitledCopy + QStringList{file})) {
            report(ShownWorkbookTrouble::NotShown, file);
        } else if (exitCode != kHelperWithoutUno) {
            // Without python3-uno the copy was all there ever was to be had, as without the
            // helper: nothing went wrong that the user did not choose.
            report(ShownWorkbookTrouble::ClosesWithoutSaveQuestion, file);
        }
    }

    void startHelper(const SpreadsheetProgram& helper, const QString& file) {
        const QString soffice = helper.argumentsBefore.value(0);
        runHelper(helper.executable, helper.argumentsBefore + QStringList{file},
                  [this, soffice, file](int exitCode) { helperEnded(exitCode, soffice, file); });
    }

    void runInBackground(const QString& program, const QStringList& arguments,
                         const std::function<void(int exitCode)>& ended) {
        auto* process = new QProcess(&processes);
        process->setProgram(program);
        process->setArguments(arguments);
        process->setStandardInputFile(QProcess::nullDevice());
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        QObject::connect(process, &QProcess::finished, process,
                         [process, ended](int code, QProcess::ExitStatus status) {
                             ended(status == QProcess::NormalExit ? code : -1);
                             process->deleteLater();
                         });
        QObject::connect(process, &QProcess::errorOccurred, process,
                         [process, ended](QProcess::ProcessError error) {
                             if (error == QProcess::FailedToStart) {
                                 ended(-1);
                                 process->deleteLater();
                             }
                         });
        process->start();
    }
};

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
                                const LinuxSpreadsheetSettings& settings,
                                LinuxSpreadsheetAutomation::HelperRuns& helperRuns)
        : program_(std::move(program)),
          settings_(settings),
          helperRuns_(helperRuns),
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
        if (program_.isLibreOfficeHelper) {
            // It waits for LibreOffice, which takes long to start: the window does not.
            helperRuns_.startHelper(program_, file.path());
            return;
        }
        const QStringList arguments = program_.argumentsBefore + QStringList{file.path()};
        if (!helperRuns_.startDetached(program_.executable, arguments)) {
            throw Failure(QStringLiteral("Cannot start \"%1\" to show the workbook \"%2\"")
                              .arg(program_.executable, file.path()));
        }
    }

    SpreadsheetProgram program_;
    LinuxSpreadsheetSettings settings_;
    LinuxSpreadsheetAutomation::HelperRuns& helperRuns_;
    WorkbookExportFolder folder_;
    std::vector<std::unique_ptr<StreamedWorkbook>> workbooks_;
};

}  // namespace

LinuxSpreadsheetAutomation::LinuxSpreadsheetAutomation(LinuxSpreadsheetSettings settings)
    : settings_(std::move(settings)), helperRuns_(std::make_unique<HelperRuns>()) {
    helperRuns_->startDetached = settings_.startDetached
                                     ? settings_.startDetached
                                     : [](const QString& program, const QStringList& arguments) {
                                           return QProcess::startDetached(program, arguments);
                                       };
    helperRuns_->runHelper =
        settings_.runHelper
            ? settings_.runHelper
            : [runs = helperRuns_.get()](const QString& program, const QStringList& arguments,
                                         std::function<void(int)> ended) {
                  runs->runInBackground(program, arguments, ended);
              };
}

LinuxSpreadsheetAutomation::LinuxSpreadsheetAutomation()
    : LinuxSpreadsheetAutomation(LinuxSpreadsheetSettings{}) {}

LinuxSpreadsheetAutomation::~LinuxSpreadsheetAutomation() = default;

void LinuxSpreadsheetAutomation::whenShownWorkbookGoesWrong(
    std::function<void(ShownWorkbookTrouble, const QString&)> tell) {
    helperRuns_->tell = std::move(tell);
}

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
    return std::make_unique<LinuxSpreadsheetApplication>(std::move(*program), settings_,
                                                         *helperRuns_);
}

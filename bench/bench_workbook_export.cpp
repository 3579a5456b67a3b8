// Exporting a full sheet of results (1,048,575 rows) into a workbook, against a plain program
// that writes the same strings with libxlsxwriter in constant-memory mode, in the same run.
//
//   bench_workbook_export [rows]     time and memory, three rounds each, median reported
//   bench_workbook_export --sample FOLDER [--open]
//                                    writes a small sample export into FOLDER through the real
//                                    handler and prints its path; with --open it is handed to
//                                    the spreadsheet program as the button does when no
//                                    LibreOffice helper is beside it (smoke tests)
#include "batch_window/workbook_export_handler.h"
#include "bench_support.h"
#include "output/workbook_export.h"
#include "platform/linux/linux_spreadsheet_automation.h"
#include "platform/qt/qt_event_pump.h"
#include "shell/mouse_pointer.h"
#include "support/fake_platform.h"
#include "widgets/report_list/report_list.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString rowText(qsizetype i) {
    return QStringLiteral("someone.%1@mail%2.example.com").arg(i).arg(i % 97);
}

struct Run {
    double seconds;
    double extraMb;
    qint64 fileBytes;
};

Run exportThroughHandler(ReportList& list, const QString& folder) {
    FakePlatform fake;
    QtEventPump pump;
    LinuxSpreadsheetSettings settings;
    settings.exportFolder = folder;
    settings.startDetached = [](const QString&, const QStringList&) { return true; };
    LinuxSpreadsheetAutomation automation(settings);
    Platform& f = fake.platform;
    Platform platform{f.messages, f.fileDialogs,   f.clipboard, f.browser, pump,
                      f.random,   f.programFolder, f.pointers,  automation};
    WindowMousePointer pointer(nullptr, fake.pointers);

    const double before = bench::currentMemoryMb();
    bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    SaveListAsWorkbook(platform, list, pointer);
    const double took = bench::seconds(timer);
    const double extra = bench::peakMemoryMb() - before;
    if (!fake.messages.shown.empty()) {
        std::fprintf(stderr, "export reported: %s\n", qPrintable(fake.messages.shown[0].text));
    }
    qint64 bytes = 0;
    for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.xlsx")})) {
        bytes += file.size();
        QFile::setPermissions(file.absoluteFilePath(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(file.absoluteFilePath());
    }
    return {took, extra, bytes};
}

Run plainLibxlsxwriter(const std::vector<QByteArray>& rows, const QString& folder) {
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/plain.xlsx"));
    const QByteArray tmp = QFile::encodeName(folder);
    const double before = bench::currentMemoryMb();
    bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmp.constData());
    lxw_workbook* workbook = workbook_new_opt(path.constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    worksheet_write_string(sheet, 0, 0, " Output", nullptr);
    for (size_t i = 0; i < rows.size(); ++i) {
        worksheet_write_string(sheet, static_cast<lxw_row_t>(i + 1), 0, rows[i].constData(),
                               nullptr);
    }
    workbook_close(workbook);
    const double took = bench::seconds(timer);
    const double extra = bench::peakMemoryMb() - before;
    const qint64 bytes = QFileInfo(QString::fromLocal8Bit(path)).size();
    QFile::remove(QString::fromLocal8Bit(path));
    return {took, extra, bytes};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int writeSample(const QString& folder, bool open) {
    ReportList list;
    list.addColumn(QStringLiteral(" Output"));
    for (const char* row : {"one", "", "three", "=1+2", "0012", "_x0041_",
                            "a rather longer row that widens the column", "äöü €"}) {
        list.append(QString::fromUtf8(row));
    }
    // Characters XML cannot carry, which the sheet's escape must bring back.
    list.append(QStringLiteral("ctrl\x01\x07\x1b end"));
    list.append(QStringLiteral("nul") + QChar(0) + QStringLiteral("after"));
    FakePlatform fake;
    LinuxSpreadsheetSettings settings;
    settings.exportFolder = folder;
    settings.startDetached = [open](const QString& program, const QStringList& arguments) {
        std::printf("%s\n", qPrintable(arguments.last()));
        std::fflush(stdout);
        return !open || QProcess::startDetached(program, arguments);
    };
    LinuxSpreadsheetAutomation automation(settings);
    Platform& f = fake.platform;
    Platform platform{f.messages, f.fileDialogs,   f.clipboard, f.browser, f.pump,
                      f.random,   f.programFolder, f.pointers,  automation};
    WindowMousePointer pointer(nullptr, fake.pointers);
    SaveListAsWorkbook(platform, list, pointer);
    for (const ShownMessage& message : fake.messages.shown) {
        std::fprintf(stderr, "%s\n", qPrintable(message.text));
    }
    return fake.messages.shown.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("--sample")) {
        return writeSample(arguments[2], arguments.contains(QStringLiteral("--open")));
    }
    const qsizetype rows = arguments.size() > 1 ? arguments[1].toLongLong() : 1048575;

    ReportList list;
    list.addColumn(QStringLiteral(" Output"));
    list.reserveMore(rows);
    for (qsizetype i = 0; i < rows; ++i) {
        list.append(rowText(i));
    }
    std::vector<QByteArray> utf8;
    utf8.reserve(static_cast<size_t>(rows));
    for (qsizetype i = 0; i < rows; ++i) {
        utf8.push_back(rowText(i).toUtf8());
    }
    QTemporaryDir folder(QDir::homePath() + QStringLiteral("/.cache/quorvane-bench-XXXXXX"));

    std::vector<double> ours, plain, oursMb, plainMb;
    qint64 oursBytes = 0, plainBytes = 0;
    for (int round = 0; round < 3; ++round) {
        const Run a = exportThroughHandler(list, folder.path());
        const Run b = plainLibxlsxwriter(utf8, folder.path());
        ours.push_back(a.seconds);
        oursMb.push_back(a.extraMb);
        plain.push_back(b.seconds);
        plainMb.push_back(b.extraMb);
        oursBytes = a.fileBytes;
        plainBytes = b.fileBytes;
        std::printf("round %d: export %.2f s (+%.1f MB), plain libxlsxwriter %.2f s (+%.1f MB)\n",
                    round + 1, a.seconds, a.extraMb, b.seconds, b.extraMb);
    }
    std::printf("rows %lld\n", static_cast<long long>(rows));
    std::printf("export (handler, Linux back-end): median %.2f s, peak +%.1f MB, file %.1f MB\n",
                median(ours), median(oursMb), oursBytes / 1e6);
    std::printf("plain libxlsxwriter constant memory: median %.2f s, peak +%.1f MB, file %.1f MB\n",
                median(plain), median(plainMb), plainBytes / 1e6);
    std::printf("ratio export / plain: %.2f\n", median(ours) / median(plain));
    return 0;
}

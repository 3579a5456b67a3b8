// The Linux spreadsheet automation: which program counts as installed, how the finished
// workbook is handed to it, and which earlier exports are cleared from the cache folder.
#include "batch_window/workbook_export_handler.h"
#include "core/failure.h"
#include "output/workbook_export.h"
#include "platform/file_system.h"
#include "platform/linux/linux_spreadsheet_automation.h"
#include "platform/linux/workbook_export_folder.h"
#include "shell/mouse_pointer.h"
#include "support/fake_platform.h"
#include "support/table_list.h"
#include "support/xlsx_read_back.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

struct Started {
    QString program;
    QStringList arguments;
};

struct Host {
    QTemporaryDir cache;
    QStringList onPath;
    QString pathFolder = QStringLiteral("/usr/bin/");
    QString libreOfficeHelper = cache.filePath(QStringLiteral("no-helper-here"));
    std::vector<Started> started;
    bool startSucceeds = true;
    bool realHelper = false;  // run through a process of its own, not recorded in `started`

    LinuxSpreadsheetAutomation automation() {
        LinuxSpreadsheetSettings settings;
        settings.exportFolder = cache.path();
        settings.libreOfficeHelper = libreOfficeHelper;
        settings.findExecutable = [this](const QString& name) {
            return onPath.contains(name) ? pathFolder + name : QString();
        };
        settings.startDetached = [this](const QString& program, const QStringList& arguments) {
            started.push_back({program, arguments});
            return startSucceeds;
        };
        if (!realHelper) {
            settings.runHelper = [this](const QString& program, const QStringList& arguments,
                                        const std::function<void(int)>& ended) {
                started.push_back({program, arguments});
                ended(0);
            };
        }
        return LinuxSpreadsheetAutomation(settings);
    }
    QStringList exports() const {
        return QDir(cache.path()).entryList({QStringLiteral("*.xlsx")}, QDir::Files, QDir::Name);
    }
};

void makeFile(const QString& path, bool readOnly, qint64 ageSeconds) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("old");
    file.flush();
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                             QFileDevice::FileModificationTime));
    file.close();
    if (readOnly) {
        QVERIFY(file.setPermissions(QFile::ReadOwner));
    }
}

// The test doubles' platform with the real spreadsheet automation in it.
Platform WithAutomation(const Platform& p, SpreadsheetAutomation& automation) {
    return {p.messages, p.fileDialogs,   p.clipboard, p.browser, p.pump,
            p.random,   p.programFolder, p.pointers,  automation};
}

}  // namespace

class WorkbookAutomationTest : public QObject {
    Q_OBJECT
  private slots:
    void findsAProgram_data();
    void findsAProgram();
    void exportOpensNewReadOnlyFileAsTemplate();
    void failedStartIsAFailure();
    void abandonedWorkbookLeavesNoFile();
    void fullDiskNamesTheCauseAndKeepsNoFileOpen_data();
    void fullDiskNamesTheCauseAndKeepsNoFileOpen();
    void squattedPipeShowsTheCopyAndTellsOnce_data();
    void squattedPipeShowsTheCopyAndTellsOnce();
    void laterExportRemovesOnlyOldHandedOverFiles();
    void unwritableCacheFallsBackToTheNextFolder();
};

void WorkbookAutomationTest::findsAProgram_data() {
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<QString>("helper");  // "runnable", "not runnable" or none
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    const QStringList asTemplate{"--calc", "-n"};
    QTest::newRow("soffice first") << QStringList{"gnumeric", "localc", "soffice"} << QString()
                                   << "/usr/bin/soffice" << asTemplate;
    QTest::newRow("libreoffice") << QStringList{"libreoffice", "gnumeric"} << QString()
                                 << "/usr/bin/libreoffice" << asTemplate;
    QTest::newRow("localc") << QStringList{"localc"} << QString() << "/usr/bin/localc"
                            << asTemplate;
    QTest::newRow("gnumeric") << QStringList{"gnumeric"} << QString() << "/usr/bin/gnumeric"
                              << QStringList{};
    QTest::newRow("none") << QStringList{"excel"} << QString() << QString() << QStringList{};
    QTest::newRow("soffice through the helper") << QStringList{"gnumeric", "soffice"} << "runnable"
                                                << "helper" << QStringList{"/usr/bin/soffice"};
    QTest::newRow("helper that cannot run") << QStringList{"soffice"} << "not runnable"
                                            << "/usr/bin/soffice" << asTemplate;
}

void WorkbookAutomationTest::findsAProgram() {
    QFETCH(QStringList, onPath);
    QFETCH(QString, helper);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    Host host;
    host.onPath = onPath;
    if (!helper.isEmpty()) {
        host.libreOfficeHelper = host.cache.filePath(QStringLiteral("helper"));
        makeFile(host.libreOfficeHelper, true, 0);
        QFile::setPermissions(host.libreOfficeHelper, helper == u"runnable"
                                                          ? QFile::ReadOwner | QFile::ExeOwner
                                                          : QFile::Permissions(QFile::ReadOwner));
        program.replace(QStringLiteral("helper"), host.libreOfficeHelper);
    }
    LinuxSpreadsheetAutomation automation = host.automation();
    FakePlatform fake;
    Platform withLinux = WithAutomation(fake.platform, automation);
    const bool installed = IsSpreadsheetProgramInstalled(withLinux);
    QCOMPARE(installed, !program.isEmpty());
    QCOMPARE(fake.messages.texts().size(), installed ? 0 : 1);
    if (!installed) {
        QVERIFY_THROWS_EXCEPTION(Failure, automation.createApplication());
        return;
    }
    auto application = automation.createApplication();
    application->addWorkbook().setCellValue(2, 1, QStringLiteral("x"));
    application->makeVisible();
    QCOMPARE(host.started.size(), size_t(1));
    QCOMPARE(host.started[0].program, program);
    QCOMPARE(host.started[0].arguments.mid(0, arguments.size()), arguments);
    QCOMPARE(host.started[0].arguments.size(), arguments.size() + 1);
}

void WorkbookAutomationTest::exportOpensNewReadOnlyFileAsTemplate() {
    Host host;
    host.onPath = {QStringLiteral("soffice")};
    LinuxSpreadsheetAutomation automation = host.automation();
    FakePlatform fake;
    Platform withLinux = WithAutomation(fake.platform, automation);
    TableList list({QStringLiteral(" Output")});
    for (const char* row : {"one", "", "three", "=HYPERLINK(\"http://x\")"}) {
        list.addRow({QString::fromUtf8(row)});
    }
    WindowMousePointer pointer(nullptr, fake.pointers);
    SaveListAsWorkbook(withLinux, list, pointer);
    SaveListAsWorkbook(withLinux, list, pointer);

    QCOMPARE(fake.messages.texts(), QStringList());
    QCOMPARE(host.started.size(), size_t(2));
    const QString first = host.started[0].arguments.last();
    const QString second = host.started[1].arguments.last();
    QVERIFY(first != second);
    QCOMPARE(host.exports().size(), 2);
    for (const QString& file : {first, second}) {
        QVERIFY(file.startsWith(host.cache.path()));
        QVERIFY(!(QFile::permissions(file) & QFile::WriteOwner));
        const ReadBackWorkbook read = ReadXlsxBack(file);
        QVERIFY2(read.ok, qPrintable(read.error));
        const ReadBackSheet& sheet = read.sheets[0];
        QCOMPARE(sheet.at(1, 1), QStringLiteral(" Output"));
        QCOMPARE(sheet.at(2, 1), QStringLiteral("one"));
        QCOMPARE(sheet.at(3, 1), QString());
        QCOMPARE(sheet.at(4, 1), QStringLiteral("three"));
        QCOMPARE(sheet.at(5, 1), QStringLiteral("=HYPERLINK(\"http://x\")"));
        QCOMPARE(sheet.types.value({5, 1}), QStringLiteral("s"));
        QVERIFY(sheet.widths.contains(1));
    }
}

void WorkbookAutomationTest::failedStartIsAFailure() {
    Host host;
    host.onPath = {QStringLiteral("gnumeric")};
    host.startSucceeds = false;
    LinuxSpreadsheetAutomation automation = host.automation();
    auto application = automation.createApplication();
    application->addWorkbook().setCellValue(2, 1, QStringLiteral("kept"));
    QVERIFY_THROWS_EXCEPTION(Failure, application->makeVisible());
    // The file stays for the user to open by hand; the message names it.
    QCOMPARE(host.exports().size(), 1);
}

void WorkbookAutomationTest::abandonedWorkbookLeavesNoFile() {
    Host host;
    host.onPath = {QStringLiteral("soffice")};
    LinuxSpreadsheetAutomation automation = host.automation();
    {
        auto application = automation.createApplication();
        application->addWorkbook().setCellValue(2, 1, QStringLiteral("x"));
    }
    QCOMPARE(host.exports(), QStringList());
    QVERIFY(host.started.empty());
    QVERIFY(RemovedFilesHeldOpenIn(host.cache.path()).empty());
}

// 420 kB of rows wait in the library's files before the workbook is written.
void WorkbookAutomationTest::fullDiskNamesTheCauseAndKeepsNoFileOpen_data() {
    QTest::addColumn<QString>("diskSize");
    QTest::newRow("full before the rows are all written") << "size=128k";
    QTest::newRow("room for the rows, not for their copy") << "size=600k";
}

void WorkbookAutomationTest::fullDiskNamesTheCauseAndKeepsNoFileOpen() {
    QFETCH(QString, diskSize);
    Host host;
    host.onPath = {QStringLiteral("soffice")};
    if (QProcess::execute(QStringLiteral("mount"),
                          {"-t", "tmpfs", "-o", diskSize, "tmpfs", host.cache.path()}) != 0) {
        QSKIP("a small disk of its own needs root");
    }
    const auto unmount = qScopeGuard([&] {
        QProcess::execute(QStringLiteral("umount"), {"-l", host.cache.path()});
    });
    LinuxSpreadsheetAutomation automation = host.automation();
    auto application = automation.createApplication();
    SpreadsheetWorkbook& workbook = application->addWorkbook();
    quint32 noise = 1;  // text that does not compress away
    for (int row = 2; row < 3000; ++row) {
        QString text;
        for (int i = 0; i < 100; ++i) {
            noise = noise * 1664525u + 1013904223u;
            text += QChar(u'a' + (noise >> 27));
        }
        workbook.setCellValue(row, 1, text);
    }
    QString message;
    try {
        application->makeVisible();
    } catch (const Failure& failure) {
        message = failure.description();
    }
    QVERIFY2(message.contains(QStringLiteral("No space left on device")), qPrintable(message));
    QCOMPARE(host.exports(), QStringList());
    QVERIFY(RemovedFilesHeldOpenIn(host.cache.path()).empty());
}

// The pipe's name shows in the process list, so another program may bind it before LibreOffice
// does. This soffice is such a program: it listens on the pipe and never answers.
void WorkbookAutomationTest::squattedPipeShowsTheCopyAndTellsOnce_data() {
    QTest::addColumn<int>("squatterUid");
    QTest::newRow("listener of the user's own that never answers") << -1;
    QTest::newRow("another user's listener") << 65534;
}

void WorkbookAutomationTest::squattedPipeShowsTheCopyAndTellsOnce() {
    QFETCH(int, squatterUid);
    if (QProcess::execute(QStringLiteral("/usr/bin/python3"), {"-c", "import uno"}) != 0) {
        QSKIP("the helper needs python3-uno");
    }
    if (squatterUid >= 0 && ::getuid() != 0) {
        QSKIP("giving a socket to another user needs root");
    }
    Host host;
    host.realHelper = true;
    host.libreOfficeHelper =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../libreoffice_new_workbook.py");
    QFile script(host.cache.filePath(QStringLiteral("soffice")));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral(R"(#!/usr/bin/python3
import os, socket, sys, time
for fd in (1, 2): os.dup2(os.open(os.devnull, os.O_WRONLY), fd)
name = sys.argv[-1].split("name=")[1].split(";")[0]
path = "/tmp/OSL_PIPE_%d_%s" % (os.getuid(), name)
listener = socket.socket(socket.AF_UNIX)
listener.bind(path)
listener.listen()
if %1 >= 0:
    os.chown(path, %1, -1)
listener.settimeout(5)
try:
    held = listener.accept()
    time.sleep(30)
except OSError:
    pass
os.unlink(path)
)")
                     .arg(squatterUid)
                     .toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    qputenv("QUORVANE_UNO_ANSWER_SECONDS", "1");
    host.onPath = {QStringLiteral("soffice")};
    host.pathFolder = host.cache.path() + QLatin1Char('/');
    LinuxSpreadsheetAutomation automation = host.automation();
    FakePlatform fake;
    Platform withLinux = WithAutomation(fake.platform, automation);
    TableList list({QStringLiteral(" Output")});
    list.addRow({QStringLiteral("kept")});
    WindowMousePointer pointer(nullptr, fake.pointers);
    SaveListAsWorkbook(withLinux, list, pointer);
    SaveListAsWorkbook(withLinux, list, pointer);

    QTRY_COMPARE_WITH_TIMEOUT(host.started.size(), size_t(2), 15000);
    for (const Started& fallback : host.started) {
        QCOMPARE(fallback.arguments.mid(0, 2), QStringList({"--calc", "-n"}));
        QVERIFY(QFile::exists(fallback.arguments.last()));
    }
    QCOMPARE(fake.messages.texts(), QStringList{WorkbookExportMessages::kClosingWillNotAskToSave});
}

void WorkbookAutomationTest::laterExportRemovesOnlyOldHandedOverFiles() {
    Host host;
    host.onPath = {QStringLiteral("soffice")};
    const QString folder = host.cache.path() + QLatin1Char('/');
    makeFile(folder + "results-old.xlsx", true, 3600);
    makeFile(folder + "results-saved-by-user.xlsx", false, 3600);
    makeFile(folder + "results-recent.xlsx", true, 10);
    makeFile(folder + "other.xlsx", true, 3600);
    LinuxSpreadsheetAutomation automation = host.automation();
    auto application = automation.createApplication();
    application->addWorkbook().setCellValue(2, 1, QStringLiteral("x"));
    application->makeVisible();

    const QStringList left = host.exports();
    QVERIFY(!left.contains("results-old.xlsx"));
    QVERIFY(left.contains("results-saved-by-user.xlsx"));
    QVERIFY(left.contains("results-recent.xlsx"));
    QVERIFY(left.contains("other.xlsx"));
    QVERIFY(left.contains(QFileInfo(host.started[0].arguments.last()).fileName()));
}

void WorkbookAutomationTest::unwritableCacheFallsBackToTheNextFolder() {
    QTemporaryDir home;
    // A folder can never be made below a file, whoever runs the test.
    const QString blocked = home.filePath(QStringLiteral("cache-is-a-file"));
    makeFile(blocked, false, 0);
    const QString fallback = home.filePath(QStringLiteral("tmp/workbooks"));

    WorkbookExportFolder folder({blocked + QStringLiteral("/workbooks"), fallback});
    QVERIFY(folder.newFilePath().startsWith(fallback + QLatin1Char('/')));
    QCOMPARE(folder.path(), fallback);

    WorkbookExportFolder nowhere({blocked + QStringLiteral("/workbooks")});
    QVERIFY_THROWS_EXCEPTION(Failure, nowhere.newFilePath());

    // A shared fallback that everyone may write into is passed over for a fresh private one.
    const QString shared = home.filePath(QStringLiteral("quorvane-shared"));
    QVERIFY(QDir().mkdir(shared));
    QVERIFY(QFile::setPermissions(shared, QFileDevice::Permissions(0x7777)));
    WorkbookExportFolder beside({blocked + QStringLiteral("/workbooks")}, shared);
    QVERIFY(beside.newFilePath().startsWith(shared + QLatin1Char('-')));
}

QTEST_GUILESS_MAIN(WorkbookAutomationTest)
#include "test_workbook_automation.moc"

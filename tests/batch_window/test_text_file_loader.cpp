#include "batch_window/text_file_loader.h"
#include "core/failure.h"
#include "format/text_decoding.h"
#include "format/text_lines.h"
#include "shell/command_line.h"
#include "support/fake_platform.h"
#include "support/list_rows.h"
#include "support/window_controls.h"
#include "widgets/report_list/report_list.h"

#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <algorithm>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

// Reading text files into a list: line ends, encodings, missing and unreadable files, and the
// tidying of joined paths.
class TextFileLoaderTest : public QObject {
    Q_OBJECT
  private slots:
    void init();

    void lineEnds_data();
    void lineEnds();
    void encodings_data();
    void encodings();
    void appendsAfterExistingRows();
    void missingFileSaysFileNotFoundAndAddsNothing();
    void unreadableFileIsAFailure();
    void specialFileIsRefusedWithoutWaiting_data();
    void specialFileIsRefusedWithoutWaiting();
    void collapse_data();
    void collapse();
    void droppedFilesGoWhereTheyLand();
    void commandLine_data();
    void commandLine();
    void filesOnTheCommandLineLoadAsChosenOnes();

  private:
    QStringList load(const QByteArray& bytes);
    QString write(const QString& name, const QByteArray& bytes);
    QString dropOnLineBox(const QStringList& paths, qsizetype at = 0, const QString& text = {});

    QTemporaryDir dir;
    FakeMessageBoxes messages;
    FakePlatform fake;
    MainWindow window{fake.platform};
};

void TextFileLoaderTest::init() {
    messages.shown.clear();
    fake.messages.shown.clear();
}

QString TextFileLoaderTest::write(const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write the test file");
    }
    return file.fileName();
}

// The line box's text once the files or text dropped before the character at `at` are read.
QString TextFileLoaderTest::dropOnLineBox(const QStringList& paths, qsizetype at,
                                          const QString& text) {
    LineBox* box = controls(window).lineBox;
    QMimeData data;
    QList<QUrl> urls(paths.size());
    std::transform(paths.begin(), paths.end(), urls.begin(), QUrl::fromLocalFile);
    data.setUrls(urls);
    data.setText(text);
    const QPoint point = box->characterRect(at).topLeft();
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &enter);
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &drop);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return box->text();
}

QStringList TextFileLoaderTest::load(const QByteArray& bytes) {
    const QString path = write(QStringLiteral("lines.txt"), bytes);
    ReportList list;
    LoadTextFileToList(list, path, messages);
    QStringList rows;
    for (qsizetype r = 1; r <= list.count(); ++r) {
        rows << list.text(RowNumber(r));
    }
    return rows;
}

void TextFileLoaderTest::lineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("one line, no end") << QByteArray("abc") << QStringList{"abc"};
    QTest::newRow("CR LF, CR LF between")
        << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("LF only, final LF adds an empty row")
        << QByteArray("a\nb\n") << QStringList{"a", "b", ""};
    QTest::newRow("lone CR, no final end") << QByteArray("a\rb") << QStringList{"a", "b"};
    QTest::newRow("final CR adds nothing") << QByteArray("a\r") << QStringList{"a"};
    QTest::newRow("final CR LF adds nothing") << QByteArray("a\r\n") << QStringList{"a"};
    QTest::newRow("only LF") << QByteArray("\n") << QStringList{"", ""};
    QTest::newRow("only CR LF") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("LF before CR LF") << QByteArray("a\n\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("mixed ends") << QByteArray("1\r\n2\n3\r4\r\n")
                                << QStringList{"1", "2", "3", "4"};
    QTest::newRow("blanks and delimiters kept")
        << QByteArray("  x , y  \r\n\t") << QStringList{"  x , y  ", "\t"};
    QTest::newRow("NUL inside a line")
        << QByteArray("a\0b\nc", 5) << QStringList{QStringView(u"a\0b", 3).toString(), "c"};
}

void TextFileLoaderTest::lineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QCOMPARE(load(bytes), rows);
    QVERIFY(messages.shown.empty());
}

void TextFileLoaderTest::encodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("UTF-8 without mark") << QByteArray("caf\xC3\xA9\n\xE2\x82\xAC")
                                        << QStringList{
                                               u"café"_qs,
                                               u"€"_qs,
                                           };
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF\xC3\xA9,x\r\n")
                                << QStringList{u"é,x"_qs};
    QTest::newRow("UTF-16LE mark") << QByteArray(
                                          "\xFF\xFE"
                                          "a\0\r\0\n\0\xAC\x20",
                                          10)
                                   << QStringList{u"a"_qs, u"€"_qs};
    QTest::newRow("UTF-16BE mark")
        << QByteArray("\xFE\xFF\0a\0\n\0b", 8) << QStringList{u"a"_qs, u"b"_qs};
    // One invalid sequence makes the whole file single-byte: every byte is one character.
    QTest::newRow("invalid UTF-8 reads as Windows-1252")
        << QByteArray("caf\xE9 \x80 \xC3\xA9\n\x81\x9D")
        << QStringList{u"café € Ã©"_qs, u"\u0081\u009D"_qs};
    QTest::newRow("cut UTF-8 sequence at the end")
        << QByteArray("ok\n\xE2\x82") << QStringList{u"ok"_qs, u"â\u201A"_qs};
    QTest::newRow("UTF-8 mark, invalid rest")
        << QByteArray("\xEF\xBB\xBF\xFF") << QStringList{u"ÿ"_qs};
}

void TextFileLoaderTest::encodings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    QCOMPARE(load(bytes), rows);
    QString decoded = DecodeTextFile(bytes);
    RemoveFinalLineBreak(decoded);
    controls(window).lineBox->clear();
    QCOMPARE(dropOnLineBox({write(QStringLiteral("lines.txt"), bytes)}), decoded);
}

void TextFileLoaderTest::appendsAfterExistingRows() {
    const QString path = dir.filePath(QStringLiteral("two.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x\r\ny");
    file.close();
    ReportList list;
    list.append(QStringLiteral("before"));
    LoadTextFileToList(list, path, messages);
    LoadTextFileToList(list, path, messages);
    QCOMPARE(list.count(), 5);
    QCOMPARE(list.text(RowNumber(1)), QStringLiteral("before"));
    QCOMPARE(list.text(RowNumber(4)), QStringLiteral("x"));
    QCOMPARE(list.text(RowNumber(5)), QStringLiteral("y"));
}

void TextFileLoaderTest::missingFileSaysFileNotFoundAndAddsNothing() {
    ReportList list;
    LoadTextFileToList(list, dir.filePath(QStringLiteral("nope.txt")), messages);
    LoadTextFileToList(list, dir.path(), messages);  // a folder is no text file either
    QCOMPARE(list.count(), 0);
    QCOMPARE(messages.texts(), (QStringList{"File not found", "File not found"}));
    QCOMPARE(messages.shown.front().icon, MessageIcon::None);
    QCOMPARE(messages.shown.front().buttons, MessageButtons::Ok);
}

void TextFileLoaderTest::unreadableFileIsAFailure() {
    // Root reads any file whatever its mode; the kernel's memory file refuses to be read.
    const QString path = geteuid() == 0 ? QStringLiteral("/proc/self/mem")
                                        : dir.filePath(QStringLiteral("locked.txt"));
    if (geteuid() != 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("secret\n");
        file.close();
        QVERIFY(file.setPermissions(QFileDevice::Permissions()));
    }
    ReportList list;
    QVERIFY_THROWS_EXCEPTION(Failure, LoadTextFileToList(list, path, messages));
    QCOMPARE(list.count(), 0);
    QVERIFY(messages.shown.empty());
}

void TextFileLoaderTest::specialFileIsRefusedWithoutWaiting_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("FIFO without a writer") << "fifo";
    QTest::newRow("link to an endless device") << "/dev/zero";
    QTest::newRow("link to the null device") << "/dev/null";
    QTest::newRow("link to a system file without end") << "/proc/self/pagemap";
}

void TextFileLoaderTest::specialFileIsRefusedWithoutWaiting() {
    QFETCH(QString, kind);
    const QString path =
        dir.filePath(QStringLiteral("special-%1.txt").arg(QTest::currentDataTag()));
    if (kind == QStringLiteral("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else {
        QVERIFY(QFile::link(kind, path));
    }
    ReportList list;
    try {
        LoadTextFileToList(list, path, messages);
        QFAIL("a special file was read");
    } catch (const Failure& failure) {
        QVERIFY2(failure.description().contains(QStringLiteral("so it was not read")),
                 qPrintable(failure.description()));
    }
    QCOMPARE(list.count(), 0);
    QVERIFY(messages.shown.empty());
}

void TextFileLoaderTest::collapse_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("tidied");
    const QChar back(u'\\');
    const QChar slash(u'/');
    QTest::newRow("drive root joined") << R"(C:\\a.txt)" << back << R"(C:\a.txt)";
    QTest::newRow("nothing to do") << R"(C:\x\a.txt)" << back << R"(C:\x\a.txt)";
    QTest::newRow("three become two") << R"(C:\x\\\a.txt)" << back << R"(C:\x\\a.txt)";
    QTest::newRow("four become two") << R"(C:\\\\a)" << back << R"(C:\\a)";
    QTest::newRow("network folder")
        << R"(\\server\share\\a.txt)" << back << R"(\\server\share\a.txt)";
    QTest::newRow("leading run of one") << R"(\x\\a)" << back << R"(\\x\a)";
    QTest::newRow("leading run of three") << R"(\\\x)" << back << R"(\\x)";
    QTest::newRow("only separators") << R"(\\\\)" << back << R"(\\)";
    QTest::newRow("empty") << "" << back << "";
    QTest::newRow("slash ignored on Windows") << "a//b" << back << "a//b";
    QTest::newRow("root folder joined here") << "//a.txt" << slash << "//a.txt";
    QTest::newRow("folder joined here") << "/home/u//a.txt" << slash << "//home/u/a.txt";
    QTest::newRow("three slashes") << "x///y" << slash << "x//y";
    QTest::newRow("backslash ignored here") << R"(a\\b)" << slash << R"(a\\b)";
}

void TextFileLoaderTest::collapse() {
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(QString, tidied);
    QCOMPARE(CollapseDoubleBackslashes(path, separator), tidied);
}

void TextFileLoaderTest::droppedFilesGoWhereTheyLand() {
    QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), dir.filePath("mem.txt")));
    controls(window).lineBox->setText(QStringLiteral("[]"));
    // One line break at the very end of a file ends its last line; the others stay in the text.
    QCOMPARE(
        dropOnLineBox({write("1.txt", "one\r\n"), dir.filePath("gone.txt"), dir.filePath("mem.txt"),
                       write("2.txt", "two\n\r"), write("3.txt", "3\n")},
                      1),
        QStringLiteral("[onetwo\n3]"));
    QCOMPARE(fake.messages.shown.size(), size_t(2));
    QCOMPARE(fake.messages.shown[0].text, QStringLiteral("File not found"));
    QVERIFY(fake.messages.shown[1].text.contains("Form1.Text1_OLEDragDrop at line 100"));
    QCOMPARE(window.pointerShape(), PointerShape::Default);
    // Text that is no file goes in as it is.
    QCOMPARE(dropOnLineBox({}, 0, "file:///x"), QStringLiteral("file:///x[onetwo\n3]"));
}

void TextFileLoaderTest::commandLine_data() {
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<CommandLineRequest::Kind>("kind");
    QTest::addColumn<QByteArrayList>("files");
    using Kind = CommandLineRequest::Kind;
    QTest::newRow("help after a file")
        << QByteArrayList{"a", "-h"} << Kind::Help << QByteArrayList{};
    QTest::newRow("unknown option")
        << QByteArrayList{"a", "--fast"} << Kind::Misuse << QByteArrayList{};
    QTest::newRow("files in order, a lone dash, options end at --")
        << QByteArrayList{"b", "-", "--", "--help"} << Kind::Start
        << QByteArrayList{"b", "-", "--help"};
    QTest::newRow("Qt's options and their values are no files")
        << QByteArrayList{"-style", "fusion", "--reverse", "-stylesheet=s", "a"} << Kind::Start
        << QByteArrayList{"a"};
    QTest::newRow("Qt's option without its value")
        << QByteArrayList{"a", "-display"} << Kind::Misuse << QByteArrayList{};
}

void TextFileLoaderTest::commandLine() {
    QFETCH(QByteArrayList, arguments);
    QFETCH(CommandLineRequest::Kind, kind);
    QFETCH(QByteArrayList, files);
    const CommandLineRequest request = ParseCommandLine(arguments);
    QCOMPARE(request.kind, kind);
    QCOMPARE(request.files, files);
}

void TextFileLoaderTest::filesOnTheCommandLineLoadAsChosenOnes() {
    // A name that is no UTF-8 is opened by its bytes; decoded, it would name no file.
    const QByteArray notUtf8 = QFile::encodeName(dir.path()) + "/\xff.txt";
    QCOMPARE(std::rename(QFile::encodeName(write("c.txt", "c1")).constData(), notUtf8.constData()),
             0);
    window.openBatchWindowWith({QFile::encodeName(write("b.txt", "b1\r\nb2")),
                                QFile::encodeName(dir.filePath("gone.txt")), "/proc/self/mem",
                                notUtf8, QFile::encodeName(write("a.txt", "a1\n"))});
    QCOMPARE(RowsOf(*controls(*window.batchWindow()).inputList),
             (QStringList{"b1", "b2", "c1", "a1", ""}));
    QCOMPARE(fake.messages.shown.size(), size_t(1));
    QVERIFY(fake.messages.shown[0].text.contains(dir.filePath("gone.txt") + ": File not found\n"));
    QVERIFY(fake.messages.shown[0].text.contains("/proc/self/mem: "));
}

QTEST_MAIN(TextFileLoaderTest)
#include "test_text_file_loader.moc"

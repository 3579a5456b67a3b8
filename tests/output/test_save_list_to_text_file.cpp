// The bytes SaveListToTextFile writes, the overwrite question, and that a failed or interrupted
// save never damages the file that was there before.
#include "core/failure.h"
#include "core/fault_injection.h"
#include "output/save_list_to_text_file.h"
#include "shell/yielding_loop.h"
#include "support/fake_platform.h"
#include "support/table_list.h"
#include "widgets/report_list/report_list.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <csignal>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

void fillList(ReportList& list, const QStringList& rows) {
    for (const QString& row : rows) {
        list.append(row);
    }
}

// Writes beyond `bytes` fail with EFBIG, as on a full disk, until the limit is lifted.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

// Permissions do not stop root, so a read-only folder is tried as an ordinary user.
bool dropRootForAWhile() {
    return geteuid() == 0 && seteuid(65534) == 0;
}
void regainRoot(bool dropped) {
    if (dropped) {
        [[maybe_unused]] const int restored = seteuid(0);
    }
}

}  // namespace

class TestSaveListToTextFile : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        FaultInjection::disarmAll();
        dir_.emplace();
    }

    void writesRowsWithCrLf_data() {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("a, empty, b: eight bytes")
            << QStringList{"a", "", "b"} << QByteArray("a\r\n\r\nb\r\n");
        QTest::newRow("empty list: empty file") << QStringList{} << QByteArray();
        QTest::newRow("one empty row") << QStringList{""} << QByteArray("\r\n");
        QTest::newRow("commas, tabs and quotes unchanged")
            << QStringList{"x,y", "\tz\t", "\"q\" 'r'"}
            << QByteArray("x,y\r\n\tz\t\r\n\"q\" 'r'\r\n");
        QTest::newRow("non-ASCII in the middle of a row")
            << QStringList{QString::fromUtf8("abc€d"), "e"}
            << QByteArray(
                   "abc\xe2\x82\xac"
                   "d\r\ne\r\n");
        QTest::newRow("spaces kept") << QStringList{"  a  "} << QByteArray("  a  \r\n");
        QTest::newRow("non-ASCII as UTF-8, no byte-order mark")
            << QStringList{QString::fromUtf8("Grüße"), QString::fromUtf8("日本"),
                           QString::fromUtf8("😀")}
            << QByteArray(
                   "Gr\xc3\xbc\xc3\x9f"
                   "e\r\n\xe6\x97\xa5\xe6\x9c\xac\r\n\xf0\x9f\x98\x80\r\n");
    }
    void writesRowsWithCrLf() {
        QFETCH(QStringList, rows);
        QFETCH(QByteArray, bytes);
        FakePlatform fake;
        ReportList list;
        fillList(list, rows);
        const QString path = dir_->filePath(QStringLiteral("out.txt"));
        YieldingLoop loop(fake.pump);
        SaveListToTextFile(fake.platform, list, path, loop);
        QCOMPARE(readAll(path), bytes);
        QVERIFY(fake.messages.shown.empty());
        QCOMPARE(fake.pump.calls, rows.size());  // one yield per row
    }

    void rowsLongerThanABlockAreWhole() {
        FakePlatform fake;
        ReportList list;
        const QString wide(3 << 20, QLatin1Char('w'));
        const QString euros(1 << 20, QChar(0x20AC));  // three bytes each
        fillList(list, {wide, QStringLiteral("x"), euros, wide});
        const QString path = dir_->filePath(QStringLiteral("wide.txt"));
        YieldingLoop loop(fake.pump);
        SaveListToTextFile(fake.platform, list, path, loop);
        const QByteArray line = wide.toLatin1() + "\r\n";
        QCOMPARE(readAll(path), line + "x\r\n" + euros.toUtf8() + "\r\n" + line);
    }

    void overwriteQuestion_data() {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Yes replaces the whole longer file")
            << MessageAnswer::Yes << QByteArray("a\r\n");
        QTest::newRow("No leaves it") << MessageAnswer::No << QByteArray(500, 'o');
    }
    void overwriteQuestion() {
        QFETCH(MessageAnswer, answer);
        QFETCH(QByteArray, bytes);
        FakePlatform fake;
        fake.messages.setApplicationTitle(QStringLiteral("Quorvane"));
        fake.messages.answers = {answer};
        ReportList list;
        fillList(list, {QStringLiteral("a")});
        const QString path = dir_->filePath(QStringLiteral("list"));  // no extension
        writeAll(path, QByteArray(500, 'o'));

        YieldingLoop loop(fake.pump);
        SaveListToTextFile(fake.platform, list, path, loop);

        QCOMPARE(fake.messages.shown.size(), size_t{1});
        const ShownMessage& question = fake.messages.shown.front();
        QCOMPARE(question.text, QStringLiteral("Are you sure you wish to overwrite ") + path +
                                    QStringLiteral(" ?"));
        QCOMPARE(question.buttons, MessageButtons::YesNo);
        QCOMPARE(question.icon, MessageIcon::None);
        QCOMPARE(question.title, QStringLiteral("Quorvane"));
        QCOMPARE(readAll(path), bytes);
        QCOMPARE(entriesOf(dir_->path()), QStringList{QStringLiteral("list")});
    }

    // Every failure: a Failure that names the file, the old file as it was, nothing left over.
    void failureLeavesOldFile_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");  // what the message must name
        QTest::newRow("folder does not exist")
            << QStringLiteral("missing folder") << QStringLiteral("No such file or directory");
        QTest::newRow("read-only file in a read-only folder")
            << QStringLiteral("read-only folder") << QStringLiteral("Permission denied");
        QTest::newRow("name is a folder") << QStringLiteral("folder name") << QString();
        QTest::newRow("name too long")
            << QStringLiteral("long name") << QStringLiteral("File name too long");
        // The file size limit fails writes as a full disk does, with its own error number.
        QTest::newRow("disk full midway")
            << QStringLiteral("full disk") << QStringLiteral("File too large");
        QTest::newRow("row removed during a yield")
            << QStringLiteral("row removed") << QStringLiteral("the list changed");
    }
    void failureLeavesOldFile() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        FakePlatform fake;
        ReportList list;
        for (int i = 0; i < 3000; ++i) {
            list.append(QString(100, QLatin1Char('r')));
        }
        const QString folder = dir_->filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(folder));
        const QByteArray old("old content\r\n");
        QString path = folder + QStringLiteral("/list.txt");
        writeAll(path, old);
        QStringList expectedEntries{QStringLiteral("list.txt")};
        std::optional<FileSizeLimit> limit;
        bool readOnly = false;

        if (kind == QLatin1String("missing folder")) {
            path = folder + QStringLiteral("/no-such-folder/list.txt");
        } else if (kind == QLatin1String("read-only folder")) {
            QVERIFY(QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner |
                                                            QFile::ExeOwner | QFile::ReadOther |
                                                            QFile::ExeOther));
            QVERIFY(QFile::setPermissions(
                folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
            fake.messages.answers = {MessageAnswer::Yes};  // asked unless root's folder is shut
            readOnly = true;
        } else if (kind == QLatin1String("folder name")) {
            path = folder + QStringLiteral("/sub");
            QVERIFY(QDir().mkpath(path));
            expectedEntries << QStringLiteral("sub");
        } else if (kind == QLatin1String("long name")) {
            path = folder + QLatin1Char('/') + QString(300, QLatin1Char('n'));
        } else if (kind == QLatin1String("full disk")) {
            fake.messages.answers = {MessageAnswer::Yes};  // replace the old file
            limit.emplace(64 * 1024);
        } else if (kind == QLatin1String("row removed")) {
            fake.messages.answers = {MessageAnswer::Yes};
            fake.pump.at[2500] = [&] { list.remove(RowNumber(1)); };
        }

        bool failed = false;
        const bool dropped = readOnly && dropRootForAWhile();
        try {
            YieldingLoop loop(fake.pump);
            SaveListToTextFile(fake.platform, list, path, loop);
        } catch (const Failure& failure) {
            failed = true;
            QVERIFY2(failure.description().contains(path), qPrintable(failure.description()));
            QVERIFY2(failure.description().contains(reason), qPrintable(failure.description()));
            QVERIFY2(!failure.description().contains(QStringLiteral("Unknown error")),
                     qPrintable(failure.description()));
        }
        regainRoot(dropped);
        limit.reset();
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(failed);
        QCOMPARE(readAll(folder + QStringLiteral("/list.txt")), old);
        expectedEntries.sort();
        QCOMPARE(entriesOf(folder), expectedEntries);
    }

    void targetThatIsNoFileIsNeverReplaced_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("socket") << "socket";
        QTest::newRow("link to the null device") << "link";
        QTest::newRow("device node (root only)") << "device";
    }
    void targetThatIsNoFileIsNeverReplaced() {
        QFETCH(QString, kind);
        const QString path = dir_->filePath(QStringLiteral("target.txt"));
        const QByteArray native = QFile::encodeName(path);
        int socketFd = -1;
        if (kind == QLatin1String("fifo")) {
            QCOMPARE(mkfifo(native.constData(), 0600), 0);
        } else if (kind == QLatin1String("socket")) {
            socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, native.constData(), sizeof(address.sun_path) - 1);
            QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        } else if (kind == QLatin1String("link")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
        } else if (geteuid() != 0 ||
                   mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
            QSKIP("making a device node needs root");
        }
        struct stat before {};
        QCOMPARE(::stat(native.constData(), &before), 0);

        FakePlatform fake;  // no answer scripted: nothing may be asked
        TableList list;
        list.addRow({QStringLiteral("row")});
        try {
            YieldingLoop loop(fake.pump);
            SaveListToTextFile(fake.platform, list, path, loop);
            QFAIL("the save went ahead");
        } catch (const Failure& failure) {
            QVERIFY2(failure.description().contains(QStringLiteral("not a regular file")),
                     qPrintable(failure.description()));
        }
        if (socketFd >= 0) {
            ::close(socketFd);
        }
        struct stat after {};
        QCOMPARE(::stat(native.constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(entriesOf(dir_->path()), QStringList{QStringLiteral("target.txt")});
    }

    void hardLinkedFileKeepsItsLinks() {
        const QString path = dir_->filePath(QStringLiteral("list.txt"));
        const QString other = dir_->filePath(QStringLiteral("other name.txt"));
        writeAll(path, QByteArray(300, 'o'));  // longer than the new content
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()),
                 0);
        FakePlatform fake;
        fake.messages.answers = {MessageAnswer::Yes};
        TableList list;
        list.addRow({QStringLiteral("a")});
        list.addRow({QStringLiteral("b")});
        YieldingLoop loop(fake.pump);
        SaveListToTextFile(fake.platform, list, path, loop);

        QCOMPARE(readAll(path), QByteArray("a\r\nb\r\n"));
        QCOMPARE(readAll(other), QByteArray("a\r\nb\r\n"));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &info), 0);
        QCOMPARE(info.st_nlink, nlink_t(2));
    }

    // What a replaced file keeps besides its content.
    void replacedFileKeeps_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a name of 255 bytes") << "long name";
        QTest::newRow("another user's owner and group (root only)") << "owner";
        QTest::newRow("an extended attribute") << "attribute";
        QTest::newRow("a folder that takes no new file: written in place") << "read-only folder";
        QTest::newRow("no unnamed files: a private name, a killed save's removed") << "named";
    }
    void replacedFileKeeps() {
        QFETCH(QString, kind);
        const QString name = kind == QLatin1String("long name") ? QString(255, QLatin1Char('n'))
                                                                : QStringLiteral("list.txt");
        const QString path = dir_->filePath(name);
        const QByteArray native = QFile::encodeName(path);
        writeAll(path, "old");
        if (kind == QLatin1String("owner") &&
            (geteuid() != 0 || ::chown(native.constData(), 65534, 65534) != 0)) {
            QSKIP("giving a file to another user needs root");
        }
        if (kind == QLatin1String("attribute") &&
            ::setxattr(native.constData(), "user.kept", "yes", 3, 0) != 0) {
            QSKIP("this file system keeps no extended attributes");
        }
        const QString anotherSave = QStringLiteral(".quorvane-another");
        if (kind == QLatin1String("named")) {
            FaultInjection::arm("save.unnamed", 1);
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
            const QString killed = dir_->filePath(QStringLiteral(".quorvane-killed"));
            writeAll(killed, "left");
            const timespec longAgo[2] = {};
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(killed).constData(), longAgo, 0), 0);
            writeAll(dir_->filePath(anotherSave), "being written");
        }
        const bool readOnlyFolder = kind == QLatin1String("read-only folder");
        if (readOnlyFolder) {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner |
                                                    QFile::ReadGroup | QFile::WriteGroup |
                                                    QFile::ReadOther | QFile::WriteOther));
            QVERIFY(QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::ExeOwner |
                                                            QFile::ReadGroup | QFile::ExeGroup |
                                                            QFile::ReadOther | QFile::ExeOther));
        }
        struct stat before {};
        QCOMPARE(::stat(native.constData(), &before), 0);
        FakePlatform fake;
        fake.messages.answers = {MessageAnswer::Yes};
        TableList list;
        list.addRow({QStringLiteral("new")});
        QStringList whileWriting;
        fake.pump.at[1] = [&] { whileWriting = entriesOf(dir_->path()); };
        const bool dropped = readOnlyFolder && dropRootForAWhile();
        YieldingLoop loop(fake.pump);
        SaveListToTextFile(fake.platform, list, path, loop);
        regainRoot(dropped);
        QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(readAll(path), QByteArray("new\r\n"));
        struct stat after {};
        QCOMPARE(::stat(native.constData(), &after), 0);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_gid, before.st_gid);
        QCOMPARE(after.st_mode, before.st_mode);
        char value[4] = {};
        QCOMPARE(::getxattr(native.constData(), "user.kept", value, sizeof value) > 0,
                 kind == QLatin1String("attribute"));
        const QStringList kept =
            kind == QLatin1String("named") ? QStringList{anotherSave, name} : QStringList{name};
        QCOMPARE(entriesOf(dir_->path()), kept);
        // While being written the new file had no name, where the file system allows that.
        QCOMPARE(whileWriting.size(), kept.size() + (kind == QLatin1String("named") ? 1 : 0));
    }

    void programEndingDoesNotCommit() {
        FakePlatform fake;
        ReportList list;
        fillList(list, {"a", "b", "c"});
        const QString path = dir_->filePath(QStringLiteral("list.txt"));
        writeAll(path, "old");
        fake.messages.answers = {MessageAnswer::Yes};
        fake.pump.at[2] = [&] { fake.pump.endProgram(); };
        YieldingLoop loop(fake.pump);
        SaveListToTextFile(fake.platform, list, path, loop);
        QCOMPARE(fake.pump.calls, 2);
        QCOMPARE(readAll(path), QByteArray("old"));
        QCOMPARE(entriesOf(dir_->path()), QStringList{QStringLiteral("list.txt")});
    }

    void stopRequestDoesNotCommit() {
        FakePlatform fake;
        ReportList list;
        fillList(list, {"a", "b"});
        const QString path = dir_->filePath(QStringLiteral("new.txt"));
        bool stop = false;
        fake.pump.at[2] = [&] { stop = true; };
        YieldingLoop loop(fake.pump, [&] { return stop; });
        SaveListToTextFile(fake.platform, list, path, loop);
        QVERIFY(!QFile::exists(path));
        QVERIFY(entriesOf(dir_->path()).isEmpty());
    }

    // The count is read once: a row added while events run is not written, and the rows are
    // taken at each index as it is reached.
    void rowCountIsReadOnce() {
        FakePlatform fake;
        TableList list;
        list.addRow({"a"});
        list.addRow({"b"});
        fake.pump.at[1] = [&] { list.addRow({"late"}); };
        fake.pump.at[2] = [&] { list.setText(RowNumber(2), "B"); };
        const QString path = dir_->filePath(QStringLiteral("out.txt"));
        YieldingLoop loop(fake.pump);
        SaveListToTextFile(fake.platform, list, path, loop);
        QCOMPARE(readAll(path), QByteArray("a\r\nB\r\n"));
        QCOMPARE(fake.pump.calls, 2);
    }

  private:
    std::optional<QTemporaryDir> dir_;
};

QTEST_MAIN(TestSaveListToTextFile)
#include "test_save_list_to_text_file.moc"

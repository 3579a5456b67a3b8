#include "output/save_list_to_text_file.h"

#include "core/failure.h"
#include "core/readable_list.h"
#include "output/cell_reader.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "shell/file_exists.h"
#include "shell/yielding_loop.h"

#include <QBuffer>
#include <QFile>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <optional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Rows are gathered into blocks of about this size before they go to the file, so a list of
// millions of short rows costs a few hundred writes.
constexpr qsizetype kBlockBytes = qsizetype{1} << 20;

[[noreturn]] void failSave(const QString& fileName, const QString& reason) {
    throw Failure(QStringLiteral("Could not save \"%1\": %2. Any file of that name was left as it "
                                 "was.")
                      .arg(fileName, reason));
}

// Why an operation on the file failed, in the system's words. Qt's own text says only
// "Unknown error" for some failures the user can act on (a full disk, an exceeded quota), so the
// system's error, read right after the failing call, names those.
QString reasonOf(const QIODevice& file, int systemError) {
    const QString qtReason = file.errorString();
    if (systemError != 0 && (qtReason.isEmpty() || qtReason == QLatin1String("Unknown error"))) {
        return QString::fromLocal8Bit(std::strerror(systemError));
    }
    return qtReason;
}

// Encodes rows into blocks written through a pointer. ASCII, the common case, is copied byte by
// byte; anything else goes through the system encoder from the first non-ASCII character on.
class EncodedLines {
  public:
    EncodedLines(QIODevice& out, const QString& fileName)
        : out_(out), fileName_(fileName), block_(kBlockBytes, Qt::Uninitialized) {}

    void append(QStringView text) {
        // No encoding needs more than four bytes for one UTF-16 unit.
        const qsizetype worstCase = 4 * text.size() + 2;
        if (used_ + worstCase > block_.size()) {
            flush();
            if (worstCase > block_.size()) {
                block_.resize(worstCase);  // a row longer than a block
            }
        }
        char* out = block_.data() + used_;
        const QChar* in = text.data();
        const qsizetype n = text.size();
        qsizetype i = 0;
#ifdef __SSE2__
        // Eight ASCII characters at a time: their UTF-16 units packed down to bytes.
        const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
        for (; i + 8 <= n; i += 8) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(units, nonAscii),
                                                  _mm_setzero_si128())) != 0xFFFF) {
                break;
            }
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(units, units));
            out += 8;
        }
#endif
        for (; i < n && in[i].unicode() < 0x80; ++i) {
            *out++ = static_cast<char>(in[i].unicode());
        }
        if (i < n) {
            out = encoder_.appendToBuffer(out, text.sliced(i));
        }
        *out++ = '\r';
        *out++ = '\n';
        used_ = out - block_.constData();
    }

    void flush() {
        errno = 0;
        if (used_ > 0 && out_.write(block_.constData(), used_) != used_) {
            const int systemError = errno;
            failSave(fileName_, reasonOf(out_, systemError));
        }
        used_ = 0;
    }

  private:
    QIODevice& out_;
    const QString& fileName_;
    QStringEncoder encoder_{QStringConverter::System};
    QByteArray block_;
    qsizetype used_ = 0;
};

bool confirmedOverwrite(MessageBoxes& messages, const QString& fileName) {
    if (!FileExists(fileName)) {
        return true;
    }
    return messages.show(QStringLiteral("Are you sure you wish to overwrite ") + fileName +
                             QStringLiteral(" ?"),
                         MessageButtons::YesNo) == MessageAnswer::Yes;
}

// A row can be gone after a yield (see YieldingLoop); the message then says why the save stopped.
QStringView rowText(CellReader& cells, RowNumber row, const QString& fileName) {
    try {
        return cells.read(row);
    } catch (const Failure& failure) {
        failSave(fileName, QStringLiteral("the list changed while it was being saved (row %1: %2)")
                               .arg(row.get())
                               .arg(failure.description()));
    }
}

enum class Target { Missing, RegularFile, HardLinkedFile, NotAFile };

// What the name stands for now. A name that stands for a device, a pipe, a socket or a folder
// is never replaced (saving over "/dev/null" as root would replace the system's device), and a
// file with several names (hard links) must keep them all.
Target targetOf(const QString& fileName) {
    const PathFacts path = LookUpPath(fileName);
    if (path.kind != PathKind::RegularFile) {
        return path.kind == PathKind::Missing ? Target::Missing : Target::NotAFile;
    }
    return path.linkCount > 1 ? Target::HardLinkedFile : Target::RegularFile;
}

// Encodes every row, yielding once per row; false when the loop was told to stop.
bool encodeRows(YieldingLoop& loop, const ReadableList& list, EncodedLines& lines,
                const QString& fileName) {
    CellReader cells(list);
    const qsizetype rows = list.rowCount();
    for (qsizetype row = 1; row <= rows; ++row) {
        if (!loop.yield(row == 1 || row == rows)) {
            return false;
        }
        lines.append(rowText(cells, RowNumber(row), fileName));
    }
    lines.flush();
    return true;
}

// Why a file is written in place rather than replaced, as the message after a failed write says.
const QString kSeveralNames =
    QStringLiteral("The file has several names (hard links), so it was written in place");
const QString kAttributesOnlyInPlace = QStringLiteral(
    "A new file could not be given this file's owner, group, permissions or "
    "attributes, so it was written in place");
const QString kFolderTakesNoNewFile = QStringLiteral(
    "The folder does not let a new file be made in it, so the file was written in place");

// A file with several names is written in place, so that every name sees the new content, and
// so is one whose owner or attributes a new file could not take over, and a file the user may
// write in a folder that takes no new file (one the user may not write, an immutable one). The
// whole content is made first and must fit on the disk before the file is touched; a failure while
// writing can still leave the file cut short, and the message says so.
void saveInPlace(YieldingLoop& loop, const ReadableList& list, const QString& fileName,
                 const QString& why) {
    QBuffer content;
    content.open(QIODevice::WriteOnly);
    EncodedLines lines(content, fileName);
    if (!encodeRows(loop, list, lines, fileName)) {
        return;
    }
    const QByteArray& bytes = content.data();

    QFile file(fileName);
    const qint64 growth = bytes.size() - file.size();
    if (growth > 0) {
        const std::optional<quint64> freeBytes = FreeBytesOnDiskOf(fileName);
        if (freeBytes && static_cast<quint64>(growth) > *freeBytes) {
            failSave(fileName, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        }
    }
    errno = 0;
    if (!file.open(QIODevice::ReadWrite)) {  // ReadWrite: opening does not cut the file short
        failSave(fileName, reasonOf(file, errno));
    }
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush() ||
        !FlushToDisk(file)) {
        const int systemError = errno;
        throw Failure(QStringLiteral("Could not save \"%1\": %2. %3 and may now be incomplete.")
                          .arg(fileName, reasonOf(file, systemError), why));
    }
}

}  // namespace

void SaveListToTextFile(Platform& platform, const ReadableList& list, const QString& fileName,
                        YieldingLoop& loop) {
    const Target target = targetOf(fileName);
    if (target == Target::NotAFile) {
        failSave(fileName, QStringLiteral("it is a folder, a device, a pipe or a socket, not a "
                                          "regular file"));
    }
    if (!confirmedOverwrite(platform.messages, fileName)) {
        return;
    }
    if (target == Target::HardLinkedFile) {
        saveInPlace(loop, list, fileName, kSeveralNames);
        return;
    }

    // The new content goes to a temporary file beside the chosen one, which replaces it only
    // once complete; until commit() the old file is untouched, and the temporary file is
    // removed when `file` goes out of scope uncommitted (a failure, a stop).
    FileReplacement file(fileName);
    errno = 0;
    if (!file.open()) {
        const int reason = errno;
        if (target == Target::RegularFile && (reason == EACCES || reason == EPERM)) {
            saveInPlace(loop, list, fileName, kFolderTakesNoNewFile);
            return;
        }
        failSave(fileName, QString::fromLocal8Bit(std::strerror(reason)));
    }
    if (!file.keepAttributesOfOldFile()) {
        file.cancel();
        saveInPlace(loop, list, fileName, kAttributesOnlyInPlace);
        return;
    }

    EncodedLines lines(file.file(), fileName);
    if (!encodeRows(loop, list, lines, fileName)) {
        file.cancel();
        return;
    }
    errno = 0;
    if (!file.commit()) {
        failSave(fileName, reasonOf(file.file(), errno));
    }
}

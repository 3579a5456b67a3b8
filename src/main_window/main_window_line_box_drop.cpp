// Files dropped on the line box: their text goes into the line where they landed, the
// delimiter between one file's text and the next.
#include "main_window/main_window.h"

#include "core/failure.h"
#include "format/text_decoding.h"
#include "main_window/report_locations.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "shell/file_exists.h"
#include "shell/handler_guard.h"
#include "shell/yielding_loop.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"

#include <QFile>
#include <QFileInfo>
#include <QShortcut>

#include <functional>

namespace {
// A piece is read and decoded in a few milliseconds, so the window answers between pieces.
constexpr qint64 kPieceBytes = qint64{4} << 20;
// A file that reports no size (the system's own files under /proc and /sys) is read up to this
// much; one that gives more never ends, or is no text to put in a line.
constexpr qint64 kUnsizedFileBytes = qint64{64} << 20;
// A huge dropped line comes with room to type at both ends, as a pasted one does, so the line
// box need not copy it.
constexpr qsizetype kRoomToType = qsizetype(1) << 20;

QStringView FileNameOf(QStringView path) {
    return path.sliced(path.lastIndexOf(u'/') + 1);
}

// Reads a file's bytes into `joined` a piece at a time, up to the size it reports when opened
// (a file that grows while it is read stops where it stood). After each piece `goOn` hears how
// far the reading is, in hundredths, and says whether to go on. False when it said no.
bool ReadFileInPieces(const QString& path, JoinedTextFiles& joined,
                      const std::function<bool(int)>& goOn) {
    QFile file;
    OpenRegularFileForReading(file, path);
    const qint64 reported = file.size();
    const qint64 limit = reported > 0 ? reported : kUnsizedFileBytes + 1;
    QByteArray piece(qsizetype(std::min(limit, kPieceBytes)), Qt::Uninitialized);
    for (;;) {
        qint64 done = 0;
        bool decoded = true;
        while (decoded && done < limit) {
            const qint64 n = file.read(piece.data(), std::min<qint64>(piece.size(), limit - done));
            if (n < 0) {
                throw Failure(file.errorString());
            }
            if (n == 0) {
                break;
            }
            done += n;
            if (reported <= 0 && done > kUnsizedFileBytes) {
                throw Failure(QStringLiteral("\"%1\" reports no size but gives more than %2 MB "
                                             "(it is a system file that may not end), so it "
                                             "was not read")
                                  .arg(path)
                                  .arg(kUnsizedFileBytes >> 20));
            }
            decoded = joined.append(QByteArrayView(piece.constData(), n));
            if (!goOn(reported > 0 ? int(done * 100 / reported) : 0)) {
                return false;
            }
        }
        // Bytes that are not UTF-8 are read once more, as the single-byte code page.
        if (decoded && joined.endFile()) {
            return true;
        }
        if (!file.seek(0)) {
            throw Failure(file.errorString());
        }
    }
}
}  // namespace

void MainWindow::acceptFilesOnLineBox() {
    lineBox->setAcceptsFileDrops(true);
    // Reading happens after the drag has finished, so the file manager is not kept waiting and
    // no message box opens in the middle of a drag.
    connect(lineBox, &LineBox::filesDropped, this, &MainWindow::lineBoxFilesDropped,
            Qt::QueuedConnection);
}

void MainWindow::lineBoxFilesDropped(const QStringList& paths, qsizetype position) {
    // While the hourglass shows, another operation owns the pointer.
    if (busy()) {
        return;
    }
    HandlerGuard on(platform_.messages, MainWindowLocations::lineBoxFilesDropped);
    setPointerShape(PointerShape::Hourglass);
    // A big file is read while the window answers (see YieldingLoop); Escape stops the drop
    // and leaves the line as it was, and so does closing the window, which ends the program.
    YieldingLoop loop(platform_.pump);
    bool stopRequested = false;
    QShortcut escape(QKeySequence(Qt::Key_Escape), this);
    connect(&escape, &QShortcut::activated, this, [&] { stopRequested = true; });
    const auto stopped = [&] { return stopRequested || loop.mustStop(); };

    const QString separator = delimiterBox->text();
    JoinedTextFiles joined(kRoomToType);
    static const QString reading = QStringLiteral("Reading: ");
    bool barShown = false;
    on.step(100, [&] {
        // Room for all the text at once, so that the line is never copied as it grows.
        qint64 bytes = 0;
        for (const QString& path : paths) {
            bytes += QFileInfo(path).size() + separator.size();
        }
        joined.expect(bytes);
    });
    for (const QString& path : paths) {
        if (on.outOfMemory()) {
            break;
        }
        on.step(100, [&] {
            if (!FileExists(path)) {
                platform_.messages.show(QStringLiteral("File not found"));
                return;
            }
            joined.startFile(separator);
            try {
                const bool read = ReadFileInPieces(path, joined, [&](int percent) {
                    barShown = true;
                    progressBar->setValue(percent);
                    progressBar->setBarText(reading, path, 0, path.size(), FileNameOf);
                    // A piece takes milliseconds: the pump's coalescing, made for items of
                    // nanoseconds, could hold the window back for several pieces.
                    loop.yield(true);
                    setPointerShape(PointerShape::Hourglass);
                    return !stopped();
                });
                if (!read) {
                    joined.abandonFile();
                }
            } catch (...) {
                joined.abandonFile();  // a file read in part adds nothing
                throw;
            }
        });
        if (stopped()) {
            break;
        }
    }
    if (loop.mustStop()) {
        return;
    }
    if (!stopRequested) {
        on.step(102, [&] {
            const QString dropped = joined.take();
            if (!dropped.isEmpty()) {
                lineBox->insertDroppedText(position, dropped);
            }
        });
    }
    if (barShown) {
        on.step(104, [&] { progressBar->setValue(0); });
        on.step(106, [&] { progressBar->setBarText(QStringLiteral("Progress Bar")); });
    }
    setPointerShape(PointerShape::Default);
}

// The skin and the hand pointer file, as any bytes: a Failure or a result, never a crash, and
// in bounded time and memory. The first byte chooses the reader.
#include "core/failure.h"
#include "fuzz_support.h"
#include "platform/qt/qt_pointer_shapes.h"
#include "shell/skin_framework.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

namespace {
// Never destroyed: the fuzzer ends the process with exit(), and tearing the application down
// among the other static objects then crashes inside Qt.
QGuiApplication* application = nullptr;
QString scratchPath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(*argc, *argv);
    scratchPath = QDir::tempPath() +
                  QStringLiteral("/quorvane-fuzz-%1.bin").arg(QCoreApplication::applicationPid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    QFile file(scratchPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
    file.close();
    try {
        if ((data[0] & 1) != 0) {
            SkinFramework skin;
            skin.loadSkin(scratchPath, QString());
        } else {
            QtPointerShapes shapes;
            const QCursor cursor = shapes.loadCursorFile(scratchPath);
            FUZZ_CHECK(!cursor.pixmap().isNull());
        }
    } catch (const Failure&) {
        // A file that is not a skin or a cursor: what the program reports.
    }
    return 0;
}

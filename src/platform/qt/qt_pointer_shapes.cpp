#include "platform/qt/qt_pointer_shapes.h"

#include "core/failure.h"
#include "platform/file_system.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QWidget>
#include <QtEndian>

namespace {
// Widgets with a pointer of their own (text boxes) keep it in this property while the
// hourglass covers them, and get it back afterwards.
constexpr char kOwnCursor[] = "quorvaneOwnCursor";
constexpr char kCovered[] = "quorvaneCovered";

// The window's own controls, without those of another window it happens to own (a dialog
// or a second window parented to it has a pointer of its own).
template <typename Visit>
void forEachControl(QWidget* widget, Visit&& visit) {
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow()) {
            continue;
        }
        visit(child);
        forEachControl(child, visit);
    }
}

void coverControls(QWidget* window, const QCursor& cursor) {
    window->setProperty(kCovered, true);
    forEachControl(window, [&](QWidget* child) {
        if (child->testAttribute(Qt::WA_SetCursor) && !child->property(kOwnCursor).isValid()) {
            child->setProperty(kOwnCursor, QVariant::fromValue(child->cursor()));
        }
        child->setCursor(cursor);
    });
}

void uncoverControls(QWidget* window) {
    if (!window->property(kCovered).toBool()) {
        return;
    }
    window->setProperty(kCovered, QVariant());
    forEachControl(window, [](QWidget* child) {
        const QVariant own = child->property(kOwnCursor);
        if (own.isValid()) {
            child->setCursor(own.value<QCursor>());
            child->setProperty(kOwnCursor, QVariant());
        } else {
            child->unsetCursor();
        }
    });
}

// A Windows cursor file starts with a 6-byte header (reserved 0, type 2, image count) and one
// 16-byte entry per image, whose bytes 4 to 7 hold the hot spot. Qt's reader gives the image
// only, so the hot spot of the first image (the one it reads) is taken from here.
struct CursorFileHead {
    bool isCursor = false;
    QPoint hotSpot;
};

CursorFileHead readCursorHead(const QByteArray& bytes) {
    CursorFileHead head;
    if (bytes.size() < 6 + 16) {
        return head;
    }
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const quint16 reserved = qFromLittleEndian<quint16>(data);
    const quint16 type = qFromLittleEndian<quint16>(data + 2);
    const quint16 count = qFromLittleEndian<quint16>(data + 4);
    if (reserved != 0 || type != 2 || count == 0) {
        return head;
    }
    head.isCursor = true;
    head.hotSpot =
        QPoint(qFromLittleEndian<quint16>(data + 6 + 4), qFromLittleEndian<quint16>(data + 6 + 6));
    return head;
}

// Nothing a cursor needs comes near this; a larger file is not a cursor.
constexpr qint64 kLargestCursorFile = 1 << 20;
}  // namespace

void QtPointerShapes::apply(QWidget* window, PointerShape shape,
                            const std::optional<QCursor>& customImage) {
    if (shape == PointerShape::Hourglass) {
        window->setCursor(Qt::WaitCursor);
        coverControls(window, QCursor(Qt::WaitCursor));
        return;
    }
    uncoverControls(window);
    if (shape == PointerShape::Custom && customImage) {
        window->setCursor(*customImage);
    } else {
        window->setCursor(Qt::ArrowCursor);
    }
}

QCursor QtPointerShapes::loadCursorFile(const QString& path) {
    QFile file;
    OpenRegularFileForReading(file, path);
    if (file.size() > kLargestCursorFile) {
        throw Failure(QStringLiteral("Invalid picture"));
    }
    QByteArray bytes = file.readAll();
    const CursorFileHead head = readCursorHead(bytes);
    if (!head.isCursor) {
        throw Failure(QStringLiteral("Invalid picture"));
    }
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (image.isNull()) {
        throw Failure(QStringLiteral("Invalid picture"));
    }
    const QPoint hotSpot(qBound(0, head.hotSpot.x(), image.width() - 1),
                         qBound(0, head.hotSpot.y(), image.height() - 1));
    return QCursor(QPixmap::fromImage(image), hotSpot.x(), hotSpot.y());
}

#include "platform/qt/qt_pointer_shapes.h"

#include "platform/failure.h"

#include <QImageReader>
#include <QPixmap>
#include <QWidget>

namespace {
// Widgets with a pointer of their own (text boxes, list viewports) keep it in this property
// while the hourglass covers them, and get it back afterwards.
constexpr char kOwnCursor[] = "quorvaneOwnCursor";
constexpr char kCovered[] = "quorvaneCovered";

void coverChildren(QWidget* window, const QCursor& cursor) {
    window->setProperty(kCovered, true);
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->isWindow()) {
            continue;
        }
        if (child->testAttribute(Qt::WA_SetCursor) && !child->property(kOwnCursor).isValid()) {
            child->setProperty(kOwnCursor, QVariant::fromValue(child->cursor()));
        }
        child->setCursor(cursor);
    }
}

void uncoverChildren(QWidget* window) {
    if (!window->property(kCovered).toBool()) {
        return;
    }
    window->setProperty(kCovered, QVariant());
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (child->isWindow()) {
            continue;
        }
        const QVariant own = child->property(kOwnCursor);
        if (own.isValid()) {
            child->setCursor(own.value<QCursor>());
            child->setProperty(kOwnCursor, QVariant());
        } else if (child->testAttribute(Qt::WA_SetCursor)) {
            child->unsetCursor();
        }
    }
}
}  // namespace

void QtPointerShapes::apply(QWidget* window, int shape, const std::optional<QCursor>& customImage) {
    if (shape == PointerShape::Hourglass) {
        window->setCursor(Qt::WaitCursor);
        coverChildren(window, QCursor(Qt::WaitCursor));
        return;
    }
    uncoverChildren(window);
    if (shape == PointerShape::Custom && customImage) {
        window->setCursor(*customImage);
    } else {
        window->setCursor(Qt::ArrowCursor);
    }
}

QCursor QtPointerShapes::loadCursorFile(const QString& path) {
    QImageReader reader(path, "cur");
    const QImage image = reader.read();
    if (image.isNull()) {
        throw Failure(QStringLiteral("Invalid picture"));
    }
    return QCursor(QPixmap::fromImage(image));
}

#pragma once

#include <QCursor>
#include <optional>

class QWidget;

// The pointer shapes a window shows: the arrow, the hourglass while it is busy, and its custom
// image (the hand) over buttons.
enum class PointerShape { Default, Hourglass, Custom };

// Shows a window's pointer shape over the whole window.
class PointerShapes {
  public:
    virtual ~PointerShapes() = default;

    // Custom shows the window's custom image, or the arrow while it has none.
    virtual void apply(QWidget* window, PointerShape shape,
                       const std::optional<QCursor>& customImage) = 0;

    // Loads a cursor file; a file that is not a valid cursor is a Failure.
    virtual QCursor loadCursorFile(const QString& path) = 0;
};

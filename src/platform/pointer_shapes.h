#pragma once

#include <QCursor>
#include <optional>

class QWidget;

// The window pointer numbers the program works with.
namespace PointerShape {
constexpr int Default = 0;
constexpr int Hourglass = 11;
constexpr int Custom = 99;
}  // namespace PointerShape

// Shows a window's pointer shape over the whole window.
class PointerShapes {
  public:
    virtual ~PointerShapes() = default;

    // Shape 99 shows the window's custom image, or the arrow while it has none.
    virtual void apply(QWidget* window, int shape, const std::optional<QCursor>& customImage) = 0;

    // Loads a cursor file; a file that is not a valid cursor is a Failure.
    virtual QCursor loadCursorFile(const QString& path) = 0;
};

#pragma once

#include "platform/pointer_shapes.h"

#include <QCursor>
#include <optional>

class QWidget;

// A window's pointer shape, and the custom image (the hand) it shows for PointerShape::Custom.
class WindowMousePointer {
  public:
    WindowMousePointer(QWidget* window, PointerShapes& shapes) : window_(window), shapes_(shapes) {}

    PointerShape value() const { return value_; }
    void set(PointerShape shape) {
        if (shape != value_) {
            value_ = shape;
            shapes_.apply(window_, value_, customImage_);
        }
    }

    const std::optional<QCursor>& customImage() const { return customImage_; }
    void setCustomImage(const QCursor& image) {
        customImage_ = image;
        if (value_ == PointerShape::Custom) {
            shapes_.apply(window_, value_, customImage_);
        }
    }
    void clearCustomImage() {
        customImage_.reset();
        if (value_ == PointerShape::Custom) {
            shapes_.apply(window_, value_, customImage_);
        }
    }

  private:
    QWidget* window_;
    PointerShapes& shapes_;
    PointerShape value_ = PointerShape::Default;
    std::optional<QCursor> customImage_;
};

#pragma once

#include "platform/pointer_shapes.h"

class QtPointerShapes : public PointerShapes {
  public:
    void apply(QWidget* window, PointerShape shape,
               const std::optional<QCursor>& customImage) override;
    QCursor loadCursorFile(const QString& path) override;
};

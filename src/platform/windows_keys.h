#pragma once

#include <QKeyEvent>

// Key codes and shift states as the list handlers know them.
namespace WindowsKeys {
constexpr int Delete = 46;

int keyCode(const QKeyEvent* event);
int shiftState(Qt::KeyboardModifiers modifiers);  // 1 Shift, 2 Ctrl, 4 Alt
}  // namespace WindowsKeys

#pragma once

#include <QFont>
#include <QRect>

class QWidget;

// Window layouts are designed in twips (1440 per inch); at 96 dots per inch 15 twips make
// one pixel.
namespace WindowLayout {
constexpr int kTwipsPerPixel = 15;

constexpr int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
inline QRect rect(int left, int top, int width, int height) {
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}
void place(QWidget* widget, int left, int top, int width, int height);

QFont windowFont();  // Arial 9 pt bold: windows, frames, text boxes and lists
QFont buttonFont();  // Arial 11.25 pt bold: push buttons
}  // namespace WindowLayout

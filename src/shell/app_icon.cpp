#include "shell/app_icon.h"

#include <QPainter>
#include <QPixmap>

namespace {
QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x5f, 0xa8));
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    // The long line on top, its pieces below.
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(10, 14, 44, 8), 3, 3);
    const QColor pieces[] = {QColor(0xff, 0xc8, 0x3d), QColor(0x8c, 0xe0, 0x9c),
                             QColor(0xff, 0x8a, 0x80)};
    for (int i = 0; i < 3; ++i) {
        painter.setBrush(pieces[i]);
        painter.drawRoundedRect(QRectF(10, 28 + i * 10, 30 - i * 6, 6), 2, 2);
    }
    return pixmap;
}
}  // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(drawIcon(size));
    }
    return icon;
}

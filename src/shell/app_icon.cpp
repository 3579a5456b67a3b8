#include "shell/app_icon.h"

#include <QSize>

QIcon ApplicationIcon() {
    // The icon files are compiled into this static library; naming their resource here keeps
    // the linker from leaving them out of the program.
    Q_INIT_RESOURCE(icons);
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/quorvane-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

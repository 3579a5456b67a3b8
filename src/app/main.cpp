#include "main_window/main_window.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QtPlatform host;
    MainWindow mainWindow(host.platform());
    mainWindow.load();
    mainWindow.showCentred();
    return QApplication::exec();
}

#include "main_window/main_window.h"
#include "platform/qt/qt_platform.h"
#include "shell/guarded_application.h"

int main(int argc, char* argv[]) {
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // Docks and window switchers match the windows to the installed desktop entry by this.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quorvane.Quorvane"));
    QtPlatform host;
    app.setMessages(&host.platform().messages);
    MainWindow mainWindow(host.platform());
    mainWindow.load();
    mainWindow.showCentred();
    const int status = QApplication::exec();
    app.setMessages(nullptr);
    return status;
}

#include "main_window/form1.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QtPlatform host;
    Form1 form1(host.platform());
    form1.Form_Load();
    form1.showCentred();
    return QApplication::exec();
}

#include "platform/qt/qt_web_browser.h"

#include <QDesktopServices>
#include <QUrl>

bool QtWebBrowser::openPage(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address));
}

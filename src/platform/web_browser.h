#pragma once

#include <QString>

// Opens a web page in the desktop's default browser. The result says whether the request
// was handed over; callers are free to ignore it.
class WebBrowser {
  public:
    virtual ~WebBrowser() = default;
    virtual bool openPage(const QString& address) = 0;
};

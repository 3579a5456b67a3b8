#pragma once

#include "platform/web_browser.h"

class QtWebBrowser : public WebBrowser {
  public:
    bool openPage(const QString& address) override;
};

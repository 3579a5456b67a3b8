#pragma once

#include <locale.h>

// libxlsxwriter prints numbers (column widths, margins) with printf, which follows the numeric
// locale: under a German locale "8,43" would make the file invalid. While one of these lives,
// the calling thread formats numbers the C way; the process locale is left alone.
class CNumericLocale {
  public:
    CNumericLocale();
    ~CNumericLocale();
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

  private:
    locale_t previous_;
};

#include "format/c_numeric_locale.h"

namespace {
locale_t cNumeric() {
    // Built once and kept for the life of the process; only LC_NUMERIC differs from the
    // process locale, so texts are still handled in the user's character set.
    static const locale_t locale = [] {
        const locale_t base = duplocale(LC_GLOBAL_LOCALE);
        const locale_t made = base ? newlocale(LC_NUMERIC_MASK, "C", base) : locale_t(nullptr);
        if (!made) {
            if (base) {
                freelocale(base);
            }
            return newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        }
        return made;
    }();
    return locale;
}
}  // namespace

CNumericLocale::CNumericLocale() {
    const locale_t c = cNumeric();
    previous_ = c ? uselocale(c) : locale_t(nullptr);
}

CNumericLocale::~CNumericLocale() {
    if (previous_) {
        uselocale(previous_);
    }
}

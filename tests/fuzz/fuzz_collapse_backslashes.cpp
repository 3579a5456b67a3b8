// Tidying joined paths: any text, either separator. Only separators are removed or added, and
// the result is longer only by the second separator a path starting with one gets.
#include "batch_window/text_file_loader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const QChar separator = (data[0] & 1) != 0 ? QLatin1Char('\\') : QLatin1Char('/');
    QString path = Utf16Of(data + 1, size - 1);
    // Separators are what this is about: make plenty of them.
    for (QChar& c : path) {
        if (c.unicode() % 3 == 0) {
            c = separator;
        }
    }
    const QString tidied = CollapseDoubleBackslashes(path, separator);
    FUZZ_CHECK(tidied.size() <= path.size() + 1);
    QString withoutSeparators = path;
    withoutSeparators.remove(separator);
    QString tidiedWithout = tidied;
    tidiedWithout.remove(separator);
    FUZZ_CHECK(tidiedWithout == withoutSeparators);
    return 0;
}

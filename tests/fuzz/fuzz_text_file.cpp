// Any bytes as a text file: decoding never fails or loses a byte it can keep, and the lines
// cover the text exactly, in order, cut only at line ends.
#include "format/text_decoding.h"
#include "format/text_lines.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = DecodeTextFile(bytes);
    // Windows-1252 gives one character per byte, UTF-8 at most one per byte.
    FUZZ_CHECK(text.size() <= bytes.size());
    FUZZ_CHECK(DecodeWindows1252(bytes).size() == bytes.size());

    qsizetype next = 0;
    bool first = true;
    ForEachTextFileLine(text, [&](qsizetype offset, qsizetype length) {
        FUZZ_CHECK(offset >= next && length >= 0 && offset + length <= text.size());
        // Between two lines there is exactly one line end: CR LF, CR or LF.
        const QStringView gap = QStringView(text).mid(next, offset - next);
        FUZZ_CHECK(first ? gap.isEmpty() : gap == u"\r\n" || gap == u"\r" || gap == u"\n");
        first = false;
        const QStringView line = QStringView(text).mid(offset, length);
        FUZZ_CHECK(!line.contains(u'\r') && !line.contains(u'\n'));
        next = offset + length;
    });
    const QStringView rest = QStringView(text).sliced(next);
    FUZZ_CHECK(rest.isEmpty() || rest == u"\r\n" || rest == u"\r" || rest == u"\n");
    return 0;
}

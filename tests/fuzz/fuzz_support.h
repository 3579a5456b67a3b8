#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Raw input as UTF-16 text: every two bytes one unit, so any unit (lone surrogates, NUL,
// U+FFFF) can turn up.
inline QString Utf16Of(const std::uint8_t* data, std::size_t size) {
    return QString(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
}

// A finding: the fuzzer keeps the input that led here.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

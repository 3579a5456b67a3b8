#pragma once

#include <QtGlobal>

// A stretch of a shared text, packed to 12 bytes: lists keep tens of millions of them.
#pragma pack(push, 4)
struct TextSpan {
    qint64 offset = 0;
    quint32 length = 0;
};
#pragma pack(pop)
static_assert(sizeof(TextSpan) == 12);

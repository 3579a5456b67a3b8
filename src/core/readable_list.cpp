#include "core/readable_list.h"

#include "core/failure.h"

void ThrowIndexOutOfBounds() {
    throw Failure(QStringLiteral("Index out of bounds"));
}

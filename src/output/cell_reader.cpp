#include "output/cell_reader.h"

#include "core/failure.h"

void CellReader::throwMissingRow() {
    throw Failure(QStringLiteral("Index out of bounds"));
}

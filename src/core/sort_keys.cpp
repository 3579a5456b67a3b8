#include "core/sort_keys.h"

#include "core/failure.h"
#include "core/tidy_steps.h"

#include <unicode/uloc.h>

#include <new>

namespace tidy::sorting {

namespace {

[[noreturn]] void throwCollatorError(UErrorCode status, const QString& localeName) {
    if (status == U_MEMORY_ALLOCATION_ERROR) {
        throw std::bad_alloc();
    }
    throw Failure(QStringLiteral("The sort order of %1 is not available (%2).")
                      .arg(localeName, QString::fromLatin1(u_errorName(status))));
}

}  // namespace

Collators openCollators(const QLocale& locale) {
    char id[ULOC_FULLNAME_CAPACITY] = "";  // empty: the root collation
    if (locale.language() != QLocale::C) {
        // The language tag keeps the script, which some languages' orders depend on.
        const QByteArray tag = locale.bcp47Name().toLatin1();
        UErrorCode status = U_ZERO_ERROR;
        int32_t parsed = 0;
        uloc_forLanguageTag(tag.constData(), id, sizeof id, &parsed, &status);
        if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING) {
            id[0] = '\0';
        }
    }
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open(id, &status));
    // Set as QCollator sets them, with numeric mode on.
    ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_DEFAULT_STRENGTH, &status);
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    Collator second;
    if (U_SUCCESS(status)) {
        second.reset(ucol_clone(collator.get(), &status));
    }
    if (U_FAILURE(status)) {
        throwCollatorError(status, locale.name());
    }
    return {std::move(collator), std::move(second)};
}

size_t appendSortKey(const RowStore& rows, quint32 row, const UCollator& collator,
                     std::vector<uint8_t>& key) {
    const auto [text, length] = collatedText(rows, row);
    const size_t start = key.size();
    size_t room = std::max<size_t>(64, key.capacity() - start);
    for (;;) {
        key.resize(start + room);
        const int32_t keyLength = ucol_getSortKey(&collator, text, length, key.data() + start,
                                                  static_cast<int32_t>(room));
        if (keyLength == 0) {
            throw std::bad_alloc();  // ICU's only failure here is running out of memory
        }
        if (static_cast<size_t>(keyLength) <= room) {
            key.resize(start + static_cast<size_t>(keyLength));
            return static_cast<size_t>(keyLength);
        }
        room = static_cast<size_t>(keyLength);
    }
}

namespace {

// Makes the keys of the rows [begin, end) of `rows`, which only this thread reads, with a
// collator of the thread's own.
void makeKeysOf(const RowStore& rows, qsizetype begin, qsizetype end, const UCollator& collator,
                SortOrder order, SortItem* items, JobProgress& progress) {
    std::vector<uint8_t> key;
    qsizetype credited = begin;
    for (qsizetype at = begin; at < end; ++at) {
        if ((at - begin) % kRowsBetweenLooks == 0) {
            progress.addDone(at - std::exchange(credited, at));
            lookForStop(progress);
        }
        const auto row = static_cast<quint32>(at);
        key.clear();
        const size_t keyLength = appendSortKey(rows, row, collator, key);
        items[at] = itemOf(key.data(), keyLength, 0, row, order);
    }
    progress.addDone(end - credited);
}

}  // namespace

void makeKeys(const RowStore& rows, const Collators& collators, SortOrder order, SortItem* items,
              JobProgress& progress) {
    const qsizetype count = rows.size();
    const qsizetype middle = count / 2;
    const RowStore secondReader = rows;
    runSideBySide([&] { makeKeysOf(rows, 0, middle, *collators.first, order, items, progress); },
                  [&] {
                      makeKeysOf(secondReader, middle, count, *collators.second, order, items,
                                 progress);
                  });
}

}  // namespace tidy::sorting

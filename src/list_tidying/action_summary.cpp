#include "list_tidying/action_summary.h"

namespace {

// "1 row", "214 rows": the program speaks English, whose plural needs only the one case.
QString rowsText(qsizetype rows, const QLocale& locale, const QString& adjective = {}) {
    const QString noun = rows == 1 ? QStringLiteral("row") : QStringLiteral("rows");
    return locale.toString(rows) + QLatin1Char(' ') +
           (adjective.isEmpty() ? noun : adjective + QLatin1Char(' ') + noun);
}

QString removedText(qsizetype removed, qsizetype left, const QLocale& locale,
                    const QString& adjective = {}) {
    return rowsText(removed, locale, adjective) + QStringLiteral(" removed, ") +
           locale.toString(left) + QStringLiteral(" left");
}

}  // namespace

QString TidySummary(TidyAction action, qsizetype before, qsizetype after, const QLocale& locale) {
    switch (action) {
        case TidyAction::TrimSpaces:
            return QStringLiteral("Spaces trimmed, ") + rowsText(after, locale);
        case TidyAction::RemoveEmptyRows:
            return removedText(before - after, after, locale, QStringLiteral("empty"));
        case TidyAction::RemoveDuplicateRows:
        case TidyAction::RemoveDuplicateRowsIgnoringCase:
            return removedText(before - after, after, locale, QStringLiteral("duplicate"));
        case TidyAction::SortAToZ:
            return QStringLiteral("Sorted ") + rowsText(after, locale) + QStringLiteral(" A to Z");
        case TidyAction::SortZToA:
            return QStringLiteral("Sorted ") + rowsText(after, locale) + QStringLiteral(" Z to A");
    }
    return {};
}

QString NothingToTidySummary(TidyAction action) {
    switch (action) {
        case TidyAction::TrimSpaces:
            return QStringLiteral("No spaces to trim");
        case TidyAction::RemoveEmptyRows:
            return QStringLiteral("No empty rows");
        case TidyAction::RemoveDuplicateRows:
            return QStringLiteral("No duplicate rows");
        case TidyAction::RemoveDuplicateRowsIgnoringCase:
            return QStringLiteral("No duplicate rows, ignoring case");
        case TidyAction::SortAToZ:
            return QStringLiteral("Already sorted A to Z");
        case TidyAction::SortZToA:
            return QStringLiteral("Already sorted Z to A");
    }
    return {};
}

QString RemovalSummary(qsizetype before, qsizetype after, const QLocale& locale) {
    if (after == 0) {
        return QStringLiteral("Cleared ") + rowsText(before, locale);
    }
    return removedText(before - after, after, locale);
}

QString RemovalName(qsizetype after) {
    return after == 0 ? QStringLiteral("Clear") : QStringLiteral("Delete");
}

QString UndoSummary(const QString& change) {
    return QStringLiteral("Undone: ") + change;
}

QString RedoSummary(const QString& change) {
    return QStringLiteral("Redone: ") + change;
}

QString CleanUpSummary(const CleanUpSteps& steps, qsizetype before, qsizetype after,
                       const QLocale& locale) {
    QString summary = QStringLiteral("Cleaned up: ") + removedText(before - after, after, locale);
    if (steps.sort) {
        summary += *steps.sort == SortOrder::AToZ ? QStringLiteral(", sorted A to Z")
                                                  : QStringLiteral(", sorted Z to A");
    }
    return summary;
}

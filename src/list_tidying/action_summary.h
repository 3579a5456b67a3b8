#pragma once

#include "core/row_tidying.h"

#include <QLocale>
#include <QString>

// What the results list says for a few seconds after a change, in place of its row count:
// "869 duplicate rows removed, 214 left". Numbers are in the desktop's format.

// A tidy action that made a new list of `after` rows out of `before`.
QString TidySummary(TidyAction action, qsizetype before, qsizetype after,
                    const QLocale& locale = QLocale());
// A tidy action that found nothing to change: said rather than silent, so that a user who
// chose it knows it ran ("No duplicate rows").
QString NothingToTidySummary(TidyAction action);
// Delete, a double-click or a clear took the list from `before` rows to `after`.
QString RemovalSummary(qsizetype before, qsizetype after, const QLocale& locale = QLocale());
// What Undo and Redo name a removal by, as the menu names a tidy action by its caption.
QString RemovalName(qsizetype after);
// Undo or Redo took back `change`, as the menu or RemovalName() names it.
QString UndoSummary(const QString& change);
QString RedoSummary(const QString& change);
// "Clean Up" made `after` rows out of `before` and sorted them as `steps` says.
QString CleanUpSummary(const CleanUpSteps& steps, qsizetype before, qsizetype after,
                       const QLocale& locale = QLocale());

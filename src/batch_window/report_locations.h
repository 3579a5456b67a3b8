#pragma once

#include <QString>

// Where the error report says a failure of the batch window happened: one location per guarded
// handler, spelled exactly as the report has always printed it (users and support quote these). To
// find the handler behind a report, search for its location here; the handler has the same name.
namespace BatchWindowLocations {
inline const QString addOneLongLine = QStringLiteral("Form2.PushButton1_Click");
inline const QString clearInputList = QStringLiteral("Form2.PushButton6_Click");
inline const QString clearResults = QStringLiteral("Form2.PushButton7_Click");
inline const QString copyResultsToClipboard = QStringLiteral("Form2.PushButton8_Click");
inline const QString explainFeature = QStringLiteral("Form2.PushButton9_Click");
inline const QString goBack = QStringLiteral("Form2.PushButton5_Click");
inline const QString load = QStringLiteral("Form2.Form_Load");
inline const QString loadDroppedFiles = QStringLiteral("Form2.ListView1_OLEDragDrop");
inline const QString loadLinesFromTextFiles = QStringLiteral("Form2.PushButton4_Click");
inline const QString loadSampleData = QStringLiteral("Form2.PushButton11_Click");
inline const QString saveResultsAsTextFile = QStringLiteral("Form2.PushButton3_Click");
inline const QString saveResultsAsWorkbook = QStringLiteral("Form2.PushButton13_Click");
inline const QString showHelp = QStringLiteral("Form2.PushButton10_Click");
}  // namespace BatchWindowLocations

#pragma once

#include <QString>

// Where the error report says a failure of the main window happened: one location per guarded
// handler, spelled exactly as the report has always printed it (users and support quote these). To
// find the handler behind a report, search for its location here; the handler has the same name.
namespace MainWindowLocations {
inline const QString clearResults = QStringLiteral("Form1.PushButton3_Click");
inline const QString copyResultsToClipboard = QStringLiteral("Form1.PushButton6_Click");
inline const QString lineBoxFilesDropped = QStringLiteral("Form1.Text1_OLEDragDrop");
inline const QString load = QStringLiteral("Form1.Form_Load");
inline const QString loadSampleData = QStringLiteral("Form1.PushButton5_Click");
inline const QString openBatchWindow = QStringLiteral("Form1.PushButton7_Click");
inline const QString saveResultsAsTextFile = QStringLiteral("Form1.PushButton1_Click");
inline const QString showHelp = QStringLiteral("Form1.PushButton4_Click");
inline const QString startSplitting = QStringLiteral("Form1.Pushbutton2_Click");
}  // namespace MainWindowLocations

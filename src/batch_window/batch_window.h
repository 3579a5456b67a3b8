#pragma once

#include "batch_window/batch_window_lifecycle.h"
#include "shell/mouse_pointer.h"

#include <QByteArrayList>
#include <QWidget>

class HandlerGuard;
class LineBox;
class ProgressBar;
class QGroupBox;
class QPushButton;
class ReportList;
class ResultsTidying;
struct Platform;

// The batch window: many long lines in, all their pieces out, split at one delimiter.
//
// The window unloads with "< Back" or its close button: it hides at once, and a handler of it
// still on the stack (a split run waiting in the event pump) stops at its next yield. Every
// opening must look like a new window. The main window keeps one and makes it new again
// (`resetForReopening`), because every window really made anew brings palettes of its own,
// and the style keeps the pixmaps it draws with per palette for as long as the program runs.
// A window that cannot be made new again (a handler of it is still running) is discarded: it
// deletes itself when its last handler has returned.
class BatchWindow : public QWidget {
    Q_OBJECT
  public:
    BatchWindow(Platform& platform, QWidget* mainWindow);
    ~BatchWindow() override;

    // Runs the load steps; the caller shows the window, centred, afterwards.
    void load();
    void showCentred();
    // Hides this window and shows the main one; once no handler of it is running, the window
    // lets go of its lists' rows.
    void unload();
    bool unloaded() const { return !lifecycle_.isOpen(); }

    // An unloaded window with no handler running can be opened again, looking as a new
    // window does before its load steps: empty lists without columns, an empty delimiter,
    // the bar and the pointer at rest, the input list focused.
    bool canReopen() const { return lifecycle_.canReopen(); }
    void resetForReopening();
    // For an unloaded window that will not be opened again: it deletes itself as soon as no
    // handler of it is running.
    void discardWhenIdle();

    PointerShape pointerShape() const { return mousePointer_.value(); }
    void setPointerShape(PointerShape shape) { mousePointer_.set(shape); }
    WindowMousePointer& mousePointer() { return mousePointer_; }
    // Busy with an operation of its own: the hourglass shows while one runs, and the handlers
    // that edit the lists do nothing meanwhile (a run is going even before its hourglass shows:
    // splitRunning()).
    bool busy() const { return pointerShape() == PointerShape::Hourglass; }

    bool splitRunning() const { return lifecycle_.splitRunning(); }

    // Handlers, named by control and event.
    void addOneLongLine();          // "Add One Long Line"
    void startSplitting();          // "Start Splitting"
    void saveResultsAsTextFile();   // "Save Results As Text File"
    void loadLinesFromTextFiles();  // "Load Long Lines From Text File"
    void goBack();                  // "< Back"
    void clearInputList();          // "Clear List" (input list)
    void clearResults();            // "Clear List" (results list)
    void copyResultsToClipboard();  // "Copy Results To Clipboard"
    void explainFeature();          // "<- What is this feature?"
    void showHelp();                // "Help"
    void loadSampleData();          // "Load Sample/Example Data"
    void saveResultsAsWorkbook();   // "Save Results As Excel File"
    void inputListKeyPressed(int key);
    void resultsListKeyPressed(int key);

    // Appends the lines of every file, in order, as a drop onto the input list does.
    void loadDroppedFiles(const QStringList& paths);
    // Appends the lines of every file, in order, as "Load Long Lines From Text File" appends the
    // files chosen in its dialog (files named on the command line, by their bytes); one message
    // then lists the files not loaded and why.
    void loadLinesFromFilesGiven(const QByteArrayList& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void connectHandlers();
    void addShortcuts();
    // The steps of "Load Long Lines From Text File" after its dialog.
    void loadChosenFiles(HandlerGuard& on, const QStringList& paths);
    void loadNamedFiles(const QByteArrayList& paths);
    // Runs a handler so that the window outlives it even when it unloads meanwhile.
    template <typename Handler>
    void run(Handler handler);
    void removeSelectedRow(ReportList* list);
    // An unloaded window lets go of what its lists and bar hold, so a window kept for the
    // next opening costs no memory meanwhile.
    void releaseContents();
    void follow(BatchWindowLifecycle::Then then);

    // Each control's object name is its member's name: tests and tools find it by that name.
    QPushButton* addLineButton;         // "Add One Long Line"
    QPushButton* startSplittingButton;  // "Start Splitting"
    QPushButton* saveResultsButton;     // "Save Results As Text File"
    QPushButton* loadFilesButton;       // "Load Long Lines From Text File"
    QPushButton* backButton;            // "< Back"
    QPushButton* clearInputButton;      // "Clear List" (input list)
    QPushButton* clearResultsButton;    // "Clear List" (results list)
    QPushButton* copyResultsButton;     // "Copy Results To Clipboard"
    QPushButton* featureNoteButton;     // "<- What is this feature?"
    QPushButton* helpButton;            // "Help"
    QPushButton* loadSampleButton;      // "Load Sample/Example Data"
    QPushButton* saveWorkbookButton;    // "Save Results As Excel File"
    QGroupBox* delimiterFrame;          // "Split By This Character Or Characters"
    LineBox* delimiterBox;              // the delimiter
    ReportList* inputList;              // input list, column " Long Line(s)"
    ReportList* resultsList;            // results list, column " Output"
    ResultsTidying* resultsTidying;     // the results list's context menu and its undo
    ProgressBar* progressBar;

    Platform& platform_;
    QWidget* mainWindow_;
    WindowMousePointer mousePointer_;
    BatchWindowLifecycle lifecycle_;
    QString lastSplitDelimiter_;  // offered first when the results are joined again
};

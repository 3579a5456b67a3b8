#pragma once

#include "shell/mouse_pointer.h"

#include <QByteArrayList>
#include <QPointer>
#include <QWidget>

#include <memory>

class BatchWindow;
class LineBox;
class ProgressBar;
class QGroupBox;
class QPushButton;
class ReportList;
class ResultsTidying;
struct Platform;

// The main window: one long line, its delimiter, the results list and what can be done with it.
class MainWindow : public QWidget {
    Q_OBJECT
  public:
    explicit MainWindow(Platform& platform);
    ~MainWindow() override;

    // Runs the load steps; the program shows the window, centred, afterwards.
    void load();
    void showCentred();

    PointerShape pointerShape() const { return mousePointer_.value(); }
    void setPointerShape(PointerShape shape) { mousePointer_.set(shape); }
    WindowMousePointer& mousePointer() { return mousePointer_; }
    // Busy with an operation of its own: the hourglass shows while one runs, and the handlers
    // that edit the lists do nothing meanwhile.
    bool busy() const { return pointerShape() == PointerShape::Hourglass; }

    // Handlers, named by control and event.
    void saveResultsAsTextFile();   // "Save Results As Text File"
    void startSplitting();          // "Start Splitting"
    void clearResults();            // "Clear Results"
    void showHelp();                // "Help"
    void loadSampleData();          // "Load Sample/Example Data"
    void copyResultsToClipboard();  // "Copy Results To Clipboard"
    void openBatchWindow();         // "Split Multiple Long Lines At Once"
    void resultsListKeyPressed(int key);
    void resultsListDoubleClicked();
    // Inserts the text of files dropped on the line box where they landed, read after the drag.
    void lineBoxFilesDropped(const QStringList& paths, qsizetype position);

    // Opens the batch window with the lines of the files loaded, as its "Load Long Lines From
    // Text File" loads the files chosen there (files named on the command line).
    void openBatchWindowWith(const QByteArrayList& paths);

    // The batch window while it is open; none once it has unloaded.
    BatchWindow* batchWindow() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectHandlers();
    void addShortcuts();
    void acceptFilesOnLineBox();
    void removeSelectedResult();

    // Each control's object name is its member's name: tests and tools find it by that name.
    QPushButton* saveResultsButton;      // "Save Results As Text File"
    QPushButton* startSplittingButton;   // "Start Splitting"
    QPushButton* clearResultsButton;     // "Clear Results"
    QPushButton* helpButton;             // "Help"
    QPushButton* loadSampleButton;       // "Load Sample/Example Data"
    QPushButton* copyResultsButton;      // "Copy Results To Clipboard"
    QPushButton* openBatchWindowButton;  // "Split Multiple Long Lines At Once"
    QGroupBox* lineFrame;                // "Paste Long Line Here"
    QGroupBox* delimiterFrame;           // "Split By This Character Or Characters"
    LineBox* lineBox;                    // the long line
    LineBox* delimiterBox;               // the delimiter
    ReportList* resultsList;             // results, column "Output"
    ResultsTidying* resultsTidying;      // the results list's context menu and its undo
    ProgressBar* progressBar;

    Platform& platform_;
    WindowMousePointer mousePointer_;
    QPointer<BatchWindow> batchWindow_;  // made on first use and opened again from then on
    QString lastSplitDelimiter_;         // offered first when the results are joined again
};

#pragma once

#include "shell/mouse_pointer.h"

#include <QWidget>

class HandlerGuard;
class LineBox;
class ProgressBar;
class QGroupBox;
class QPushButton;
class ReportList;
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
class Form2 : public QWidget {
    Q_OBJECT
  public:
    Form2(Platform& platform, QWidget* mainWindow);
    ~Form2() override;

    // Runs the load steps; the caller shows the window, centred, afterwards.
    void Form_Load();
    void showCentred();
    // Hides this window and shows the main one; once no handler of it is running, the window
    // lets go of its lists' rows.
    void Form_Unload();
    bool unloaded() const { return unloading_; }

    // An unloaded window with no handler running can be opened again, looking as a new
    // window does before its load steps: empty lists without columns, an empty delimiter,
    // the bar and the pointer at rest, the input list focused.
    bool canReopen() const { return unloading_ && handlersRunning_ == 0; }
    void resetForReopening();
    // For an unloaded window that will not be opened again: it deletes itself as soon as no
    // handler of it is running.
    void discardWhenIdle();

    int MousePointer() const { return mousePointer_.value(); }
    void setMousePointer(int shape) { mousePointer_.set(shape); }
    WindowMousePointer& mousePointer() { return mousePointer_; }

    bool splitRunning() const { return splitRunning_; }

    // Handlers, named by control and event.
    void PushButton1_Click();   // "Add One Long Line"
    void PushButton2_Click();   // "Start Splitting"
    void PushButton3_Click();   // "Save Results As Text File"
    void PushButton4_Click();   // "Load Long Lines From Text File"
    void PushButton5_Click();   // "< Back"
    void PushButton6_Click();   // "Clear List" (input list)
    void PushButton7_Click();   // "Clear List" (results list)
    void PushButton8_Click();   // "Copy Results To Clipboard"
    void PushButton9_Click();   // "<- What is this feature?"
    void PushButton10_Click();  // "Help"
    void PushButton11_Click();  // "Load Sample/Example Data"
    void PushButton13_Click();  // "Save Results As Excel File"
    void ListView1_KeyDown(int keyCode, int shift);
    void ListView2_KeyDown(int keyCode, int shift);

    // Appends the lines of every file, in order, as a drop onto the input list does.
    void loadDroppedFiles(const QStringList& paths);

    QPushButton* PushButton1;   // "Add One Long Line"
    QPushButton* PushButton2;   // "Start Splitting"
    QPushButton* PushButton3;   // "Save Results As Text File"
    QPushButton* PushButton4;   // "Load Long Lines From Text File"
    QPushButton* PushButton5;   // "< Back"
    QPushButton* PushButton6;   // "Clear List" (input list)
    QPushButton* PushButton7;   // "Clear List" (results list)
    QPushButton* PushButton8;   // "Copy Results To Clipboard"
    QPushButton* PushButton9;   // "<- What is this feature?"
    QPushButton* PushButton10;  // "Help"
    QPushButton* PushButton11;  // "Load Sample/Example Data"
    QPushButton* PushButton13;  // "Save Results As Excel File"
    QGroupBox* Frame2;          // "Split By This Character Or Characters"
    LineBox* Text2;             // the delimiter
    ReportList* ListView1;      // input list, column " Long Line(s)"
    ReportList* ListView2;      // results list, column " Output"
    ProgressBar* ProgressBar1;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void connectHandlers();
    // Runs a handler so that the window outlives it even when it unloads meanwhile.
    template <typename Handler>
    void run(Handler handler);
    void removeSelectedRow(ReportList* list);
    // An unloaded window lets go of what its lists and bar hold, so a window kept for the
    // next opening costs no memory meanwhile.
    void releaseContents();

    Platform& platform_;
    QWidget* mainWindow_;
    WindowMousePointer mousePointer_;
    int handlersRunning_ = 0;
    bool unloading_ = false;  // from the unload on: loops of this window stop at their next yield
    bool discarded_ = false;
    int opening_ = 0;  // counts the openings, so work queued in one never runs in the next
    bool splitRunning_ = false;
};

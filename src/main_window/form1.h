#pragma once

#include "shell/mouse_pointer.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class Form2;
class LineBox;
class ProgressBar;
class QGroupBox;
class QPushButton;
class ReportList;
struct Platform;

// The main window: one long line, its delimiter, the results list and what can be done with it.
class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Platform& platform);
    ~Form1() override;

    // Runs the load steps; the program shows the window, centred, afterwards.
    void Form_Load();
    void showCentred();

    int MousePointer() const { return mousePointer_.value(); }
    void setMousePointer(int shape) { mousePointer_.set(shape); }
    WindowMousePointer& mousePointer() { return mousePointer_; }

    // Handlers, named by control and event.
    void PushButton1_Click();  // "Save Results As Text File"
    void PushButton2_Click();  // "Start Splitting"
    void PushButton3_Click();  // "Clear Results"
    void PushButton4_Click();  // "Help"
    void PushButton5_Click();  // "Load Sample/Example Data"
    void PushButton6_Click();  // "Copy Results To Clipboard"
    void PushButton7_Click();  // "Split Multiple Long Lines At Once"
    void ListView1_KeyDown(int keyCode, int shift);
    void ListView1_DblClick();

    // The batch window while it is open; none once it has unloaded.
    Form2* batchWindow() const;

    QPushButton* PushButton1;  // "Save Results As Text File"
    QPushButton* PushButton2;  // "Start Splitting"
    QPushButton* PushButton3;  // "Clear Results"
    QPushButton* PushButton4;  // "Help"
    QPushButton* PushButton5;  // "Load Sample/Example Data"
    QPushButton* PushButton6;  // "Copy Results To Clipboard"
    QPushButton* PushButton7;  // "Split Multiple Long Lines At Once"
    QGroupBox* Frame1;         // "Paste Long Line Here"
    QGroupBox* Frame2;         // "Split By This Character Or Characters"
    LineBox* Text1;            // the long line
    LineBox* Text2;            // the delimiter
    ReportList* ListView1;     // results, column "Output"
    ProgressBar* ProgressBar1;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void connectHandlers();
    void removeSelectedResult();

    Platform& platform_;
    WindowMousePointer mousePointer_;
    QPointer<Form2> batchWindow_;  // made on first use and opened again from then on
};

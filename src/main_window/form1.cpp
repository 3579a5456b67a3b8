#include "main_window/form1.h"

#include "platform/controls/progress_bar.h"
#include "platform/line_box/line_box.h"
#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "shell/pointer_feedback.h"
#include "shell/window_controls.h"
#include "shell/window_layout.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>

Form1::Form1(Platform& platform) : platform_(platform), mousePointer_(this, platform.pointers) {
    buildControls();
    connectHandlers();
    InstallPointerFeedback(
        mousePointer_,
        {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6, PushButton7},
        {this, Frame1, Frame2, Text1, Text2, ListView1});
}

Form1::~Form1() = default;

void Form1::buildControls() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(WindowLayout::pixels(8040), WindowLayout::pixels(6345));
    setFont(WindowLayout::windowFont());
    // White until a theme recolours it.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    PushButton5 = WindowControls::button(this, QStringLiteral("Load Sample/Example Data"), 120, 120,
                                         3600, 405);
    PushButton7 = WindowControls::button(this, QStringLiteral("Split Multiple Long Lines At Once"),
                                         3840, 120, 4080, 405);
    Frame1 =
        WindowControls::frame(this, QStringLiteral("Paste Long Line Here"), 120, 600, 7800, 800);
    Text1 = WindowControls::frameTextBox(Frame1);
    Frame2 = WindowControls::frame(this, QStringLiteral("Split By This Character Or Characters"),
                                   120, 1455, 7800, 800);
    Text2 = WindowControls::frameTextBox(Frame2);
    PushButton2 =
        WindowControls::button(this, QStringLiteral("Start Splitting"), 120, 2370, 7800, 405);
    ListView1 = WindowControls::list(this, 120, 2880, 7800, 1815);
    ListView1->setToolTip(QStringLiteral(
        "Double-click item to remove it. Move | line to right and out of window to reveal full "
        "names."));
    PushButton1 = WindowControls::button(this, QStringLiteral("Save Results As Text File"), 120,
                                         4780, 3840, 405);
    PushButton3 =
        WindowControls::button(this, QStringLiteral("Clear Results"), 4080, 4780, 3840, 405);
    PushButton6 = WindowControls::button(this, QStringLiteral("Copy Results To Clipboard"), 120,
                                         5290, 3840, 405);
    PushButton4 = WindowControls::button(this, QStringLiteral("Help"), 4080, 5290, 3840, 405);
    ProgressBar1 = new ProgressBar(this);
    WindowLayout::place(ProgressBar1, 120, 5820, 7800, 405);
    ProgressBar1->setBarText(QStringLiteral("Progress Bar"));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));

    // The designed tab order; the results list comes first and so has the focus at start.
    const QList<QWidget*> tabOrder{ListView1, PushButton2, PushButton1, PushButton3, Text1,
                                   Text2,     PushButton4, PushButton5, PushButton6, PushButton7};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
    ListView1->setFocus();
}

void Form1::connectHandlers() {
    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connect(ListView1, &ReportList::keyDown, this, &Form1::ListView1_KeyDown);
    connect(ListView1, &ReportList::dblClick, this, &Form1::ListView1_DblClick);
}

void Form1::showCentred() {
    WindowControls::showCentred(this, ListView1);
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once, whatever is running.
    event->accept();
    platform_.pump.endProgram();
}

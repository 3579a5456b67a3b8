#include "main_window/main_window.h"

#include "list_tidying/results_tidying.h"
#include "platform/platform.h"
#include "shell/pointer_feedback.h"
#include "shell/window_controls.h"
#include "shell/window_fitting.h"
#include "shell/window_layout.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>

MainWindow::MainWindow(Platform& platform)
    : platform_(platform), mousePointer_(this, platform.pointers) {
    setObjectName(QStringLiteral("mainWindow"));
    buildControls();
    connectHandlers();
    addShortcuts();
    acceptFilesOnLineBox();
    InstallPointerFeedback(mousePointer_,
                           {saveResultsButton, startSplittingButton, clearResultsButton, helpButton,
                            loadSampleButton, copyResultsButton, openBatchWindowButton},
                           {this, lineFrame, delimiterFrame, lineBox, delimiterBox, resultsList});
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(WindowLayout::pixels(8040), WindowLayout::pixels(6345));
    setFont(WindowLayout::windowFont());
    // White until a theme recolours it.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    loadSampleButton = WindowControls::button(this, QStringLiteral("Load Sample/Example Data"), 120,
                                              120, 3600, 405);
    openBatchWindowButton = WindowControls::button(
        this, QStringLiteral("Split Multiple Long Lines At Once"), 3840, 120, 4080, 405);
    lineFrame =
        WindowControls::frame(this, QStringLiteral("Paste Long Line Here"), 120, 600, 7800, 800);
    lineBox = WindowControls::frameTextBox(lineFrame);
    delimiterFrame = WindowControls::frame(
        this, QStringLiteral("Split By This Character Or Characters"), 120, 1455, 7800, 800);
    delimiterBox = WindowControls::frameTextBox(delimiterFrame);
    delimiterBox->offerControlCharacterEntries(true);
    startSplittingButton =
        WindowControls::button(this, QStringLiteral("Start Splitting"), 120, 2370, 7800, 405);
    resultsList = WindowControls::list(this, 120, 2880, 7800, 1815);
    resultsList->setToolTip(QStringLiteral(
        "Double-click item to remove it. Move | line to right and out of window to reveal full "
        "names."));
    saveResultsButton = WindowControls::button(this, QStringLiteral("Save Results As Text File"),
                                               120, 4780, 3840, 405);
    clearResultsButton =
        WindowControls::button(this, QStringLiteral("Clear Results"), 4080, 4780, 3840, 405);
    copyResultsButton = WindowControls::button(this, QStringLiteral("Copy Results To Clipboard"),
                                               120, 5290, 3840, 405);
    helpButton = WindowControls::button(this, QStringLiteral("Help"), 4080, 5290, 3840, 405);
    progressBar = new ProgressBar(this);
    WindowLayout::place(progressBar, 120, 5820, 7800, 405);
    progressBar->setBarText(QStringLiteral("Progress Bar"));
    progressBar->setAccessibleName(QStringLiteral("Progress"));

    // The designed tab order; the results list comes first and so has the focus at start.
    const QList<QWidget*> tabOrder{
        resultsList,       startSplittingButton, saveResultsButton, clearResultsButton,
        lineBox,           delimiterBox,         helpButton,        loadSampleButton,
        copyResultsButton, openBatchWindowButton};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
    // Object names are the members' names, for tests and tools that look controls up.
    saveResultsButton->setObjectName(QStringLiteral("saveResultsButton"));
    startSplittingButton->setObjectName(QStringLiteral("startSplittingButton"));
    clearResultsButton->setObjectName(QStringLiteral("clearResultsButton"));
    helpButton->setObjectName(QStringLiteral("helpButton"));
    loadSampleButton->setObjectName(QStringLiteral("loadSampleButton"));
    copyResultsButton->setObjectName(QStringLiteral("copyResultsButton"));
    openBatchWindowButton->setObjectName(QStringLiteral("openBatchWindowButton"));
    lineFrame->setObjectName(QStringLiteral("lineFrame"));
    delimiterFrame->setObjectName(QStringLiteral("delimiterFrame"));
    lineBox->setObjectName(QStringLiteral("lineBox"));
    delimiterBox->setObjectName(QStringLiteral("delimiterBox"));
    resultsList->setObjectName(QStringLiteral("resultsList"));
    progressBar->setObjectName(QStringLiteral("progressBar"));
    resultsList->setFocus();
}

void MainWindow::connectHandlers() {
    connect(saveResultsButton, &QPushButton::clicked, this, &MainWindow::saveResultsAsTextFile);
    connect(startSplittingButton, &QPushButton::clicked, this, &MainWindow::startSplitting);
    connect(clearResultsButton, &QPushButton::clicked, this, &MainWindow::clearResults);
    connect(helpButton, &QPushButton::clicked, this, &MainWindow::showHelp);
    connect(loadSampleButton, &QPushButton::clicked, this, &MainWindow::loadSampleData);
    connect(copyResultsButton, &QPushButton::clicked, this, &MainWindow::copyResultsToClipboard);
    connect(openBatchWindowButton, &QPushButton::clicked, this, &MainWindow::openBatchWindow);
    connect(resultsList, &ReportList::keyPressed, this, &MainWindow::resultsListKeyPressed);
    connect(resultsList, &ReportList::rowDoubleClicked, this,
            &MainWindow::resultsListDoubleClicked);
    resultsTidying = new ResultsTidying(*resultsList, *progressBar, platform_, mousePointer_,
                                        [this] { return busy(); });
    resultsTidying->setObjectName(QStringLiteral("resultsTidying"));
    resultsTidying->setLastDelimiter([this] { return lastSplitDelimiter_; });
}

void MainWindow::showCentred() {
    WindowFitting::showCentred(this, resultsList);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program at once, whatever is running.
    event->accept();
    resultsTidying->stopWorking();
    platform_.pump.endProgram();
}

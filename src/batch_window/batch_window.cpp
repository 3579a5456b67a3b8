#include "batch_window/batch_window.h"

#include "batch_window/report_locations.h"
#include "list_tidying/results_tidying.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/pointer_feedback.h"
#include "shell/window_controls.h"
#include "shell/window_fitting.h"
#include "shell/window_layout.h"
#include "widgets/dropped_files.h"
#include "widgets/line_box/line_box.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QPushButton>

BatchWindow::BatchWindow(Platform& platform, QWidget* mainWindow)
    : platform_(platform), mainWindow_(mainWindow), mousePointer_(this, platform.pointers) {
    setObjectName(QStringLiteral("batchWindow"));
    buildControls();
    connectHandlers();
    addShortcuts();
    InstallPointerFeedback(mousePointer_,
                           {addLineButton, startSplittingButton, saveResultsButton, loadFilesButton,
                            backButton, clearInputButton, clearResultsButton, copyResultsButton,
                            featureNoteButton, helpButton, loadSampleButton, saveWorkbookButton},
                           {this, delimiterFrame, inputList, resultsList});
}

BatchWindow::~BatchWindow() = default;

void BatchWindow::buildControls() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(WindowLayout::pixels(8040), WindowLayout::pixels(8985));
    setFont(WindowLayout::windowFont());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    backButton = WindowControls::button(this, QStringLiteral("< Back"), 120, 120, 7800, 405);
    inputList = WindowControls::list(this, 120, 620, 7800, 1815);
    addLineButton =
        WindowControls::button(this, QStringLiteral("Add One Long Line"), 120, 2520, 3840, 405);
    clearInputButton =
        WindowControls::button(this, QStringLiteral("Clear List"), 4080, 2520, 3840, 405);
    loadFilesButton = WindowControls::button(this, QStringLiteral("Load Long Lines From Text File"),
                                             120, 3030, 3840, 405);
    featureNoteButton = WindowControls::button(this, QStringLiteral("<- What is this feature?"),
                                               4080, 3030, 3840, 405);
    loadSampleButton = WindowControls::button(this, QStringLiteral("Load Sample/Example Data"), 120,
                                              3540, 3840, 405);
    helpButton = WindowControls::button(this, QStringLiteral("Help"), 4080, 3540, 3840, 405);
    delimiterFrame = WindowControls::frame(
        this, QStringLiteral("Split By This Character Or Characters"), 120, 4080, 7800, 800);
    delimiterBox = WindowControls::frameTextBox(delimiterFrame);
    delimiterBox->offerControlCharacterEntries(true);
    startSplittingButton =
        WindowControls::button(this, QStringLiteral("Start Splitting"), 120, 5010, 7800, 405);
    resultsList = WindowControls::list(this, 120, 5505, 7800, 1815);
    saveResultsButton = WindowControls::button(this, QStringLiteral("Save Results As Text File"),
                                               120, 7410, 3840, 405);
    saveWorkbookButton = WindowControls::button(this, QStringLiteral("Save Results As Excel File"),
                                                4080, 7410, 3840, 405);
    copyResultsButton = WindowControls::button(this, QStringLiteral("Copy Results To Clipboard"),
                                               120, 7920, 3840, 405);
    clearResultsButton =
        WindowControls::button(this, QStringLiteral("Clear List"), 4080, 7920, 3840, 405);
    progressBar = new ProgressBar(this);
    WindowLayout::place(progressBar, 120, 8450, 7800, 405);
    progressBar->setBarText(QStringLiteral("Progress Bar"));
    progressBar->setAccessibleName(QStringLiteral("Progress"));

    // Two buttons share the caption "Clear List"; a screen reader tells them apart.
    inputList->setAccessibleName(QStringLiteral("Long lines"));
    resultsList->setAccessibleName(QStringLiteral("Results"));
    clearInputButton->setAccessibleName(QStringLiteral("Clear List (long lines)"));
    clearResultsButton->setAccessibleName(QStringLiteral("Clear List (results)"));

    // Text files dropped from a file manager land on the input list.
    inputList->setAcceptDrops(true);
    inputList->viewport()->setAcceptDrops(true);
    inputList->viewport()->installEventFilter(this);

    // The designed tab order; the input list comes first and so has the focus at start.
    const QList<QWidget*> tabOrder{inputList,          resultsList,        addLineButton,
                                   loadFilesButton,    clearInputButton,   startSplittingButton,
                                   saveResultsButton,  saveWorkbookButton, backButton,
                                   clearResultsButton, copyResultsButton,  featureNoteButton,
                                   helpButton,         loadSampleButton,   delimiterBox};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
    // Object names are the members' names, for tests and tools that look controls up.
    addLineButton->setObjectName(QStringLiteral("addLineButton"));
    startSplittingButton->setObjectName(QStringLiteral("startSplittingButton"));
    saveResultsButton->setObjectName(QStringLiteral("saveResultsButton"));
    loadFilesButton->setObjectName(QStringLiteral("loadFilesButton"));
    backButton->setObjectName(QStringLiteral("backButton"));
    clearInputButton->setObjectName(QStringLiteral("clearInputButton"));
    clearResultsButton->setObjectName(QStringLiteral("clearResultsButton"));
    copyResultsButton->setObjectName(QStringLiteral("copyResultsButton"));
    featureNoteButton->setObjectName(QStringLiteral("featureNoteButton"));
    helpButton->setObjectName(QStringLiteral("helpButton"));
    loadSampleButton->setObjectName(QStringLiteral("loadSampleButton"));
    saveWorkbookButton->setObjectName(QStringLiteral("saveWorkbookButton"));
    delimiterFrame->setObjectName(QStringLiteral("delimiterFrame"));
    delimiterBox->setObjectName(QStringLiteral("delimiterBox"));
    inputList->setObjectName(QStringLiteral("inputList"));
    resultsList->setObjectName(QStringLiteral("resultsList"));
    progressBar->setObjectName(QStringLiteral("progressBar"));
    inputList->setFocus();
}

template <typename Handler>
void BatchWindow::run(Handler handler) {
    lifecycle_.handlerStarted();
    struct Leaving {
        BatchWindow& window;
        ~Leaving() { window.follow(window.lifecycle_.handlerFinished()); }
    } leaving{*this};
    handler();
}

void BatchWindow::follow(BatchWindowLifecycle::Then then) {
    switch (then) {
        case BatchWindowLifecycle::Then::ReleaseContents:
            releaseContents();
            break;
        case BatchWindowLifecycle::Then::Delete:
            deleteLater();
            break;
        case BatchWindowLifecycle::Then::Nothing:
            break;
    }
}

void BatchWindow::connectHandlers() {
    const auto click = [this](QPushButton* button, void (BatchWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            if (lifecycle_.isOpen()) {
                run([this, handler] { (this->*handler)(); });
            }
        });
    };
    click(addLineButton, &BatchWindow::addOneLongLine);
    click(startSplittingButton, &BatchWindow::startSplitting);
    click(saveResultsButton, &BatchWindow::saveResultsAsTextFile);
    click(loadFilesButton, &BatchWindow::loadLinesFromTextFiles);
    click(backButton, &BatchWindow::goBack);
    click(clearInputButton, &BatchWindow::clearInputList);
    click(clearResultsButton, &BatchWindow::clearResults);
    click(copyResultsButton, &BatchWindow::copyResultsToClipboard);
    click(featureNoteButton, &BatchWindow::explainFeature);
    click(helpButton, &BatchWindow::showHelp);
    click(loadSampleButton, &BatchWindow::loadSampleData);
    click(saveWorkbookButton, &BatchWindow::saveResultsAsWorkbook);
    connect(inputList, &ReportList::keyPressed, this, &BatchWindow::inputListKeyPressed);
    connect(resultsList, &ReportList::keyPressed, this, &BatchWindow::resultsListKeyPressed);
    resultsTidying = new ResultsTidying(*resultsList, *progressBar, platform_, mousePointer_,
                                        [this] { return busy() || splitRunning(); });
    resultsTidying->setObjectName(QStringLiteral("resultsTidying"));
    resultsTidying->setLastDelimiter([this] { return lastSplitDelimiter_; });
}

void BatchWindow::loadLinesFromFilesGiven(const QByteArrayList& paths) {
    if (lifecycle_.isOpen()) {
        run([this, &paths] { loadNamedFiles(paths); });
    }
}

void BatchWindow::showCentred() {
    WindowFitting::showCentred(this, inputList);
}

void BatchWindow::unload() {
    if (!lifecycle_.isOpen()) {
        return;
    }
    const BatchWindowLifecycle::Then then = lifecycle_.hide();
    // A tidy action works on its own copy of the results, not as a handler: it stops here and
    // is waited for, so the lifecycle never has to know of it.
    resultsTidying->stopWorking();
    hide();
    if (mainWindow_ != nullptr && !platform_.pump.programEnding()) {
        mainWindow_->show();
    }
    follow(then);
}

void BatchWindow::releaseContents() {
    resultsTidying->forgetHistory();
    inputList->clear();
    resultsList->clear();
    progressBar->setBarText(QStringLiteral("Progress Bar"));
}

void BatchWindow::resetForReopening() {
    lifecycle_.reopen();
    inputList->removeColumnsAndRows();
    resultsList->removeColumnsAndRows();
    delimiterBox->setText(QString());
    lastSplitDelimiter_.clear();
    progressBar->setValue(0);
    progressBar->setBarText(QStringLiteral("Progress Bar"));
    setPointerShape(PointerShape::Default);
    mousePointer_.clearCustomImage();
    inputList->setFocus();
}

void BatchWindow::discardWhenIdle() {
    follow(lifecycle_.discard());
}

void BatchWindow::closeEvent(QCloseEvent* event) {
    // The window's close button unloads it like "< Back"; it never ends the program.
    event->accept();
    unload();
}

bool BatchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != inputList->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!LocalFilesOf(drag->mimeData()).isEmpty()) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = LocalFilesOf(drop->mimeData());
            if (paths.isEmpty()) {
                drop->ignore();
                return true;
            }
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            // Reading happens after the drag has finished, so the file manager is not kept waiting
            // and no message box opens in the middle of a drag.
            QMetaObject::invokeMethod(
                this,
                [this, paths, opening = lifecycle_.opening()] {
                    if (lifecycle_.isOpen() && opening == lifecycle_.opening()) {
                        run([this, paths] { loadDroppedFiles(paths); });
                    }
                },
                Qt::QueuedConnection);
            return true;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}

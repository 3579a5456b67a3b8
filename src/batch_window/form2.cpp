#include "batch_window/form2.h"

#include "platform/controls/progress_bar.h"
#include "platform/line_box/line_box.h"
#include "platform/list/report_list.h"
#include "platform/platform.h"
#include "shell/pointer_feedback.h"
#include "shell/window_controls.h"
#include "shell/window_layout.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {
QStringList localFilesOf(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    return paths;
}
}  // namespace

Form2::Form2(Platform& platform, QWidget* mainWindow)
    : platform_(platform), mainWindow_(mainWindow), mousePointer_(this, platform.pointers) {
    buildControls();
    connectHandlers();
    InstallPointerFeedback(
        mousePointer_,
        {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6, PushButton7,
         PushButton8, PushButton9, PushButton10, PushButton11, PushButton13},
        {this, Frame2, ListView1, ListView2});
}

Form2::~Form2() = default;

void Form2::buildControls() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(WindowLayout::pixels(8040), WindowLayout::pixels(8985));
    setFont(WindowLayout::windowFont());
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    PushButton5 = WindowControls::button(this, QStringLiteral("< Back"), 120, 120, 7800, 405);
    ListView1 = WindowControls::list(this, 120, 620, 7800, 1815);
    PushButton1 =
        WindowControls::button(this, QStringLiteral("Add One Long Line"), 120, 2520, 3840, 405);
    PushButton6 = WindowControls::button(this, QStringLiteral("Clear List"), 4080, 2520, 3840, 405);
    PushButton4 = WindowControls::button(this, QStringLiteral("Load Long Lines From Text File"),
                                         120, 3030, 3840, 405);
    PushButton9 = WindowControls::button(this, QStringLiteral("<- What is this feature?"), 4080,
                                         3030, 3840, 405);
    PushButton11 = WindowControls::button(this, QStringLiteral("Load Sample/Example Data"), 120,
                                          3540, 3840, 405);
    PushButton10 = WindowControls::button(this, QStringLiteral("Help"), 4080, 3540, 3840, 405);
    Frame2 = WindowControls::frame(this, QStringLiteral("Split By This Character Or Characters"),
                                   120, 4080, 7800, 800);
    Text2 = WindowControls::frameTextBox(Frame2);
    PushButton2 =
        WindowControls::button(this, QStringLiteral("Start Splitting"), 120, 5010, 7800, 405);
    ListView2 = WindowControls::list(this, 120, 5505, 7800, 1815);
    PushButton3 = WindowControls::button(this, QStringLiteral("Save Results As Text File"), 120,
                                         7410, 3840, 405);
    PushButton13 = WindowControls::button(this, QStringLiteral("Save Results As Excel File"), 4080,
                                          7410, 3840, 405);
    PushButton8 = WindowControls::button(this, QStringLiteral("Copy Results To Clipboard"), 120,
                                         7920, 3840, 405);
    PushButton7 = WindowControls::button(this, QStringLiteral("Clear List"), 4080, 7920, 3840, 405);
    ProgressBar1 = new ProgressBar(this);
    WindowLayout::place(ProgressBar1, 120, 8450, 7800, 405);
    ProgressBar1->setBarText(QStringLiteral("Progress Bar"));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));

    // Two buttons share the caption "Clear List"; a screen reader tells them apart.
    ListView1->setAccessibleName(QStringLiteral("Long lines"));
    ListView2->setAccessibleName(QStringLiteral("Results"));
    PushButton6->setAccessibleName(QStringLiteral("Clear List (long lines)"));
    PushButton7->setAccessibleName(QStringLiteral("Clear List (results)"));

    // Text files dropped from a file manager land on the input list.
    ListView1->setAcceptDrops(true);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->viewport()->installEventFilter(this);

    // The designed tab order; the input list comes first and so has the focus at start.
    const QList<QWidget*> tabOrder{ListView1,    ListView2,    PushButton1, PushButton4,
                                   PushButton6,  PushButton2,  PushButton3, PushButton13,
                                   PushButton5,  PushButton7,  PushButton8, PushButton9,
                                   PushButton10, PushButton11, Text2};
    for (qsizetype i = 0; i + 1 < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i], tabOrder[i + 1]);
    }
    ListView1->setFocus();
}

template <typename Handler>
void Form2::run(Handler handler) {
    ++handlersRunning_;
    struct Leaving {
        Form2& window;
        ~Leaving() {
            if (--window.handlersRunning_ != 0) {
                return;
            }
            if (window.discarded_) {
                window.deleteLater();
            } else if (window.unloading_) {
                window.releaseContents();
            }
        }
    } leaving{*this};
    handler();
}

void Form2::connectHandlers() {
    const auto click = [this](QPushButton* button, void (Form2::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            if (!unloading_) {
                run([this, handler] { (this->*handler)(); });
            }
        });
    };
    click(PushButton1, &Form2::PushButton1_Click);
    click(PushButton2, &Form2::PushButton2_Click);
    click(PushButton3, &Form2::PushButton3_Click);
    click(PushButton4, &Form2::PushButton4_Click);
    click(PushButton5, &Form2::PushButton5_Click);
    click(PushButton6, &Form2::PushButton6_Click);
    click(PushButton7, &Form2::PushButton7_Click);
    click(PushButton8, &Form2::PushButton8_Click);
    click(PushButton9, &Form2::PushButton9_Click);
    click(PushButton10, &Form2::PushButton10_Click);
    click(PushButton11, &Form2::PushButton11_Click);
    click(PushButton13, &Form2::PushButton13_Click);
    connect(ListView1, &ReportList::keyDown, this, &Form2::ListView1_KeyDown);
    connect(ListView2, &ReportList::keyDown, this, &Form2::ListView2_KeyDown);
}

void Form2::showCentred() {
    WindowControls::showCentred(this, ListView1);
}

void Form2::Form_Unload() {
    if (unloading_) {
        return;
    }
    unloading_ = true;
    hide();
    if (mainWindow_ != nullptr && !platform_.pump.programEnding()) {
        mainWindow_->show();
    }
    // With a handler still running, its lists stay until it returns.
    if (handlersRunning_ == 0) {
        releaseContents();
    }
}

void Form2::releaseContents() {
    ListView1->clear();
    ListView2->clear();
    ProgressBar1->setBarText(QStringLiteral("Progress Bar"));
}

void Form2::resetForReopening() {
    ++opening_;
    unloading_ = false;
    splitRunning_ = false;
    ListView1->removeColumnsAndRows();
    ListView2->removeColumnsAndRows();
    Text2->setText(QString());
    ProgressBar1->setValue(0);
    ProgressBar1->setBarText(QStringLiteral("Progress Bar"));
    setMousePointer(PointerShape::Default);
    mousePointer_.clearCustomImage();
    ListView1->setFocus();
}

void Form2::discardWhenIdle() {
    discarded_ = true;
    if (handlersRunning_ == 0) {
        deleteLater();
    }
}

void Form2::closeEvent(QCloseEvent* event) {
    // The window's close button unloads it like "< Back"; it never ends the program.
    event->accept();
    Form_Unload();
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ListView1->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!localFilesOf(drag->mimeData()).isEmpty()) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList paths = localFilesOf(drop->mimeData());
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
                [this, paths, opening = opening_] {
                    if (!unloading_ && opening == opening_) {
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

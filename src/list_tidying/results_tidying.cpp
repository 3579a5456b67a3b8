#include "list_tidying/results_tidying.h"

#include "core/failure.h"
#include "core/fault_injection.h"
#include "platform/clipboard_retry.h"
#include "platform/event_pump.h"
#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QAction>
#include <QMenu>

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace {

struct Command {
    TidyAction action;
    const char16_t* caption;
};
constexpr Command kTidyCommands[] = {
    {TidyAction::TrimSpaces, u"Trim Spaces"},
    {TidyAction::RemoveEmptyRows, u"Remove Empty Rows"},
    {TidyAction::RemoveDuplicateRows, u"Remove Duplicate Rows"},
    {TidyAction::SortAToZ, u"Sort A to Z"},
    {TidyAction::SortZToA, u"Sort Z to A"},
};

// One tidy action's work, shared by the window and the worker thread: the worker reads only
// its own copy of the rows, and the window reads the result only after `finished`.
struct TidyJob {
    RowStore rows;
    TidyAction action{};
    QLocale locale;
    TidyProgress progress;
    TidyResult result;
    std::exception_ptr failure;
    std::mutex mutex;
    std::condition_variable finishedChanged;
    bool finished = false;

    void run() {
        try {
            FaultInjection::hit("tidy.rows");
            result = TidyRows(rows, action, progress, locale);
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        finished = true;
        finishedChanged.notify_all();
    }
    bool waitFinished(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex);
        return finishedChanged.wait_for(lock, timeout, [this] { return finished; });
    }
};

QString reasonOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("there is not enough memory.");
    } catch (const Failure& failure) {
        return failure.description();
    } catch (const std::exception& other) {
        return QString::fromLocal8Bit(other.what());
    } catch (...) {
        return QStringLiteral("an unknown error.");
    }
}

}  // namespace

ResultsTidying::ResultsTidying(ReportList& list, ProgressBar& bar, Platform& platform,
                               TidyingHost host)
    : QObject(&list),
      list_(list),
      bar_(bar),
      platform_(platform),
      host_(std::move(host)),
      menu_(new QMenu(&list)) {
    menu_->setObjectName(QStringLiteral("tidyMenu"));
    // The shortcuts work while the list has the focus, as in any list; the menu shows them.
    const auto addAction = [&](const QString& caption, const QKeySequence& keys, auto handler) {
        QAction* action = menu_->addAction(caption);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        list_.addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    copyRowAction_ = addAction(QStringLiteral("Copy Row"), QKeySequence(Qt::CTRL | Qt::Key_C),
                               [this] { copyRow(); });
    menu_->addSeparator();
    for (const Command& command : kTidyCommands) {
        if (command.action == TidyAction::SortAToZ) {
            menu_->addSeparator();
        }
        tidyActions_.append(addAction(QString::fromUtf16(command.caption), QKeySequence(),
                                      [this, command] { tidy(command.action); }));
    }
    menu_->addSeparator();
    undoAction_ =
        addAction(QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo(); });
    connect(menu_, &QMenu::aboutToHide, this, &ResultsTidying::enableAllActions);
    connect(&list_, &ReportList::contextMenuRequested, this, &ResultsTidying::showMenu);
}

ResultsTidying::~ResultsTidying() = default;

void ResultsTidying::showMenu(QPoint globalPos) {
    updateActions();
    menu_->popup(globalPos);
}

void ResultsTidying::updateActions() {
    const bool idle = !running_ && !host_.busy();
    copyRowAction_->setEnabled(idle && list_.selectedRow() > 0);
    for (QAction* action : tidyActions_) {
        action->setEnabled(idle && list_.count() > 0);
    }
    undoAction_->setEnabled(idle && canUndo());
}

void ResultsTidying::enableAllActions() {
    // Disabled actions would not take their shortcuts: the handlers check for themselves.
    for (QAction* action : menu_->actions()) {
        action->setEnabled(true);
    }
}

void ResultsTidying::rememberRows() {
    if (list_.count() > 0) {
        history_.remember({list_.rows(), list_.selectedRow()});
    }
}

void ResultsTidying::forgetHistory() {
    history_.clear();
}

void ResultsTidying::copyRow() {
    host_.runAsHandler([this] {
        const qsizetype selected = list_.selectedRow();
        if (running_ || host_.busy() || selected == 0) {
            return;
        }
        SetClipboardText(platform_.clipboard, list_.text(selected));
    });
}

void ResultsTidying::undo() {
    host_.runAsHandler([this] {
        if (running_ || host_.busy() || history_.empty()) {
            return;
        }
        RowHistory::State state = history_.takeNewest();
        list_.replaceRows(std::move(state.rows), state.selectedRow);
    });
}

void ResultsTidying::tidy(TidyAction action) {
    QString caption;
    for (const Command& command : kTidyCommands) {
        if (command.action == action) {
            caption = QString::fromUtf16(command.caption);
        }
    }
    host_.runAsHandler([this, action, caption] { runTidy(action, caption); });
}

void ResultsTidying::runTidy(TidyAction action, const QString& caption) {
    if (running_ || host_.busy() || list_.count() == 0) {
        return;
    }
    running_ = true;
    struct Running {
        bool& running;
        ~Running() { running = false; }
    } runningEnds{running_};

    const qsizetype selected = list_.selectedRow();
    const qsizetype rowsBefore = list_.count();
    const quint64 removalsBefore = list_.removals();
    auto job = std::make_shared<TidyJob>();
    job->rows = list_.rows();
    job->action = action;

    if (rowsBefore <= kRowsWorthAThread) {
        job->run();
    } else {
        std::thread worker;
        try {
            worker = std::thread([job] { job->run(); });
        } catch (const std::exception&) {
            job->failure = std::current_exception();
        }
        if (worker.joinable()) {
            host_.setPointerShape(PointerShape::Hourglass);
            bar_.setBarText(caption + QChar(0x2026));
            // The worker is always waited for, even when the window goes meanwhile: it reads
            // rows whose text the list may let go of.
            struct Joined {
                std::thread& worker;
                TidyJob& job;
                ~Joined() {
                    job.progress.stopRequested = true;
                    worker.join();
                }
            } joined{worker, *job};
            do {
                const qint64 total = job->progress.total;
                bar_.setValue(total > 0 ? static_cast<int>(job->progress.done * 100 / total) : 0);
                platform_.pump.pendingEvents(true);
                if (host_.stopping()) {
                    job->progress.stopRequested = true;
                }
            } while (!job->waitFinished(std::chrono::milliseconds(10)));
        }
        if (host_.stopping()) {
            return;  // the window is gone, and its rows with it
        }
        host_.setPointerShape(PointerShape::Default);
        bar_.setValue(0);
        bar_.setBarText(QStringLiteral("Progress Bar"));
    }

    if (job->failure) {
        platform_.messages.show(QLatin1Char('"') + caption + QStringLiteral("\" failed: ") +
                                    reasonOf(job->failure) +
                                    QStringLiteral("\r\nThe list is as it was."),
                                MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    if (job->result.outcome != TidyOutcome::Changed) {
        return;
    }
    if (list_.count() != rowsBefore || list_.removals() != removalsBefore) {
        platform_.messages.show(QStringLiteral("The list changed while \"") + caption +
                                    QStringLiteral("\" was working, so it was left as it is."),
                                MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    const qsizetype newSelected = selected > 0 ? job->result.newRows.newRowOf(selected - 1) + 1 : 0;
    history_.remember({list_.rows(), selected});
    list_.replaceRows(std::move(*job->result.rows), newSelected);
}

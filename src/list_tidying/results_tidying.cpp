#include "list_tidying/results_tidying.h"

#include "core/failure.h"
#include "core/fault_injection.h"
#include "core/memory_release.h"
#include "core/memory_reserve.h"
#include "list_tidying/action_summary.h"
#include "list_tidying/clean_up_dialog.h"
#include "list_tidying/let_go_elsewhere.h"
#include "list_tidying/one_line_copy.h"
#include "list_tidying/one_line_dialog.h"
#include "list_tidying/work_on_the_window.h"
#include "platform/clipboard_retry.h"
#include "platform/event_pump.h"
#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/mouse_pointer.h"
#include "shell/remembered_choices.h"
#include "widgets/progress_bar/progress_bar.h"
#include "widgets/report_list/report_list.h"

#include <QAction>
#include <QMenu>

#include <exception>
#include <new>
#include <utility>

namespace {

struct Command {
    TidyAction action;
    const char16_t* caption;
    const char16_t* menuText;  // the caption with its access key
};
constexpr Command kTidyCommands[] = {
    {TidyAction::TrimSpaces, u"Trim Spaces", u"&Trim Spaces"},
    {TidyAction::RemoveEmptyRows, u"Remove Empty Rows", u"Remove &Empty Rows"},
    {TidyAction::RemoveDuplicateRows, u"Remove Duplicate Rows", u"Remove &Duplicate Rows"},
    {TidyAction::RemoveDuplicateRowsIgnoringCase, u"Remove Duplicate Rows (Ignore Case)",
     u"Remove Duplicate Rows (&Ignore Case)"},
    {TidyAction::SortAToZ, u"Sort A to Z", u"Sort &A to Z"},
    {TidyAction::SortZToA, u"Sort Z to A", u"Sort &Z to A"},
};

const QString kCleanUpCaption = QStringLiteral("Clean Up");
const QString kSeparatorKey = QStringLiteral("copyAsOneLine/separator");
const QString kQuoteKey = QStringLiteral("copyAsOneLine/quote");

QString captionOf(TidyAction action) {
    for (const Command& command : kTidyCommands) {
        if (command.action == action) {
            return QString::fromUtf16(command.caption);
        }
    }
    return {};
}

}  // namespace

// One tidy action: the worker reads only `rows`, its own copy, and writes only `result`,
// which the window reads after the job's end.
struct ResultsTidying::Work : ListWork {
    RowStore rows;
    TidyAction action{};
    std::optional<CleanUpSteps> cleanUp;  // in place of `action`
    QString caption;
    QLocale locale;
    std::optional<RowNumber> selectedRow;
    TidyResult result;

    void run(JobProgress& progress) override {
        FaultInjection::hit("tidy.rows");
        result = cleanUp ? CleanUpRows(rows, *cleanUp, progress, locale)
                         : TidyRows(rows, action, progress, locale);
    }
};

ResultsTidying::ResultsTidying(ReportList& list, ProgressBar& bar, Platform& platform,
                               WindowMousePointer& pointer, std::function<bool()> windowBusy)
    : QObject(&list),
      list_(list),
      bar_(bar),
      platform_(platform),
      pointer_(pointer),
      windowBusy_(std::move(windowBusy)),
      runner_(new ListWorkRunner(
          platform.pump,
          [this](std::shared_ptr<ListWork> work, bool inBackground) {
              ended(std::static_pointer_cast<Work>(std::move(work)), inBackground);
          },
          this)),
      oneLineCopy_(new OneLineCopy(bar, platform, pointer, this)),
      menu_(new QMenu(&list)) {
    menu_->setObjectName(QStringLiteral("tidyMenu"));
    // The shortcuts work while the list has the focus, as in any list; the menu shows them.
    // The two that open a dialog work anywhere in the window: they are the usual way out of
    // a split, and the focus is then still where the split was started.
    const auto addAction = [&](const QString& caption, const QKeySequence& keys, auto handler,
                               Qt::ShortcutContext context = Qt::WidgetShortcut) {
        QAction* action = menu_->addAction(caption);
        action->setShortcut(keys);
        action->setShortcutContext(context);
        list_.addAction(action);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    cleanUpAction_ = addAction(
        QStringLiteral("C&lean Up") + QChar(0x2026), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L),
        [this] { cleanUp(); }, Qt::WindowShortcut);
    menu_->addSeparator();
    copyRowAction_ = addAction(QStringLiteral("&Copy Row"), QKeySequence(Qt::CTRL | Qt::Key_C),
                               [this] { copyRow(); });
    copyAsOneLineAction_ = addAction(
        QStringLiteral("Copy As &One Line") + QChar(0x2026),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J), [this] { copyAsOneLine(); },
        Qt::WindowShortcut);
    connect(oneLineCopy_, &OneLineCopy::copied, this, &ResultsTidying::copiedAsOneLine);
    connect(this, &ResultsTidying::copiedAsOneLine, this,
            [this](qsizetype rows, qsizetype characters) {
                list_.showActionSummary(OneLineCopySummary(rows, characters));
            });
    menu_->addSeparator();
    for (const Command& command : kTidyCommands) {
        if (command.action == TidyAction::SortAToZ) {
            menu_->addSeparator();
        }
        tidyActions_.append(addAction(QString::fromUtf16(command.menuText), QKeySequence(),
                                      [this, command] { tidy(command.action); }));
    }
    menu_->addSeparator();
    undoAction_ =
        addAction(QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { undo(); });
    redoAction_ = addAction(QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                            [this] { redo(); });
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    list_.showRowCount();
    list_.addMenuButton(QStringLiteral("List Actions"),
                        QStringLiteral("List Actions: copy, tidy, undo and redo the rows (also "
                                       "the right mouse button or the menu key on the list)"));
    connect(menu_, &QMenu::aboutToHide, this, &ResultsTidying::enableAllActions);
    connect(&list_, &ReportList::contextMenuRequested, this, &ResultsTidying::showMenu);
    connect(&list_, &ReportList::rowsRemovedOrReplaced, this, [this] {
        listChanged_ = true;
        rowsRemoved();
    });
    connect(runner_, &ListWorkRunner::progressed, &bar_, &ProgressBar::setValue);
}

ResultsTidying::~ResultsTidying() {
    runner_->stop();  // no job may end into members already gone
}

bool ResultsTidying::working() const {
    return runner_->working() || oneLineCopy_->working();
}

bool ResultsTidying::idle() const {
    return !working() && !windowBusy_();
}

void ResultsTidying::showMenu(QPoint globalPos) {
    updateActions();
    menu_->popup(globalPos);
}

void ResultsTidying::updateActions() {
    const bool idleNow = idle();
    copyRowAction_->setEnabled(idleNow && list_.selectedRow());
    copyAsOneLineAction_->setEnabled(idleNow && list_.count() > 0);
    cleanUpAction_->setEnabled(idleNow && list_.count() > 0);
    for (QAction* action : tidyActions_) {
        action->setEnabled(idleNow && list_.count() > 0);
    }
    undoAction_->setEnabled(idleNow && canUndo());
    redoAction_->setEnabled(idleNow && canRedo());
}

void ResultsTidying::enableAllActions() {
    // Disabled actions would not take their shortcuts: the handlers check for themselves.
    for (QAction* action : menu_->actions()) {
        action->setEnabled(true);
    }
}

void ResultsTidying::rememberRows() {
    rowsBeforeRemoval_ = list_.count();
    if (list_.count() > 0) {
        // The list is still as the new state has it; what older states hold beside it is
        // what the budget weighs.
        history_.remember({list_.rows(), list_.selectedRow(), {}});
        if (history_.fitBeside(list_.rows())) {
            tellOfStepsLetGo();
        }
    }
}

void ResultsTidying::rowsRemoved() {
    if (rowsBeforeRemoval_ == 0) {
        return;  // a change of this class's own, or a clear the window does not undo
    }
    const qsizetype before = std::exchange(rowsBeforeRemoval_, 0);
    history_.newestChanged(RemovalName(list_.count()), list_.count());
    list_.showActionSummary(RemovalSummary(before, list_.count()));
}

void ResultsTidying::forgetHistory() {
    rowsBeforeRemoval_ = 0;
    history_.clear();
    toldOfStepsLetGo_ = false;
}

void ResultsTidying::tellOfStepsLetGo() {
    // Once a history: a long list lets a step go at every action from then on.
    if (toldOfStepsLetGo_) {
        return;
    }
    toldOfStepsLetGo_ = true;
    platform_.messages.show(
        QStringLiteral("The oldest Undo steps were let go to leave memory for the list."));
}

void ResultsTidying::copyRow() {
    const std::optional<RowNumber> selected = list_.selectedRow();
    if (!idle() || !selected) {
        return;
    }
    SetClipboardText(platform_.clipboard, list_.text(*selected));
}

void ResultsTidying::copyAsOneLine() {
    if (!idle() || list_.count() == 0) {
        return;
    }
    const QString quote = RememberedChoices::value(kQuoteKey).toString();
    const OneLineFormat remembered{RememberedChoices::value(kSeparatorKey).toString(),
                                   quote.isEmpty() ? QChar() : quote.front()};
    OneLineDialog dialog(list_.rows(), lastDelimiter_ ? lastDelimiter_() : QString(),
                         list_.window(), remembered);
    if (platform_.messages.runDialog(dialog) && idle()) {
        const OneLineFormat format = dialog.format();
        RememberedChoices::setValue(kSeparatorKey, format.separator);
        RememberedChoices::setValue(kQuoteKey,
                                    format.quote.isNull() ? QString() : QString(format.quote));
        oneLineCopy_->start(dialog.takeRows(), format);
    }
}

void ResultsTidying::cleanUp() {
    if (!idle() || list_.count() == 0) {
        return;
    }
    CleanUpDialog dialog(list_.count(), CleanUpDialog::rememberedSteps(), list_.window());
    if (!platform_.messages.runDialog(dialog) || !dialog.steps().any()) {
        return;
    }
    CleanUpDialog::rememberSteps(dialog.steps());
    start({}, dialog.steps());
}

void ResultsTidying::undo() {
    if (!idle() || history_.empty()) {
        return;
    }
    rowsBeforeRemoval_ = 0;
    RowHistory::State state = history_.undo({list_.rows(), list_.selectedRow(), {}});
    list_.replaceRows(std::move(state.rows), state.selectedRow);
    list_.showActionSummary(UndoSummary(state.change));
}

void ResultsTidying::redo() {
    if (!idle() || !history_.canRedo()) {
        return;
    }
    rowsBeforeRemoval_ = 0;
    RowHistory::State state = history_.redo({list_.rows(), list_.selectedRow(), {}});
    list_.replaceRows(std::move(state.rows), state.selectedRow);
    list_.showActionSummary(RedoSummary(state.change));
}

void ResultsTidying::tidy(TidyAction action) {
    start(action, std::nullopt);
}

void ResultsTidying::start(TidyAction action, std::optional<CleanUpSteps> cleanUp) {
    if (!idle() || list_.count() == 0) {
        return;
    }
    auto work = std::make_shared<Work>();
    work->rows = list_.rows();
    work->action = action;
    work->cleanUp = cleanUp;
    work->caption = cleanUp ? kCleanUpCaption : captionOf(action);
    work->selectedRow = list_.selectedRow();
    listChanged_ = false;
    rowsBeforeRemoval_ = 0;

    if (runner_->start(work, work->rows.size())) {
        ShowWorkOnTheWindow(pointer_, bar_, work->caption);
    }
}

void ResultsTidying::ended(std::shared_ptr<Work> work, bool inBackground) {
    if (!inBackground) {
        putInPlace(*work);
        return;
    }
    ShowTheWindowAtRest(pointer_, bar_);
    putInPlace(*work);
    LetGoElsewhere(std::move(work));  // its copy of the rows, the row map, what was not used
}

void ResultsTidying::stopWorking() {
    oneLineCopy_->stopWorking();
    if (runner_->stop()) {
        ShowTheWindowAtRest(pointer_, bar_);
    }
}

void ResultsTidying::putInPlace(Work& work) {
    // The undo history may be what filled the memory: its oldest step gives way and the
    // action starts again, before the action is given up.
    if (MemoryReserve::isOutOfMemory(work.failure) && history_.dropOldest()) {
        // What the history let go of earlier may still be on its way back to the system: the
        // action starts again only once it is back, or it finds the memory as full as before.
        MemoryRelease::waitUntilGone();
        tellOfStepsLetGo();
        start(work.action, work.cleanUp);
        return;
    }
    if (work.failure) {
        platform_.messages.show(QLatin1Char('"') + work.caption + QStringLiteral("\" failed: ") +
                                    HandlerErrorReport::describe(work.failure) +
                                    QStringLiteral("\r\nThe list is as it was."),
                                MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    if (work.result.outcome == TidyOutcome::Unchanged) {
        list_.showActionSummary(work.cleanUp ? QStringLiteral("Nothing to clean up")
                                             : NothingToTidySummary(work.action));
    }
    if (work.result.outcome != TidyOutcome::Changed) {
        return;
    }
    if (list_.count() != work.rows.size() || listChanged_) {
        platform_.messages.show(QStringLiteral("The list changed while \"") + work.caption +
                                    QStringLiteral("\" was working, so it was left as it is."),
                                MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    const std::optional<RowNumber> selected = work.selectedRow;
    const std::optional<RowNumber> newSelected =
        selected ? NumberOf(work.result.newRows.newRowOf(selected->index())) : std::nullopt;
    const qsizetype before = list_.count();
    history_.remember({list_.rows(), selected, work.caption, work.result.rows->size()});
    list_.replaceRows(std::move(*work.result.rows), newSelected);
    list_.showActionSummary(work.cleanUp ? CleanUpSummary(*work.cleanUp, before, list_.count())
                                         : TidySummary(work.action, before, list_.count()));
    if (history_.fitBeside(list_.rows())) {
        tellOfStepsLetGo();
    }
}

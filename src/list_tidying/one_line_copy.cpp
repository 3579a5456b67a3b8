#include "list_tidying/one_line_copy.h"

#include "core/memory_reserve.h"
#include "core/row_store.h"
#include "platform/clipboard_retry.h"
#include "platform/event_pump.h"
#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/mouse_pointer.h"
#include "widgets/progress_bar/progress_bar.h"

#include <QTimer>

#include <exception>

namespace {
const QString kCaption = QStringLiteral("Copy As One Line");
// How often an ended job looks again whether the window's loop has let go of the bar.
constexpr int kRetryMs = 20;
}  // namespace

// The worker reads only `rows`, its own copy, and writes only `text`, which the window takes
// after the job's end.
struct OneLineCopy::Work {
    RowStore rows;
    OneLineFormat format;
    QString text;
    std::exception_ptr failure;

    void run(JobProgress& progress) { text = JoinAsOneLine(rows, format, progress); }
};

OneLineCopy::OneLineCopy(ProgressBar& bar, Platform& platform, WindowMousePointer& pointer,
                         QObject* parent)
    : QObject(parent), bar_(bar), platform_(platform), pointer_(pointer) {
    connect(&job_, &BackgroundJob::progressed, &bar_, &ProgressBar::setValue);
    connect(&job_, &BackgroundJob::finished, this, [this] {
        finishing_ = std::move(work_);
        finishing_->failure = job_.failure();
        finishWork();
    });
}

OneLineCopy::~OneLineCopy() {
    job_.stopAndWait();
}

void OneLineCopy::start(RowStore rows, OneLineFormat format) {
    if (working()) {
        return;
    }
    auto work = std::make_shared<Work>();
    work->rows = std::move(rows);
    work->format = std::move(format);
    if (work->rows.size() <= kRowsWorthAThread) {
        try {
            JobProgress unwatched;
            work->run(unwatched);
        } catch (...) {
            work->failure = std::current_exception();
        }
        putOnClipboard(*work);
        return;
    }
    try {
        job_.start([work](JobProgress& progress) { work->run(progress); });
    } catch (...) {
        work->failure = std::current_exception();  // no thread to work on
        putOnClipboard(*work);
        return;
    }
    work_ = std::move(work);
    showWorking(true);
}

void OneLineCopy::finishWork() {
    if (finishing_ == nullptr) {
        return;  // stopped meanwhile
    }
    if (platform_.pump.programEnding()) {
        finishing_.reset();
        return;
    }
    // A split or save running its loop owns the bar and the pointer: they go back to rest
    // only once it has returned.
    if (platform_.pump.loopRunning()) {
        QTimer::singleShot(kRetryMs, this, &OneLineCopy::finishWork);
        return;
    }
    const std::shared_ptr<Work> work = std::move(finishing_);
    showWorking(false);
    putOnClipboard(*work);
}

void OneLineCopy::stopWorking() {
    job_.stopAndWait();
    if (work_ != nullptr || finishing_ != nullptr) {
        work_.reset();
        finishing_.reset();
        showWorking(false);
    }
}

void OneLineCopy::showWorking(bool on) {
    pointer_.set(on ? PointerShape::Hourglass : PointerShape::Default);
    bar_.setValue(0);
    bar_.setBarText(on ? kCaption + QChar(0x2026) : QStringLiteral("Progress Bar"));
}

void OneLineCopy::putOnClipboard(Work& work) {
    if (!work.failure && SetClipboardText(platform_.clipboard, work.text)) {
        emit copied(work.rows.size(), work.text.size());
        return;
    }
    work.text = QString();  // the report may need its memory
    const MemoryReserve::SpentOnReportOf reserve(work.failure);
    const QString reason = work.failure ? HandlerErrorReport::describe(work.failure)
                                        : QStringLiteral("the clipboard is in use");
    platform_.messages.show(QLatin1Char('"') + kCaption + QStringLiteral("\" failed: ") + reason +
                                QStringLiteral(".\r\nThe clipboard is as it was."),
                            MessageButtons::Ok, MessageIcon::Warning);
}

QString OneLineCopySummary(qsizetype rows, qsizetype characters, const QLocale& locale) {
    return QStringLiteral("Copied %1 %2 as one line (%3 %4)")
        .arg(locale.toString(rows), rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"),
             locale.toString(characters),
             characters == 1 ? QStringLiteral("character") : QStringLiteral("characters"));
}

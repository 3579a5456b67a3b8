#include "list_tidying/one_line_copy.h"

#include "core/memory_reserve.h"
#include "core/row_store.h"
#include "list_tidying/let_go_elsewhere.h"
#include "list_tidying/work_on_the_window.h"
#include "platform/clipboard_retry.h"
#include "platform/event_pump.h"
#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "shell/handler_guard.h"
#include "shell/mouse_pointer.h"
#include "widgets/progress_bar/progress_bar.h"

#include <exception>
#include <utility>

namespace {
const QString kCaption = QStringLiteral("Copy As One Line");
}  // namespace

// The worker reads only `rows`, its own copy, and writes only `text`, which the window takes
// after the job's end.
struct OneLineCopy::Work : ListWork {
    RowStore rows;
    OneLineFormat format;
    QString text;

    void run(JobProgress& progress) override { text = JoinAsOneLine(rows, format, progress); }
};

OneLineCopy::OneLineCopy(ProgressBar& bar, Platform& platform, WindowMousePointer& pointer,
                         QObject* parent)
    : QObject(parent),
      bar_(bar),
      platform_(platform),
      pointer_(pointer),
      runner_(new ListWorkRunner(
          platform.pump,
          [this](std::shared_ptr<ListWork> work, bool inBackground) {
              if (inBackground) {
                  ShowTheWindowAtRest(pointer_, bar_);
              }
              putOnClipboard(static_cast<Work&>(*work));
          },
          this)) {
    connect(runner_, &ListWorkRunner::progressed, &bar_, &ProgressBar::setValue);
}

OneLineCopy::~OneLineCopy() {
    runner_->stop();  // no job may end into members already gone
}

void OneLineCopy::start(RowStore rows, OneLineFormat format) {
    if (working()) {
        return;
    }
    auto work = std::make_shared<Work>();
    work->rows = std::move(rows);
    work->format = std::move(format);
    const qsizetype rowCount = work->rows.size();
    if (runner_->start(std::move(work), rowCount)) {
        ShowWorkOnTheWindow(pointer_, bar_, kCaption);
    }
}

void OneLineCopy::stopWorking() {
    if (runner_->stop()) {
        ShowTheWindowAtRest(pointer_, bar_);
    }
}

void OneLineCopy::putOnClipboard(Work& work) {
    bool placed = false;
    if (!work.failure) {
        try {
            placed = SetClipboardText(platform_.clipboard, work.text);
        } catch (...) {
            // The clipboard's own copy of the text did not fit: said like a join that ran out.
            work.failure = std::current_exception();
        }
    }
    if (placed) {
        const qsizetype characters = work.text.size();
        // The clipboard holds its own copy: this one would only double what the offer costs.
        LetGoElsewhere(std::exchange(work.text, {}));
        emit copied(work.rows.size(), characters);
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

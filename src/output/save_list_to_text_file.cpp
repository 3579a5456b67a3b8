#include "output/save_list_to_text_file.h"

#include "output/cell_reader.h"
#include "platform/failure.h"
#include "platform/list/readable_list.h"
#include "platform/platform.h"
#include "shell/file_exists.h"

#include <QSaveFile>
#include <QStringEncoder>

namespace {

// Rows are gathered into blocks of about this size before they go to the file, so a list of
// millions of short rows costs a few hundred writes.
constexpr qsizetype kBlockBytes = qsizetype{1} << 20;

[[noreturn]] void failSave(const QString& fileName, const QString& reason) {
    throw Failure(QStringLiteral("Could not save \"%1\": %2. Any file of that name was left as it "
                                 "was.")
                      .arg(fileName, reason));
}

class EncodedLines {
  public:
    explicit EncodedLines(QSaveFile& file) : file_(file) { block_.reserve(kBlockBytes + 1024); }

    void append(QStringView text) {
        const qsizetype used = block_.size();
        block_.resize(used + encoder_.requiredSpace(text.size()) + 2);
        char* end = encoder_.appendToBuffer(block_.data() + used, text);
        *end++ = '\r';
        *end++ = '\n';
        block_.truncate(end - block_.constData());
        if (block_.size() >= kBlockBytes) {
            flush();
        }
    }

    void flush() {
        if (!block_.isEmpty() && file_.write(block_) != block_.size()) {
            failSave(file_.fileName(), file_.errorString());
        }
        block_.truncate(0);
    }

  private:
    QSaveFile& file_;
    QStringEncoder encoder_{QStringConverter::System};
    QByteArray block_;
};

bool confirmedOverwrite(MessageBoxes& messages, const QString& fileName) {
    if (!FileExists(fileName)) {
        return true;
    }
    return messages.show(QStringLiteral("Are you sure you wish to overwrite ") + fileName +
                             QStringLiteral(" ?"),
                         MessageButtons::YesNo) == MessageAnswer::Yes;
}

// Rows can be removed while events run; the message then says why the save stopped.
QStringView rowText(CellReader& cells, qsizetype row, const QString& fileName) {
    try {
        return cells.read(row, 1);
    } catch (const Failure& failure) {
        failSave(fileName, QStringLiteral("the list changed while it was being saved (row %1: %2)")
                               .arg(row)
                               .arg(failure.description()));
    }
}

}  // namespace

void SaveListToTextFile(Platform& platform, const ReadableList& list, const QString& fileName,
                        const LoopStop& stopRequested) {
    if (!confirmedOverwrite(platform.messages, fileName)) {
        return;
    }

    // The new content goes to a temporary file beside the chosen one, which replaces it only
    // once complete; until commit() the old file is untouched, and the temporary file is
    // removed when `file` goes out of scope uncommitted (a failure, a stop).
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        failSave(fileName, file.errorString());
    }

    EncodedLines lines(file);
    CellReader cells(list);
    const qsizetype rows = list.rowCount();
    for (qsizetype row = 1; row <= rows; ++row) {
        platform.pump.pendingEvents(row == 1 || row == rows);
        if (platform.pump.programEnding() || (stopRequested && stopRequested())) {
            file.cancelWriting();
            return;
        }
        lines.append(rowText(cells, row, fileName));
    }
    lines.flush();
    if (!file.commit()) {
        failSave(fileName, file.errorString());
    }
}

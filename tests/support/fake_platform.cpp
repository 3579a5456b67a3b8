#include "support/fake_platform.h"

#include "core/failure.h"

#include <utility>

namespace {
template <typename Answer>
Answer takeFirstOr(std::deque<Answer>& answers, Answer none) {
    if (answers.empty()) {
        return none;
    }
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
}  // namespace

MessageAnswer FakeMessageBoxes::show(const QString& text, MessageButtons buttons, MessageIcon icon,
                                     const QString& title) {
    shown.push_back({text, titleOrApplicationTitle(title), buttons, icon});
    if (whileShown) {
        whileShown(shown.back());
    }
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    if (answers.empty()) {
        return MessageAnswer::Yes;
    }
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakeMessageBoxes::askLine(const QString& prompt, const QString& title,
                                  const QString& defaultAnswer) {
    asked.push_back({prompt, titleOrApplicationTitle(title), defaultAnswer});
    if (lines.empty()) {
        return QString();
    }
    const QString line = lines.front();
    lines.pop_front();
    return line;
}

QStringList FakeMessageBoxes::texts() const {
    QStringList all;
    for (const ShownMessage& message : shown) {
        all << message.text;
    }
    return all;
}

void FakeEventPump::runPendingEvents(bool mustRun) {
    ++calls;
    if (mustRun) {
        ++forcedCalls;
    }
    if (everyCall) {
        everyCall(calls);
    }
    const auto action = at.find(calls);
    if (action != at.end()) {
        action->second();
    }
}

double FakeRandomSource::nextFraction() {
    if (fractions.empty()) {
        return 0.5;
    }
    const double fraction = fractions.front();
    fractions.pop_front();
    return fraction;
}

bool FakeWebBrowser::openPage(const QString& address) {
    opened << address;
    return succeeds;
}

void FakePointerShapes::apply(QWidget* window, int shape,
                              const std::optional<QCursor>& customImage) {
    applied.push_back({window, shape, customImage.has_value()});
}

QCursor FakePointerShapes::loadCursorFile(const QString& path) {
    loaded << path;
    if (loadFails) {
        throw Failure(QStringLiteral("Invalid picture"));
    }
    return QCursor(Qt::PointingHandCursor);
}

QStringList FakeFileDialogs::showOpen(const FileDialogSettings& settings) {
    opens.push_back(settings);
    return takeFirstOr(openAnswers, QStringList());
}

QString FakeFileDialogs::showSave(const FileDialogSettings& settings) {
    saves.push_back(settings);
    return takeFirstOr(saveAnswers, QString());
}

bool FakeClipboard::tryClear() {
    ++clearAttempts;
    if (alwaysFails || failuresLeft > 0) {
        --failuresLeft;
        return false;
    }
    cleared = true;
    text.reset();
    return true;
}

bool FakeClipboard::trySetText(const QString& newText) {
    ++setAttempts;
    if (alwaysFails || failuresLeft > 0) {
        --failuresLeft;
        return false;
    }
    text = newText;
    return true;
}

namespace {
class FakeWorkbook : public SpreadsheetWorkbook {
  public:
    explicit FakeWorkbook(FakeSpreadsheetAutomation& owner) : owner_(owner) {}
    void assignCell(int row, int column, const QString& text) override {
        record({QStringLiteral("assign"), row, column, text});
    }
    void setCellValue(int row, int column, const QString& text) override {
        record({QStringLiteral("value"), row, column, text});
    }
    void autofitColumns() override { record({QStringLiteral("autofit"), 0, 0, {}}); }
    void record(const FakeSpreadsheetAutomation::Call& call) {
        owner_.calls.push_back(call);
        if (owner_.fails && owner_.fails(call)) {
            throw Failure(QStringLiteral("Automation error"));
        }
    }

  private:
    FakeSpreadsheetAutomation& owner_;
};

class FakeApplication : public SpreadsheetApplication {
  public:
    explicit FakeApplication(FakeSpreadsheetAutomation& owner) : owner_(owner) {}
    SpreadsheetWorkbook& addWorkbook() override {
        workbook_ = std::make_unique<FakeWorkbook>(owner_);
        workbook_->record({QStringLiteral("addWorkbook"), 0, 0, {}});
        return *workbook_;
    }
    void makeVisible() override {
        owner_.calls.push_back({QStringLiteral("visible"), 0, 0, {}});
        if (owner_.fails && owner_.fails(owner_.calls.back())) {
            throw Failure(QStringLiteral("Automation error"));
        }
    }

  private:
    FakeSpreadsheetAutomation& owner_;
    std::unique_ptr<FakeWorkbook> workbook_;
};
}  // namespace

std::unique_ptr<SpreadsheetApplication> FakeSpreadsheetAutomation::createApplication() {
    calls.push_back({QStringLiteral("create"), 0, 0, {}});
    if (!installed || (fails && fails(calls.back()))) {
        throw Failure(QStringLiteral("ActiveX component can't create object"));
    }
    return std::make_unique<FakeApplication>(*this);
}

FakePlatform::FakePlatform()
    : platform{messages, fileDialogs,   clipboard, browser,     pump,
               random,   programFolder, pointers,  spreadsheets} {}

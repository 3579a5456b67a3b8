#include "support/fake_platform.h"

#include "core/failure.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <utility>

namespace {
// The program waited for the user where the test did not say what the user does. Throwing would
// only reach the handler's guard and become an error report, so the test is marked failed here
// and the program goes on as after Cancel or No.
template <typename Answer>
Answer unscripted(const QString& what, Answer cancel) {
    QTest::qFail(qPrintable(QStringLiteral("unscripted ") + what), __FILE__, __LINE__);
    return cancel;
}

template <typename Answer>
Answer takeFirst(std::deque<Answer>& answers) {
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
        return unscripted(QStringLiteral("Yes/No box: ") + text, MessageAnswer::No);
    }
    return takeFirst(answers);
}

QString FakeMessageBoxes::askLine(const QString& prompt, const QString& title,
                                  const QString& defaultAnswer) {
    asked.push_back({prompt, titleOrApplicationTitle(title), defaultAnswer});
    if (lines.empty()) {
        return unscripted(QStringLiteral("input box: ") + prompt, QString());
    }
    return takeFirst(lines);
}

bool FakeMessageBoxes::runDialog(QDialog& dialog) {
    ++dialogsShown;
    if (!answerDialog) {
        return unscripted(QStringLiteral("dialog"), false);
    }
    return answerDialog(dialog);
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

char* toString(PointerShape shape) {
    switch (shape) {
        case PointerShape::Default:
            return qstrdup("Default");
        case PointerShape::Hourglass:
            return qstrdup("Hourglass");
        case PointerShape::Custom:
            return qstrdup("Custom");
    }
    return qstrdup("?");
}

void FakePointerShapes::apply(QWidget* window, PointerShape shape,
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
    if (openAnswers.empty()) {
        return unscripted(QStringLiteral("open dialog: ") + settings.title, QStringList());
    }
    return takeFirst(openAnswers);
}

QString FakeFileDialogs::showSave(const FileDialogSettings& settings) {
    saves.push_back(settings);
    if (saveAnswers.empty()) {
        return unscripted(QStringLiteral("save dialog: ") + settings.title, QString());
    }
    return takeFirst(saveAnswers);
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
               random,   programFolder, pointers,  spreadsheets} {
    // Choices a test makes in a dialog must reach neither the user's settings nor another
    // test program running beside it: each program keeps them in a folder of its own.
    static QTemporaryDir settings;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
}

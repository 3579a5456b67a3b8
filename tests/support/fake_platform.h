#pragma once

#include "platform/platform.h"

#include <QCursor>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

// Test doubles of the host's services. Each records every call and answers from a script.

struct ShownMessage {
    QString text;
    QString title;  // as shown: the application title when the call gave none
    MessageButtons buttons;
    MessageIcon icon;
};

class FakeMessageBoxes : public MessageBoxes {
  public:
    MessageAnswer show(const QString& text, MessageButtons buttons, MessageIcon icon,
                       const QString& title) override;
    QString askLine(const QString& prompt, const QString& title,
                    const QString& defaultAnswer) override;
    bool runDialog(QDialog& dialog) override;

    std::vector<ShownMessage> shown;
    // Yes/No answers in order (Yes is Leave). A box with none left fails the test and is No.
    std::deque<MessageAnswer> answers;
    std::function<void(const ShownMessage&)> whileShown;  // runs while a box is "open"

    struct Asked {
        QString prompt, title, defaultAnswer;
    };
    std::vector<Asked> asked;
    // Input box answers in order, an empty one for Cancel. An input box with none left fails the
    // test and is cancelled.
    std::deque<QString> lines;
    // Answers the program's own dialogs: may set its controls, and returns whether it was
    // accepted. A dialog with no answer set fails the test and is cancelled.
    std::function<bool(QDialog&)> answerDialog;
    int dialogsShown = 0;

    QStringList texts() const;
};

class FakeEventPump : public EventPump {
  public:
    int calls = 0;  // every call: none is coalesced
    int forcedCalls = 0;
    // Runs at the k-th call (1-based), as if the user had acted while events ran.
    std::map<int, std::function<void()>> at;
    std::function<void(int call)> everyCall;

  protected:
    void runPendingEvents(bool mustRun) override;
};

class FakeRandomSource : public RandomSource {
  public:
    double nextFraction() override;
    std::deque<double> fractions;  // 0.5 when none is left
};

class FakeWebBrowser : public WebBrowser {
  public:
    bool openPage(const QString& address) override;
    QStringList opened;
    bool succeeds = true;
};

class FakeProgramFolder : public ProgramFolder {
  public:
    QString path() const override { return folder; }
    QString folder = QStringLiteral("/nonexistent-program-folder");
};

// Names the shape in failed comparisons, which would otherwise show its bare number.
char* toString(PointerShape shape);

class FakePointerShapes : public PointerShapes {
  public:
    void apply(QWidget* window, PointerShape shape,
               const std::optional<QCursor>& customImage) override;
    QCursor loadCursorFile(const QString& path) override;

    struct Applied {
        QWidget* window;
        PointerShape shape;
        bool hasCustomImage;
    };
    std::vector<Applied> applied;
    QStringList loaded;
    bool loadFails = false;
};

class FakeFileDialogs : public FileDialogs {
  public:
    QStringList showOpen(const FileDialogSettings& settings) override;
    QString showSave(const FileDialogSettings& settings) override;

    std::vector<FileDialogSettings> opens;
    std::vector<FileDialogSettings> saves;
    // What the user chooses in each dialog, in order; an empty answer is Cancel. A dialog with no
    // answer left fails the test and is cancelled.
    std::deque<QStringList> openAnswers;
    std::deque<QString> saveAnswers;
};

class FakeClipboard : public Clipboard {
  public:
    bool tryClear() override;
    bool trySetText(const QString& text) override;

    int clearAttempts = 0;
    int setAttempts = 0;
    int failuresLeft = 0;  // the next this many attempts fail
    bool alwaysFails = false;
    std::optional<QString> text;  // nullopt: never set
    bool cleared = false;
};

class FakeSpreadsheetAutomation : public SpreadsheetAutomation {
  public:
    std::unique_ptr<SpreadsheetApplication> createApplication() override;

    struct Call {
        QString what;  // "create", "addWorkbook", "assign", "value", "autofit", "visible"
        int row = 0;
        int column = 0;
        QString text;
    };
    std::vector<Call> calls;
    bool installed = true;
    // A call for which this answers true fails (after it is recorded).
    std::function<bool(const Call&)> fails;
};

// All the doubles, and the Platform that the windows and routines take.
class FakePlatform {
  public:
    FakePlatform();

    FakeMessageBoxes messages;
    FakeFileDialogs fileDialogs;
    FakeClipboard clipboard;
    FakeWebBrowser browser;
    FakeEventPump pump;
    FakeRandomSource random;
    FakeProgramFolder programFolder;
    FakePointerShapes pointers;
    FakeSpreadsheetAutomation spreadsheets;
    Platform platform;

    // The doubles with another pump: the benchmarks run the real one, frames and all.
    Platform withPump(EventPump& otherPump) {
        return {messages, fileDialogs,   clipboard, browser,     otherPump,
                random,   programFolder, pointers,  spreadsheets};
    }
};

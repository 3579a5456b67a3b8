#pragma once

#include "core/failure.h"

#include <QString>

#include <exception>
#include <new>
#include <utility>

class MessageBoxes;

// The error report a guarded handler shows when one of its steps fails.
namespace HandlerErrorReport {
inline const QString kTitle = QStringLiteral("Application Error");
inline const QString kSupportAddress = QStringLiteral("support@quorvane.example");

// `location` is the handler's name as the report prints it, e.g. "Form1.Pushbutton2_Click".
QString text(const QString& description, const QString& location, int step);
void show(MessageBoxes& messages, const QString& description, const QString& location, int step);
// What the report says went wrong: a Failure's description, "Out of memory", or the
// exception's own text.
QString describe(std::exception_ptr failure);
}  // namespace HandlerErrorReport

// Runs the numbered steps of one guarded handler. A step that fails costs one error report
// naming the handler and the step; the handler then goes on with its next statement.
//
//   HandlerGuard on(messages, "Form1.Pushbutton2_Click");
//   if (on.test(100, [&] { return text.isEmpty(); })) { ... }  // a failing test counts as true
//   on.step(102, [&] { pieces = split(text); });
//
// A step that ran out of memory is reported like any other; the memory kept back for it is
// spent on the report, and a loop of steps asks outOfMemory() to stop rather than meet the
// same failure once a pass.
class HandlerGuard {
  public:
    HandlerGuard(MessageBoxes& messages, QString location)
        : messages_(messages), location_(std::move(location)) {}

    // Whether the step completed: a step that only makes sense after another checks it.
    template <typename Statement>
    bool step(int number, Statement&& statement) {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (...) {
            report(number, std::current_exception());
            return false;
        }
    }

    template <typename Condition>
    bool test(int number, Condition&& condition) {
        try {
            return std::forward<Condition>(condition)();
        } catch (...) {
            report(number, std::current_exception());
            return true;
        }
    }

    int failures() const { return failures_; }
    bool outOfMemory() const { return outOfMemory_; }

  private:
    void report(int step, std::exception_ptr failure);

    MessageBoxes& messages_;
    QString location_;
    int failures_ = 0;
    bool outOfMemory_ = false;
};

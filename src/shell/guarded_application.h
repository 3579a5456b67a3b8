#pragma once

#include <QApplication>

class MessageBoxes;

// The application object, with a last resort for exceptions. Most handlers guard each of their
// steps; an exception that escapes one that has no guard (or a part of Qt's own event handling)
// would otherwise end the program and take every row the user made with it. Here it costs one
// error report, and the program goes on.
class GuardedApplication : public QApplication {
  public:
    GuardedApplication(int& argc, char** argv);

    // Until the message boxes exist, a failure is only written to the log.
    void setMessages(MessageBoxes* messages) { messages_ = messages; }

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    void report(std::exception_ptr failure);

    MessageBoxes* messages_ = nullptr;
    bool reporting_ = false;
};

namespace LastResortReport {
// The text of the report: what went wrong, and that the program and its rows are still there.
QString text(const QString& description);
}  // namespace LastResortReport

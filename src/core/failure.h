#pragma once

#include <QString>

#include <exception>

// The one exception type of the program. Platform back-ends turn error returns into it; a
// guarded handler shows its description in the error report and goes on.
class Failure : public std::exception {
  public:
    explicit Failure(QString description)
        : description_(std::move(description)), utf8_(description_.toUtf8()) {}

    const QString& description() const { return description_; }
    const char* what() const noexcept override { return utf8_.constData(); }

  private:
    QString description_;
    QByteArray utf8_;
};

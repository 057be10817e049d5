#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include <QString>
#include <QStringList>

namespace ui {

// Every failure of a check or of the file system is an exception of this kind. The one place that
// calls handlers catches it, shows its message and goes on with the next event.
class ProgramError : public std::runtime_error {
public:
    explicit ProgramError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

class RangeError : public ProgramError {
public:
    using ProgramError::ProgramError;
};

class IoError : public ProgramError {
public:
    using ProgramError::ProgramError;
};

// Where error messages go: a dialog in the window, a list in tests.
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(const QString& message) = 0;
};

class CollectingErrorReporter : public ErrorReporter {
public:
    void report(const QString& message) override { messages.append(message); }
    QStringList messages;
};

// Runs one event handler; an error ends the handler, is reported, and the program goes on.
// Returns false when the handler failed.
bool dispatch(ErrorReporter& reporter, const std::function<void()>& handler);

}  // namespace ui

#pragma once

#include <functional>
#include <memory>

#include <QString>

class QSocketNotifier;

// A second copy started for a data folder that a running copy holds calls that copy, which
// shows the message over its own window: on some Wayland compositors a message of the second
// copy would map behind the first copy's full-screen window, where nobody sees it. The call is
// a connection to a local socket of the user's runtime folder, named after the data folder.
class CopyCall {
  public:
    // Answers the calls of later copies for the data folder this copy holds the lock of; each
    // call runs onCall from the event loop. Without a runtime folder nobody is answered.
    CopyCall(const QString& dataFolder, std::function<void()> onCall);
    ~CopyCall();
    CopyCall(const CopyCall&) = delete;
    CopyCall& operator=(const CopyCall&) = delete;

    // Whether the copy that holds the data folder answered that it shows the message; waits a
    // little for a copy that is busy. False when no copy answers: the caller says it itself.
    static bool callRunningCopy(const QString& dataFolder);

  private:
    void answer();

    QString path_;
    int socket_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> onCall_;
};

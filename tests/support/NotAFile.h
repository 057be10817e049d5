#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <stop_token>
#include <thread>

#include <QFile>
#include <QString>

// A named pipe where a file is expected, with no program writing into it. A reader that opens it
// and waits for a writer would wait for ever: after `patience` a writer comes by, opens it and
// goes at once, so that such a reader ends (with nothing read) and a test can tell it waited.
class PipeInTheWay {
  public:
    explicit PipeInTheWay(const QString& path,
                          std::chrono::milliseconds patience = std::chrono::seconds(3))
        : path_(QFile::encodeName(path)) {
        made_ = ::mkfifo(path_.constData(), 0600) == 0;
        rescuer_ = std::jthread([this, patience](std::stop_token stop) {
            const auto until = std::chrono::steady_clock::now() + patience;
            while (!stop.stop_requested() && std::chrono::steady_clock::now() < until) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            while (!stop.stop_requested()) {
                const int writer = ::open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (writer >= 0) {
                    ::close(writer);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    }
    ~PipeInTheWay() {
        rescuer_.request_stop();
        rescuer_.join();
        ::unlink(path_.constData());
    }
    PipeInTheWay(const PipeInTheWay&) = delete;
    PipeInTheWay& operator=(const PipeInTheWay&) = delete;

    bool made() const { return made_; }

  private:
    QByteArray path_;
    bool made_ = false;
    std::jthread rescuer_;
};

// How long a call took, in milliseconds.
template <typename Call>
long long millisecondsOf(Call&& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

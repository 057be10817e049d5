#pragma once

#include <chrono>
#include <cstdio>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace widgets {

// For the start-up benchmark: when KESTROVA_FIRST_PAINT_PROBE is set, the moment the widget's
// first paint has reached the screen is printed (nanoseconds since the epoch) and the program
// ends. Otherwise nothing happens.
class FirstPaintProbe : public QObject {
  public:
    static void installOn(QWidget* widget) {
        if (qEnvironmentVariableIsSet("KESTROVA_FIRST_PAINT_PROBE")) {
            widget->installEventFilter(new FirstPaintProbe(widget));
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The backing store is flushed right after the paint; the next turn of the event
            // loop comes after that.
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("%lld\n",
                            static_cast<long long>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    explicit FirstPaintProbe(QObject* parent) : QObject(parent) {}
    bool seen_ = false;
};

}  // namespace widgets

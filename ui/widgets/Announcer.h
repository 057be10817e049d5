#pragma once

#include <functional>

#include <QAccessible>
#include <QString>
#include <QWidget>

class QAccessibleInterface;

namespace widgets {

// Tells a screen reader what changed without a key, without moving the keyboard focus: a hidden
// widget whose accessible object is a notification, renamed and said to show again for every
// piece of news. Orca speaks a notification that shows ("notification" and its name) while the
// focus stays where the pupil is; Qt 6.4 has no other way of announcing that Orca speaks.
class Announcer : public QWidget {
  public:
    explicit Announcer(QWidget* parent);

    // Says the text: the notification takes it as its name and tells that it shows.
    void announce(const QString& text, const std::function<void(QAccessibleEvent*)>& tell);
    // The latest news, empty before the first.
    const QString& news() const { return news_; }

  private:
    QString news_;
};

// The notification a screen reader is offered for the announcer.
QAccessibleInterface* announcerInterface(Announcer* announcer);

}  // namespace widgets

#include "ui/widgets/Announcer.h"

#include <QAccessibleWidget>

namespace widgets {

namespace {

// Shows to a screen reader whenever it has news, though the widget never shows on the screen.
class NotificationInterface : public QAccessibleWidget {
  public:
    explicit NotificationInterface(Announcer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<const Announcer*>(widget())->news() : QString();
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
};

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void Announcer::announce(const QString& text, const std::function<void(QAccessibleEvent*)>& tell) {
    news_ = text;
    // Hidden first: a screen reader may take a second show of the same object for a repeat.
    QAccessibleEvent hidden(this, QAccessible::ObjectHide);
    tell(&hidden);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    tell(&shown);
}

QAccessibleInterface* announcerInterface(Announcer* announcer) {
    return new NotificationInterface(announcer);
}

}  // namespace widgets

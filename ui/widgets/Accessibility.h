#pragma once

#include <functional>
#include <vector>

#include <QAccessible>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "ui/AccessibleRoles.h"
#include "ui/KeyboardRoles.h"

class QKeyEvent;
class QWidget;

namespace widgets {

class Announcer;
class FormView;
class KeyboardNavigation;

// Lets the windows made from now on give their own accessible objects to a screen reader. Qt
// asks for a widget's accessible object as soon as the widget tells of a change, so this comes
// before the window is made.
void installAccessibility();

// The window as a screen reader finds it through Qt's accessibility (AT-SPI on Linux). The
// controls' widgets are windows of their own in the scene, so Qt alone would show them as loose
// objects of the application beside an empty window; here the window's accessible object has
// them as its children instead, in the keyboard's order, each with its role, its text or caption
// as its name and its state, read from the controls. The grid is a table of cells, or the text of
// the help page it shows. A screen reader presses only what the mouse could press at that moment,
// through the widgets' own input, as the keyboard does.
//
// Nothing of it runs while no screen reader is listening: Qt asks for the accessible objects
// only then, and the window's changes are told only then.
class FormAccessibility : public QObject {
  public:
    FormAccessibility(FormView& view, KeyboardNavigation& keys, ui::KeyboardRoles keyboard,
                      ui::AccessibleRoles roles);
    ~FormAccessibility() override;

    FormView& view() const { return view_; }
    KeyboardNavigation& keys() const { return keys_; }
    const ui::KeyboardRoles& keyboard() const { return keyboard_; }
    const ui::AccessibleRoles& roles() const { return roles_; }

    // The controls a screen reader is offered: every one that shows and tells something (not
    // panels, nor pictures without words), those the keyboard walks first and in its order.
    std::vector<ui::Control*> offered() const;
    // A control's name for a screen reader: its text, its caption, or what its picture says.
    QString nameOf(const ui::Control& control) const;
    QWidget* gridWidget() const;
    // Whether a control is one of a choice, which says whether it is chosen; its choice.
    bool isChoice(const ui::Control& control) const;
    const ui::Choice* choiceOf(const ui::Control& control) const;
    Announcer& announcer() const { return *announcer_; }

    // Whether a screen reader listens, and how it is told of a change: through Qt.
    std::function<bool()> listening = [] { return QAccessible::isActive(); };
    std::function<void(QAccessibleEvent*)> tell = [](QAccessibleEvent* event) {
        QAccessible::updateAccessibility(event);
    };

  protected:
    // The grid that takes the focus tells its focus cell as focused: Orca takes a table without
    // a name or headings for layout and says nothing of it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // After every event, while a screen reader listens: tells it what changed that Qt's widgets
    // do not tell themselves.
    void tellChanges();
    // The news and the labels that came into sight, as one announcement.
    void announceNews();
    // Says news once the event is over, with what else it brings.
    void queueNews(const QStringList& news);
    // Says what a spoken key tells, while a screen reader listens; whether the key is one.
    bool spokenKey(const QKeyEvent& key);
    // A label's text while it can be seen, else none.
    QString seenText(const ui::Label& label) const;
    // The choices whose chosen state changed.
    void tellChosen();
    void tellFocusCell();
    void tellOf(QObject* object, QAccessible::Event change);
    void tellOf(QAccessibleInterface* about, QAccessible::Event change);

    FormView& view_;
    KeyboardNavigation& keys_;
    ui::KeyboardRoles keyboard_;
    ui::AccessibleRoles roles_;
    Announcer* announcer_;
    QPointer<QWidget> grid_;
    // What was told last.
    bool newsPrimed_ = false;
    std::vector<long long> toldNews_;
    std::vector<QString> toldLabels_;
    QString toldNewsPage_;
    // News of this event, told once the event is over.
    QStringList pendingNews_;
    std::vector<QString> toldPictures_;
    QString toldPage_;
    std::vector<QString> toldCells_;
    std::vector<bool> toldChosen_;
};

}  // namespace widgets

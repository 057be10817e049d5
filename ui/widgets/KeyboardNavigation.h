#pragma once

#include <functional>
#include <vector>

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "ui/KeyboardRoles.h"
#include "ui/widgets/GridFocus.h"

class QKeyEvent;
class QSlider;
class QWidget;

namespace widgets {

class FormView;
class PictureView;

// The window from the keyboard. Tab and Shift+Tab walk the controls of the focus order that the
// mouse could click at that moment (shown, enabled and not covered); Enter clicks a focused
// button as Space does; arrows move a focused track bar by whole numbers. The grid has a focus
// cell, framed over the viewer: arrows move it, digits go to the number typed, and Enter or Space
// press it as the mouse would, with a press and a release at its centre. Shortcuts click their
// button only where the mouse could, once however long the key is held. The focus is framed only
// after a key has worked the window, until the mouse is pressed again. Everything reaches the form
// through the widgets' own input paths, so the keyboard can do nothing the mouse cannot.
class KeyboardNavigation : public QObject {
  public:
    KeyboardNavigation(FormView& view, ui::KeyboardRoles roles);

    GridCell focusCell() const { return cell_; }
    // Moves the focus cell to a cell and presses it there, as Enter does.
    void pressCell(GridCell cell);
    // Runs when the focus cell moves.
    std::function<void()> onFocusCellMoved;
    // The control's widget that has the keyboard focus, or nullptr.
    QWidget* focusedWidget() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool keyPressed(QKeyEvent* key);
    bool reachable(const QWidget* widget) const;
    void moveFocus(int direction);
    bool runShortcut(const QKeyEvent* key);
    bool gridKey(QKeyEvent* key);
    bool sliderKey(QSlider* slider, QKeyEvent* key);
    void typeDigit(QChar digit);
    void pressFocusCell();
    void setCell(GridCell cell);
    void followMouse(QPointF at);
    void focusGridWhenAnswering();
    void showFrames(bool shown);
    void frameIfShown(QWidget* widget);

    FormView& view_;
    ui::KeyboardRoles roles_;
    std::vector<QWidget*> order_;
    PictureView* grid_ = nullptr;
    // Kept rather than asked of the view: the view's own destruction takes the focus away, and
    // the filter sees that after the view has stopped being a scroll area.
    QWidget* viewport_ = nullptr;
    QWidget* frame_ = nullptr;
    GridCell cell_;
    QString typed_;
    QElapsedTimer sinceTyped_;
    // Whether the focus is framed: from the first key that works the window until the next press
    // of the mouse, so that a pupil who only uses the mouse never sees a frame.
    bool framesShown_ = false;
};

}  // namespace widgets

#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QGraphicsView>
#include <QTimer>

#include "ui/Controls.h"
#include "ui/Look.h"
#include "ui/widgets/ControlBindings.h"

class QGraphicsItem;
class QGraphicsScene;

namespace widgets {

// Runs one event handler; an error is reported and the program goes on. Returns false when the
// handler failed.
using Dispatcher = std::function<bool(const std::function<void()>&)>;

// The program's window. It shows the 1280 x 727 design with one Qt widget per control, each an
// item of its own in the scene, scaled with its aspect kept to the size of the window and
// centred, over the window's background gradient, and hands the user's input to the
// controls through the dispatcher. After every event it brings every widget in line with its
// control, and runs the timer while the timer control is enabled.
class FormView : public QGraphicsView {
  public:
    static constexpr int kDesignWidth = 1280;
    static constexpr int kDesignHeight = 727;

    // When the controls' widgets get their windows of the system. Qt gives every embedded widget
    // one when it is first shown, which costs more than everything else the window does before
    // its first frame; after that frame, the window paints the widgets itself, pixel for pixel as
    // their items would, and shows them right after it is on the screen (or at the first input
    // or question about what is on the screen, whichever comes first).
    enum class FirstFrame { WithWidgetsShown, PaintedBeforeWidgetsShow };

    // controls: lowest in the stacking order first, each panel before its children.
    FormView(const std::vector<ui::Control*>& controls, ui::Timer& timer, Dispatcher dispatcher,
             FirstFrame firstFrame = FirstFrame::WithWidgetsShown, QWidget* parent = nullptr);
    ~FormView() override;

    // Runs through the dispatcher when the window is closed.
    std::function<void()> onClose;

    // Brings every widget in line with its control, and starts or stops the timer.
    void syncFromControls();

    // The controls, lowest in the stacking order first.
    const std::vector<ui::Control*>& controls() const { return controls_; }
    // The widget that shows a control, or nullptr for a control the window does not show.
    QWidget* widgetFor(const ui::Control& control) const;
    // The control's widget that has the keyboard focus, or nullptr.
    QWidget* focusedWidget() const;
    // The control's widget that a press at a point of the design would reach, or nullptr.
    QWidget* widgetAt(QPointF designPoint) const;
    // Whether the mouse could press a control's widget now: shown, enabled, and on top at its
    // middle. The keyboard and a screen reader press nothing else.
    bool reachable(const QWidget* widget) const;
    // Whether another control's widget that takes presses lies over the widget's middle: a label
    // under a button is not seen.
    bool covered(const QWidget* widget) const;
    // The control a widget of the window shows, or nullptr. Makes no widget.
    ui::Control* controlOf(const QObject* widget) const;
    // Where a rectangle of the design lies on the screen, in pixels of the screen.
    QRect screenRect(const QRectF& design) const;
    // Runs after every bringing in line of the widgets with their controls.
    std::function<void()> onSynced;
    // Runs first when the window is destroyed, while its widgets are still whole.
    std::function<void()> onDestroying;
    // Window pixels per design unit.
    double designScale() const;
    // A point of the design as a point of the window.
    QPointF mapFromDesign(QPointF point) const;
    bool timerRunning() const { return timer_.isActive(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void drawBackground(QPainter* painter, const QRectF& rect) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    bool viewportEvent(QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void showLook();
    // The whole screen pixels, in the painter's device, that pictures above an item cover with
    // opaque pixels; the device transform is the scene's.
    QRegion opaquelyCovered(const QGraphicsItem& below, const QTransform& device) const;
    ui::Look shownLook_ = ui::Look::Default;
    void runEvent(const std::function<void()>& handler);
    void fitDesign();
    void syncTimer();
    // The binding of the control at an index, made with its widget when first asked for.
    ControlBinding& binding(std::size_t index) const;
    void makeRemainingWidgets();
    // Ends the holding back of the first frame: every widget whose control shows is shown.
    void showHeldBackWidgets() const;
    ControlBinding::Showing showing() const;

    ui::Timer& formTimer_;
    Dispatcher dispatch_;
    QGraphicsScene* scene_;
    std::vector<ui::Control*> controls_;
    EventRunner run_;
    // Made lazily, hence mutable: a widget is made when its control first shows or is asked for.
    mutable std::vector<std::unique_ptr<ControlBinding>> bindings_;
    bool remainingScheduled_ = false;
    // The widgets wait to be shown until the first frame is on the screen.
    mutable bool holdingBack_ = false;
    QTimer timer_;
};

}  // namespace widgets

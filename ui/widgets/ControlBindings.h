#pragma once

#include <functional>
#include <memory>

#include <QWidget>

#include "ui/Controls.h"

namespace widgets {

// Runs the handler of one user event, then brings the whole window in line with the controls.
using EventRunner = std::function<void(const std::function<void()>&)>;

// One control and the Qt widget that shows it.
class ControlBinding {
  public:
    virtual ~ControlBinding() = default;
    virtual const ui::Control& control() const = 0;
    virtual QWidget* widget() const = 0;
    // Brings the widget in line with the control: place, visibility, enabled state and the
    // control's own state. Never calls back into the control. While showing is held back, a
    // hidden widget stays hidden even where its control shows.
    enum class Showing { Allowed, HeldBack };
    virtual void sync(Showing showing) = 0;
};

// Whether the control is shown, with every panel it lies in.
bool shownInWindow(const ui::Control& control);

// The dynamic property that marks the controls' widgets, which the window's style sheet styles.
inline constexpr char kControlProperty[] = "formControl";

// Makes the widget for a control as a window of its own, to be shown in the window's scene at the
// control's position in the design: panels do not contain their controls, so that a control lying
// outside its panel is still drawn and reachable.
std::unique_ptr<ControlBinding> makeBinding(ui::Control& control, const EventRunner& run);

}  // namespace widgets

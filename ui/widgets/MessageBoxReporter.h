#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/Errors.h"

namespace widgets {

// Raises the dialog and asks for the keyboard once exec() has shown it: some compositors map a new
// dialog behind a full-screen window, or give it the keys only when clicked, unless it asks.
void activateWhenShown(QWidget& dialog);

// Shows each error in a message box over the window and waits for the user to confirm it.
class MessageBoxReporter : public ui::ErrorReporter {
  public:
    void setWindow(QWidget* window) { window_ = window; }
    void report(const QString& message) override;

  private:
    QPointer<QWidget> window_;
};

}  // namespace widgets

#include "ui/widgets/MessageBoxReporter.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace widgets {

void showActive(QWidget& dialog) {
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

void MessageBoxReporter::report(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, window_);
    if (window_ == nullptr) {
        // A message before the window (such as a second copy's, while the first one fills the
        // screen) asks to stay over the full-screen window of the other copy.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    showActive(box);
    box.exec();
}

}  // namespace widgets

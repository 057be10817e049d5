#include "ui/widgets/MessageBoxReporter.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

namespace widgets {

void activateWhenShown(QWidget& dialog) {
    // Shown by exec() first, so that the dialog is modal.
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.raise();
        dialog.activateWindow();
    });
}

void MessageBoxReporter::report(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), message,
                    QMessageBox::Ok, window_);
    if (window_ == nullptr) {
        // A message before the window (such as a second copy's, while the first one fills the
        // screen) asks to stay over the full-screen window of the other copy.
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    activateWhenShown(box);
    box.exec();
}

}  // namespace widgets

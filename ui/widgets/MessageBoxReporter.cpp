#include "ui/widgets/MessageBoxReporter.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace widgets {

void MessageBoxReporter::report(const QString& message) {
    QMessageBox::critical(window_, QGuiApplication::applicationDisplayName(), message);
}

}  // namespace widgets

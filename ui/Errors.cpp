#include "ui/Errors.h"

namespace ui {

bool dispatch(ErrorReporter& reporter, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        reporter.report(QString::fromStdString(e.what()));
    } catch (...) {
        reporter.report(QStringLiteral("Unknown error"));
    }
    return false;
}

}  // namespace ui

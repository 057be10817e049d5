// The program entry: the form, started, in its window.
#include <algorithm>
#include <exception>

#include <QApplication>
#include <QScreen>
#include <QStandardPaths>

#include "app/Form.h"
#include "app/SingleInstance.h"
#include "app/Texts.h"
#include "ui/Bitmap.h"
#include "ui/Clock.h"
#include "ui/Fonts.h"
#include "ui/Random.h"
#include "ui/widgets/FirstPaintProbe.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/MessageBoxReporter.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    ui::loadBundledFonts();

    widgets::MessageBoxReporter reporter;
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty()) {
        reporter.report(fileMessage(1, kMessageNoDataLocation));
        return 1;
    }
    const QString dataFolder = dataHome + QStringLiteral("/Kestrova/");
    // A second copy for the same pupil's folder says so and ends, leaving the folder alone.
    const SingleInstance instance(dataFolder);
    if (instance.anotherCopyRuns()) {
        reporter.report(instance.alreadyOpenMessage());
        return 0;
    }

    // The form paints its pictures with as many pixels as the screen shows per design unit.
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenArea = screen->geometry();
    const double designScale =
        std::min(screenArea.width() / static_cast<double>(TForm3::kDesignWidth),
                 screenArea.height() / static_cast<double>(TForm3::kDesignHeight));
    const double pixelRatio = ui::pictureRatio(designScale * screen->devicePixelRatio());

    ui::SystemClock clock;
    ui::SystemRandom random;
    TForm3 form(dataFolder, clock, random, reporter, pixelRatio);
    // An error during start-up ends the program: it cannot go on without its data.
    if (!form.dispatch([&form] { form.FormCreate(); })) {
        return 1;
    }

    widgets::FormView window(
        form.controls(), form.Timer1,
        [&form](const std::function<void()>& handler) { return form.dispatch(handler); });
    reporter.setWindow(&window);
    window.setWindowTitle(QStringLiteral("Form3"));
    window.onClose = [&form] { form.FormClose(); };
    form.onCloseRequested = [&window] { window.close(); };

    // Without a window manager a full-screen request alone leaves a small window.
    window.setGeometry(screenArea);
    window.showFullScreen();
    widgets::FirstPaintProbe::installOn(window.viewport());
    return app.exec();
}

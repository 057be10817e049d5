// The program entry: the form, started, in its window.
#include <algorithm>
#include <cstdio>
#include <exception>

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <QStandardPaths>

#include "app/Form.h"
#include "app/KeyboardRoles.h"
#include "app/SingleInstance.h"
#include "app/Texts.h"
#include "ui/Bitmap.h"
#include "ui/Clock.h"
#include "ui/Fonts.h"
#include "ui/Random.h"
#include "ui/widgets/Accessibility.h"
#include "ui/widgets/FirstPaintProbe.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/KeyboardNavigation.h"
#include "ui/widgets/MessageBoxReporter.h"

namespace {

constexpr int kEnglishRow = 2;
constexpr int kTitleLineEntry = 35;

void describeCommandLine(QCommandLineParser& parser) {
    // The title line is spaced for the title page; a terminal wants it plain.
    parser.setApplicationDescription(
        QString::fromUtf8(UiText[kEnglishRow][kTitleLineEntry]).simplified());
    parser.addHelpOption();
    parser.addVersionOption();
}

// --help and --version are answered before the window system is reached, so that both work
// without a display. Qt's own options (-platform, -style ...) are not known until the
// application is made, so mistakes are reported later, by argumentsAccepted.
void answerInformationOptions(int argc, char** argv) {
    if (argc < 2) {
        return;  // started from the menu: no second application to make and drop
    }
    const QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.parse(QCoreApplication::arguments());
    // --help-all lists the options of the window system too, which only the full application knows.
    if (parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("help-all"))) {
        parser.showHelp();
    }
    if (parser.isSet(QStringLiteral("version"))) {
        parser.showVersion();
    }
}

// An unknown option ends the program with a message and status 1 (inside process), and so
// does an argument: the program opens no files.
bool argumentsAccepted(const QApplication& app) {
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(app);
    if (parser.positionalArguments().isEmpty()) {
        return true;
    }
    std::fprintf(stderr, "%s: Unexpected argument '%s'.\n",
                 qPrintable(QCoreApplication::applicationName()),
                 qPrintable(parser.positionalArguments().constFirst()));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(KESTROVA_APP_ID));
    answerInformationOptions(argc, argv);

    // Started from the menu, fontconfig reads its configuration beside the connection to the
    // display. Not with options: a mistaken one, or --help-all, ends the program at once, and
    // fontconfig's first start then belongs where Qt puts it, in the application's font database,
    // which tears it down when it goes.
    std::jthread fontConfiguration;
    if (argc < 2) {
        fontConfiguration = ui::prepareFontConfiguration();
    }
    QApplication app(argc, argv);
    if (fontConfiguration.joinable()) {
        fontConfiguration.join();
    }
    if (!argumentsAccepted(app)) {
        return 1;
    }
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

    widgets::installAccessibility();
    widgets::FormView window(
        form.controls(), form.Timer1,
        [&form](const std::function<void()>& handler) { return form.dispatch(handler); },
        widgets::FormView::FirstFrame::PaintedBeforeWidgetsShow);
    reporter.setWindow(&window);
    window.setWindowTitle(QStringLiteral("Form3"));
    window.onClose = [&form] { form.FormClose(); };
    form.onCloseRequested = [&window] { window.close(); };
    // Both owned by the window. A screen reader reads and works the window as the keyboard does.
    auto* keys = new widgets::KeyboardNavigation(window, keyboardRoles(form));
    new widgets::FormAccessibility(window, *keys, keyboardRoles(form), accessibleRoles(form));

    // Without a window manager a full-screen request alone leaves a small window.
    window.setGeometry(screenArea);
    window.showFullScreen();
    widgets::FirstPaintProbe::installOn(window.viewport());
    return app.exec();
}

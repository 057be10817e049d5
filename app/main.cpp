// The program entry: the form, started, in its window.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

#include <malloc.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QStandardPaths>

#include "app/CopyCall.h"
#include "app/Form.h"
#include "app/KeyboardRoles.h"
#include "app/PupilCommands.h"
#include "app/SingleInstance.h"
#include "app/Texts.h"
#include "report/Report.h"
#include "ui/Bitmap.h"
#include "ui/Clock.h"
#include "ui/Fonts.h"
#include "ui/Random.h"
#include "ui/widgets/Accessibility.h"
#include "ui/widgets/FirstPaintProbe.h"
#include "ui/widgets/FormView.h"
#include "ui/widgets/KeyboardNavigation.h"
#include "ui/widgets/MessageBoxReporter.h"
#include "ui/widgets/NameDialog.h"

namespace {

constexpr int kEnglishRow = 2;
constexpr int kTitleLineEntry = 35;
constexpr char kLicenceNotice[] =
    "Licence GPL-3.0-or-later: the GNU General Public License, version 3 or later.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

void describeCommandLine(QCommandLineParser& parser) {
    // The title line is spaced for the title page; a terminal wants it plain.
    parser.setApplicationDescription(
        QString::fromUtf8(UiText[kEnglishRow][kTitleLineEntry]).simplified());
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("pupil"), QStringLiteral("Starts as the pupil <name>."),
         QStringLiteral("name")},
        {QStringLiteral("add-pupil"), QStringLiteral("Adds the pupil <name> and ends."),
         QStringLiteral("name")},
        {QStringLiteral("rename-pupil"),
         QStringLiteral("Gives the pupil <old> the name that follows (--rename-pupil OLD NEW) and "
                        "ends."),
         QStringLiteral("old")},
        {QStringLiteral("remove-pupil"),
         QStringLiteral("Moves the folder of the pupil <name> to the trash and ends."),
         QStringLiteral("name")},
        {QStringLiteral("list-pupils"), QStringLiteral("Prints the pupils' names and ends.")},
        {QStringLiteral("report"),
         QStringLiteral("Writes the progress report of the pupils to <file> (.pdf, .html or .csv) "
                        "and ends. With --pupil, of those pupils only."),
         QStringLiteral("file")},
        {QStringLiteral("open-report"),
         QStringLiteral("Writes the PDF report of all pupils into the documents folder under "
                        "today's date, opens it and ends.")},
        {QStringLiteral("data"),
         QStringLiteral("Reports on the data folder <folder> (repeatable) instead of this "
                        "account's; with a pupils' command, works on that one folder."),
         QStringLiteral("folder")},
        {QStringLiteral("language"),
         QStringLiteral("Writes the report's class page in <language>: ru, en-GB or en-US."),
         QStringLiteral("language")},
        {QStringLiteral("high-contrast"),
         QStringLiteral("Shows the window, or writes the report, in the high-contrast look, "
                        "whatever look the pupil chose.")},
    });
}

// The pupils' commands, which end the program without a window.
const char* const kPupilCommands[] = {"add-pupil", "rename-pupil", "remove-pupil", "list-pupils"};

QString dataFolderPath() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return dataHome.isEmpty() ? QString() : dataHome + QStringLiteral("/Kestrova/");
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

[[noreturn]] void endWithError(const QString& message) {
    print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + message + '\n');
    std::exit(1);
}

// Runs a pupils' command when one is given, and ends. Also a mistake in one (a missing name)
// ends here: these commands need no display, so a script on a server gets its answer.
void answerPupilCommands(const QCommandLineParser& parser, bool parsed) {
    QStringList given;
    for (const char* name : kPupilCommands) {
        const QString option = QStringLiteral("--") + QLatin1String(name);
        for (const QString& argument : QCoreApplication::arguments().mid(1)) {
            if (argument == option || argument.startsWith(option + QLatin1Char('='))) {
                given << QLatin1String(name);
                break;
            }
        }
    }
    if (given.isEmpty()) {
        return;
    }
    if (!parsed) {
        endWithError(parser.errorText());
    }
    if (given.size() > 1 || parser.isSet(QStringLiteral("pupil"))) {
        endWithError(QStringLiteral("Give one pupils' command at a time."));
    }
    PupilCommand command;
    const QString name = given.constFirst();
    const QStringList extra = parser.positionalArguments();
    if (name == QLatin1String("rename-pupil")) {
        if (extra.size() != 1) {
            endWithError(QStringLiteral("--rename-pupil takes the old name and the new one."));
        }
        command = {PupilCommand::Kind::Rename, {parser.value(name), extra.constFirst()}};
    } else {
        if (!extra.isEmpty()) {
            endWithError(QStringLiteral("Unexpected argument '%1'.").arg(extra.constFirst()));
        }
        const auto kind = name == QLatin1String("add-pupil")      ? PupilCommand::Kind::Add
                          : name == QLatin1String("remove-pupil") ? PupilCommand::Kind::Remove
                                                                  : PupilCommand::Kind::List;
        command = {kind, {parser.value(name)}};
    }
    if (parser.isSet(QStringLiteral("language"))) {
        endWithError(QStringLiteral("--language goes with --report."));
    }
    // The folder named with --data, which must be there (a mistyped one is not made), or this
    // account's.
    QString dataFolder;
    const QStringList named = parser.values(QStringLiteral("data"));
    if (named.size() > 1) {
        endWithError(
            QStringLiteral("A pupils' command works on one data folder: give --data once."));
    }
    if (!named.isEmpty()) {
        if (!QFileInfo(named.constFirst()).isDir()) {
            endWithError(QStringLiteral("There is no data folder %1.").arg(named.constFirst()));
        }
        dataFolder = QDir::cleanPath(named.constFirst()) + QLatin1Char('/');
    } else {
        dataFolder = dataFolderPath();
    }
    if (dataFolder.isEmpty()) {
        endWithError(fileMessage(2, kMessageNoDataLocation));
    }
    const CommandOutcome outcome = runPupilCommand(command, dataFolder);
    print(stdout, outcome.out);
    if (!outcome.err.isEmpty()) {
        print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + outcome.err);
    }
    std::exit(outcome.status);
}

bool givenOption(int argc, char** argv, const char* name) {
    const QByteArray option = QByteArray("--") + name;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == option || argument.startsWith(option + '=')) {
            return true;
        }
    }
    return false;
}

// The arguments without Qt's -platform option: a report is drawn off the screen whatever the
// command line asks, so that it needs no display.
std::vector<char*> withoutPlatform(int argc, char** argv) {
    std::vector<char*> kept;
    for (int i = 0; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (i > 0 && (argument == "-platform" || argument == "--platform") && i + 1 < argc) {
            ++i;
            continue;
        }
        if (i > 0 && (argument.startsWith("-platform=") || argument.startsWith("--platform="))) {
            continue;
        }
        kept.push_back(argv[i]);
    }
    kept.push_back(nullptr);
    return kept;
}

bool displayGiven() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Hands a file to xdg-open. It ends with a failing status when no viewer can be started, and
// mostly at once with success when one is; where it waits for the viewer to be closed, a
// while without an answer counts as opened, and it is left running.
bool openedInViewer(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    char program[] = "xdg-open";
    char* const arguments[] = {program, const_cast<char*>(file.constData()), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, program, nullptr, nullptr, arguments, environ) != 0) {
        return false;
    }
    constexpr int kPatienceMilliseconds = 10000;
    constexpr int kStepMilliseconds = 50;
    for (int waited = 0; waited < kPatienceMilliseconds; waited += kStepMilliseconds) {
        int status = 0;
        const pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (ended < 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kStepMilliseconds));
    }
    return true;
}

// The progress report: written without a window and without the data folder's lock, so that it
// can run beside an open program; it only reads there. Started from the menu (--open-report) on
// a desktop, a failure is also shown in a window, as nobody reads the standard error there.
int answerReport(int argc, char** argv) {
    // The HTML's pictures and the PDF's pages pass through buffers of megabytes, one after
    // another: kept in the heap rather than mapped and unmapped each time, their pages are not
    // faulted in again and again (a fifth of the PDF's processor time).
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    const bool fromMenu = givenOption(argc, argv, "open-report") && displayGiven();
    std::vector<char*> arguments = withoutPlatform(argc, argv);
    int count = static_cast<int>(arguments.size()) - 1;
    if (!fromMenu) {
        // Nothing is shown: the pictures are drawn off the screen, also with no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication app(count, arguments.data());
    const auto fail = [fromMenu](const QString& message) {
        if (fromMenu) {
            QMessageBox::critical(nullptr, QCoreApplication::applicationName(), message);
        }
        endWithError(message);
    };
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (!parser.parse(QCoreApplication::arguments())) {
        fail(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        fail(QStringLiteral("Unexpected argument '%1'.")
                 .arg(parser.positionalArguments().constFirst()));
    }
    const bool open = parser.isSet(QStringLiteral("open-report"));
    if (open == parser.isSet(QStringLiteral("report"))) {
        fail(QStringLiteral("Give either --report FILE or --open-report."));
    }
    if (parser.values(QStringLiteral("report")).size() > 1) {
        fail(QStringLiteral("Give one --report FILE: a report is written to one file."));
    }
    for (const char* name : kPupilCommands) {
        if (parser.isSet(QLatin1String(name))) {
            fail(QStringLiteral("A report goes without the pupils' commands."));
        }
    }
    report::Request request;
    request.moment = ui::SystemClock().now();
    request.pupils = parser.values(QStringLiteral("pupil"));
    request.highContrast = parser.isSet(QStringLiteral("high-contrast"));
    for (const QString& folder : parser.values(QStringLiteral("data"))) {
        if (folder.isEmpty()) {
            fail(QStringLiteral("--data needs a folder: an empty name is none."));
        }
        request.dataFolders << QDir::cleanPath(folder) + QLatin1Char('/');
    }
    request.foldersOfOthers = !request.dataFolders.isEmpty();
    if (request.dataFolders.isEmpty()) {
        const QString dataFolder = dataFolderPath();
        if (dataFolder.isEmpty()) {
            fail(fileMessage(2, kMessageNoDataLocation));
        }
        request.dataFolders << dataFolder;
    }
    if (parser.isSet(QStringLiteral("language"))) {
        report::Language language;
        if (!report::languageFromName(parser.value(QStringLiteral("language")), language)) {
            fail(QStringLiteral("Unknown language '%1': give ru, en-GB or en-US.")
                     .arg(parser.value(QStringLiteral("language"))));
        }
        request.language = language;
    }
    if (open) {
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (documents.isEmpty() || !QDir().mkpath(documents)) {
            fail(QStringLiteral("There is no documents folder to write the report to."));
        }
        request.target = report::datedReportName(
            documents,
            request.language.value_or(QLocale::system().language() == QLocale::Russian
                                          ? report::Language::Russian
                                          : report::Language::British),
            request.moment);
    } else {
        request.target = parser.value(QStringLiteral("report"));
    }
    ui::loadBundledFonts();
    const report::Outcome outcome = report::writeReport(request);
    for (const QString& line : outcome.skipped) {
        print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + line + '\n');
    }
    if (outcome.status != 0) {
        fail(outcome.error);
    }
    if (open) {
        if (!openedInViewer(request.target)) {
            fail(QStringLiteral("The report was written to %1 but could not be opened.")
                     .arg(request.target));
        }
    }
    print(stdout, request.target + '\n');
    return 0;
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
    const bool parsed = parser.parse(QCoreApplication::arguments());
    // --help-all lists the options of the window system too, which only the full application knows.
    if (parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("help-all"))) {
        parser.showHelp();
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("%s %s\n%s", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()), kLicenceNotice);
        std::exit(EXIT_SUCCESS);
    }
    answerPupilCommands(parser, parsed);
    if (parsed &&
        (parser.isSet(QStringLiteral("data")) || parser.isSet(QStringLiteral("language")))) {
        endWithError(QStringLiteral("--data and --language go with --report."));
    }
}

// An unknown option ends the program with a message and status 1 (inside process), and so
// does an argument: the program opens no files. `pupil` gets the name given with --pupil.
bool argumentsAccepted(const QApplication& app, std::optional<QString>& pupil) {
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(app);
    if (parser.isSet(QStringLiteral("pupil"))) {
        pupil = parser.value(QStringLiteral("pupil"));
    }
    if (parser.positionalArguments().isEmpty()) {
        return true;
    }
    std::fprintf(stderr, "%s: Unexpected argument '%s'.\n",
                 qPrintable(QCoreApplication::applicationName()),
                 qPrintable(parser.positionalArguments().constFirst()));
    return false;
}

// What a close keeps is kept also when the session ends without the close button: at the
// session manager's request to save (before a logout), at SIGTERM (a logout or shutdown without
// session management), and when the connection to the display breaks, after which Qt ends the
// program through exit() with no window left to close or to tell of a failure in.
class EndOfSession {
  public:
    EndOfSession(QApplication& app, TForm3& form, QWidget& window) {
        QObject::connect(
            &app, &QGuiApplication::commitDataRequest, &window,
            [&form](QSessionManager&) { form.dispatch([&form] { form.FormClose(); }); });
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe_) == 0) {
            terminateNotifier_ =
                std::make_unique<QSocketNotifier>(signalPipe_[1], QSocketNotifier::Read);
            QObject::connect(
                terminateNotifier_.get(), &QSocketNotifier::activated, &window, [this, &window] {
                    char byte = 0;
                    [[maybe_unused]] const auto read = ::read(signalPipe_[1], &byte, 1);
                    terminateNotifier_->setEnabled(false);
                    // As the close button; a message box still open ends too.
                    window.close();
                    QCoreApplication::exit(0);
                });
            struct sigaction action {};
            action.sa_handler = [](int) {
                const char byte = 1;
                [[maybe_unused]] const auto written = ::write(signalPipe_[0], &byte, 1);
            };
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            ::sigaction(SIGTERM, &action, nullptr);
        }
        form_ = &form;
        std::atexit([] {
            if (form_ != nullptr) {
                TForm3* form = form_;
                form_ = nullptr;
                form->saveAtExit();
            }
        });
    }
    ~EndOfSession() {
        form_ = nullptr;
        ::signal(SIGTERM, SIG_DFL);
    }
    EndOfSession(const EndOfSession&) = delete;
    EndOfSession& operator=(const EndOfSession&) = delete;

  private:
    static inline int signalPipe_[2] = {-1, -1};
    static inline TForm3* form_ = nullptr;
    std::unique_ptr<QSocketNotifier> terminateNotifier_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setApplicationVersion(QStringLiteral(KESTROVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(KESTROVA_APP_ID));
    if ((givenOption(argc, argv, "report") || givenOption(argc, argv, "open-report")) &&
        !givenOption(argc, argv, "help") && !givenOption(argc, argv, "version")) {
        return answerReport(argc, argv);
    }
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
    std::optional<QString> pupilAsked;
    if (!argumentsAccepted(app, pupilAsked)) {
        return 1;
    }
    ui::loadBundledFonts();

    widgets::MessageBoxReporter reporter;
    const QString dataFolder = dataFolderPath();
    if (dataFolder.isEmpty()) {
        reporter.report(fileMessage(1, kMessageNoDataLocation));
        return 1;
    }
    // A second copy for the same pupil's folder says so and ends, leaving the folder alone.
    const SingleInstance instance(dataFolder);
    if (instance.anotherCopyRuns()) {
        // The running copy shows the message over its window, where it cannot be missed.
        if (!CopyCall::callRunningCopy(dataFolder)) {
            reporter.report(instance.alreadyOpenMessage());
        }
        return 0;
    }

    // The form paints its pictures with as many pixels as the screen shows per design unit.
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect screenArea = screen->geometry();
    const double designScale =
        std::min(screenArea.width() / static_cast<double>(TForm3::kDesignWidth),
                 screenArea.height() / static_cast<double>(TForm3::kDesignHeight));
    const double pixelRatio = ui::pictureRatio(designScale * screen->devicePixelRatio());

    // The pupil chosen last, or the one asked for, whose choice is then kept for the next start.
    pupils::Roster roster(dataFolder);
    const std::vector<pupils::Pupil> known = roster.pupils();
    pupils::Pupil pupil = roster.lastChosen(known);
    std::optional<persistence::FileFailure> choiceNotKept;
    if (pupilAsked) {
        const auto asked = pupils::findPupil(known, *pupilAsked);
        if (!asked) {
            print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") +
                              pupils::unknownPupilMessage(*pupilAsked, known) + QLatin1Char('\n'));
            return 1;
        }
        if (*asked != pupil) {
            pupil = *asked;
            choiceNotKept = roster.setLastChosen(pupil);
        }
    }

    ui::SystemClock clock;
    ui::SystemRandom random;
    widgets::NameDialogPrompt namePrompt;
    TForm3 form(roster.folderOf(pupil), clock, random, reporter, pixelRatio);
    if (givenOption(argc, argv, "high-contrast")) {
        form.forceHighContrast();
    }
    // An error during start-up ends the program: it cannot go on without its data.
    if (!form.dispatch([&] { form.startWithPupils(roster, pupil, namePrompt); })) {
        return 1;
    }
    // The program starts as the pupil asked for all the same; the next start will not.
    if (choiceNotKept) {
        const QString message =
            pupilText(pupilLanguage(form.LanguageRow, form.AmericanEnglish), kPupilChoiceNotKept)
                .arg(choiceNotKept->path, choiceNotKept->reason);
        print(stderr, QCoreApplication::applicationName() + QStringLiteral(": ") + message + '\n');
        reporter.report(message);
    }

    widgets::installAccessibility();
    widgets::FormView window(
        form.controls(), form.Timer1,
        [&form](const std::function<void()>& handler) { return form.dispatch(handler); },
        widgets::FormView::FirstFrame::PaintedBeforeWidgetsShow);
    reporter.setWindow(&window);
    namePrompt.setWindow(&window);
    window.setWindowTitle(QStringLiteral("Form3"));
    window.onClose = [&form] { form.FormClose(); };
    form.onCloseRequested = [&window] { window.close(); };
    const EndOfSession endOfSession(app, form, window);
    // Both owned by the window. A screen reader reads and works the window as the keyboard does.
    auto* keys = new widgets::KeyboardNavigation(window, keyboardRoles(form));
    new widgets::FormAccessibility(window, *keys, keyboardRoles(form), accessibleRoles(form));

    // Without a window manager a full-screen request alone leaves a small window.
    window.setGeometry(screenArea);
    window.showFullScreen();
    widgets::FirstPaintProbe::installOn(window.viewport());
    // A copy started again for this folder: the window comes forward and says it is open.
    bool telling = false;
    const CopyCall calls(dataFolder, [&] {
        if (telling) {
            return;
        }
        telling = true;
        window.raise();
        reporter.report(instance.alreadyOpenMessage());
        telling = false;
    });
    return app.exec();
}

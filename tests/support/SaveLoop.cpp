// The child of the kill test: the program's start on a data folder, then saves of both files in
// a loop until it is killed. Generation g writes Save.dat with every multiplication counter at
// g and the statistics period ending at moment g, and save2.dat with g % 9 + 1 records of weight
// g, so that a file holding parts of two generations shows.
// With --switch there are two pupils, and each generation is left unwritten in the current
// pupil's memory for a switch to the other pupil to save: even generations are the first pupil's,
// odd ones the second's. After each switch the child prints the generation it saved.
// Usage: save_loop DATA_FOLDER [--switch]. Prints "ready" once it holds the folder and saves.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include <QGuiApplication>

#include "app/Form.h"
#include "app/SingleInstance.h"
#include "tests/support/SaveGenerations.h"
#include "tests/support/ScriptedNamePrompt.h"
#include "ui/Fonts.h"

namespace {

[[noreturn]] void switchPupilsForever(TForm3& form, pupils::Roster& roster, ui::FixedClock& clock,
                                      ui::CollectingErrorReporter& reporter) {
    const std::vector<pupils::Pupil> both = roster.pupils();
    // Both pupils' last generations, to go on after them.
    std::int64_t generation = static_cast<std::int64_t>(form.Progress.PeriodEnd[2]);
    ui::ScriptedRandom random;
    for (const pupils::Pupil& pupil : both) {
        TForm3 look(roster.folderOf(pupil), clock, random, reporter);
        look.dispatch([&look] { look.FormCreate(); });
        generation = std::max(generation, static_cast<std::int64_t>(look.Progress.PeriodEnd[2]));
    }
    for (++generation;; ++generation) {
        const pupils::Pupil& owner = both[static_cast<std::size_t>(generation % 2)];
        if (form.currentPupil() != owner) {
            continue;
        }
        putGeneration(form, clock, generation);
        const pupils::Pupil& other = both[static_cast<std::size_t>((generation + 1) % 2)];
        form.dispatch([&form, &other] { form.SwitchToPupil(other); });
        if (!reporter.messages.isEmpty()) {
            std::fprintf(stderr, "%s\n", qPrintable(reporter.messages.join('\n')));
            std::exit(5);
        }
        std::printf("%lld\n", static_cast<long long>(generation));
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool switching = argc == 3 && std::strcmp(argv[2], "--switch") == 0;
    if (argc != 2 && !switching) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER [--switch]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ui::loadBundledFonts();
    const QString folder = QString::fromLocal8Bit(argv[1]);

    const SingleInstance instance(folder);
    if (instance.anotherCopyRuns()) {
        std::fprintf(stderr, "the folder is held by another copy\n");
        return 3;
    }
    pupils::Roster roster(folder, QStringLiteral("Anna"));
    if (switching && roster.pupils().size() == 1 &&
        !std::holds_alternative<pupils::Pupil>(roster.add(QStringLiteral("Boris")))) {
        std::fprintf(stderr, "the second pupil cannot be made\n");
        return 4;
    }
    const pupils::Pupil last = roster.lastChosen(roster.pupils());
    ui::FixedClock clock(0);
    ui::ScriptedRandom random;
    ui::CollectingErrorReporter reporter;
    ScriptedNamePrompt prompt;
    TForm3 form(roster.folderOf(last), clock, random, reporter);
    if (!form.dispatch([&] {
            form.FormCreate();
            form.attachPupils(roster, last, prompt);
        }) ||
        !reporter.messages.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(reporter.messages.join('\n')));
        return 4;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    if (switching) {
        switchPupilsForever(form, roster, clock, reporter);
    }
    for (auto generation = static_cast<std::int64_t>(form.Progress.PeriodEnd[2]) + 1;;
         ++generation) {
        saveGeneration(form, clock, generation);
    }
}

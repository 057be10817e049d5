// The child of the kill test: the program's start on a data folder, then saves of both files in
// a loop until it is killed. Generation g writes Save.dat with every multiplication counter at
// g and the statistics period ending at moment g, and save2.dat with g % 9 + 1 records of weight
// g, so that a file holding parts of two generations shows.
// Usage: save_loop DATA_FOLDER. Prints "ready" once it holds the folder and saves.
#include <cstdio>

#include <QGuiApplication>

#include "app/Form.h"
#include "app/SingleInstance.h"
#include "tests/support/SaveGenerations.h"
#include "ui/Fonts.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_FOLDER\n", argv[0]);
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
    ui::FixedClock clock(0);
    ui::ScriptedRandom random;
    ui::CollectingErrorReporter reporter;
    TForm3 form(folder, clock, random, reporter);
    if (!form.dispatch([&form] { form.FormCreate(); }) || !reporter.messages.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(reporter.messages.join('\n')));
        return 4;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    for (auto generation = static_cast<std::int64_t>(form.Progress.PeriodEnd[2]) + 1;;
         ++generation) {
        saveGeneration(form, clock, generation);
    }
}

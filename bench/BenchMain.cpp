// The benchmarks run headless, with the bundled fonts, like the tests.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "ui/Fonts.h"

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    QGuiApplication app(argc, argv);
    ui::loadBundledFonts();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

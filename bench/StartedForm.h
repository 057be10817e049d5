#pragma once

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "app/Form.h"

// A started form over its own data folder, painting at a pixel ratio given in ten-thousandths
// by the benchmark's argument ratioArgument: 1 on a 1280 x 727 screen, 1.4856 on 1920 x 1080, 2 on
// 2560 x 1440, 3 on 3840 x 2160.
class StartedForm {
  public:
    explicit StartedForm(const benchmark::State& state, int ratioArgument = 0)
        : form(folder_.path() + QStringLiteral("/Kestrova/"), clock_, random_, reporter,
               state.range(ratioArgument) / 10000.0) {
        form.FormCreate();
    }

    // Marks the benchmark failed when a handler reported an error.
    void failOnReport(benchmark::State& state) const {
        if (!reporter.messages.isEmpty()) {
            state.SkipWithError(reporter.messages.front().toStdString().c_str());
        }
    }

    ui::CollectingErrorReporter reporter;

  private:
    QTemporaryDir folder_;
    ui::SystemClock clock_;
    ui::SystemRandom random_;

  public:
    TForm3 form;
};

inline void atCommonRatios(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("ratio_x10000")
        ->Arg(10000)
        ->Arg(14856)
        ->Arg(20000)
        ->Arg(30000)
        ->Unit(benchmark::kMillisecond);
}

#include <benchmark/benchmark.h>

#include "bench/StartedForm.h"

namespace {

// Every exercise of multiplication answered, and 500 recorded errors spread over the table with
// weights from 1 to 6, so that every colour shows and the typical errors have many candidates.
void fillStatistics(TForm3& form) {
    for (int i = 2; i <= 9; ++i) {
        for (int j = 1; j <= 10; ++j) {
            form.Progress.ExerciseCount[2][i][j] = static_cast<std::uint16_t>(20 + i * j);
        }
    }
    form.ErrorLog.assign(1, Terror{});
    for (int k = 1; k <= 500; ++k) {
        Terror error;
        error.z1 = static_cast<std::uint8_t>(2 + k % 8);
        error.Z2 = static_cast<std::uint8_t>(1 + k / 8 % 10);
        error.res = static_cast<std::uint8_t>(1 + k % 90);
        error.error = static_cast<float>(1 + k % 6);
        form.ErrorLog.push_back(error);
    }
    form.ErrorLogCount = 500;
}

// The whole statistics screen: the list beside the number buttons and the coloured table.
void BM_DrawStatistics(benchmark::State& state) {
    StartedForm started(state);
    TForm3& form = started.form;
    fillStatistics(form);
    for (auto _ : state) {
        form.DrawStatistics(2);
        benchmark::DoNotOptimize(form.Panel1Viewer.picture());
    }
    started.failOnReport(state);
}
BENCHMARK(BM_DrawStatistics)->Apply(atCommonRatios);

// Switching error correction on over 60 recorded errors; a number button switches it off again
// between the measured clicks.
void BM_Button13Click(benchmark::State& state) {
    StartedForm started(state);
    TForm3& form = started.form;
    form.CurrentErrors[2].assign(60, Ter{7, 8});
    for (auto _ : state) {
        form.Button13Click();
        state.PauseTiming();
        form.SelectNumber(2);
        state.ResumeTiming();
    }
    started.failOnReport(state);
}
BENCHMARK(BM_Button13Click)->Apply(atCommonRatios);

}  // namespace

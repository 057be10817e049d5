#include <benchmark/benchmark.h>

#include "bench/StartedForm.h"

namespace {

// A judged press on the answer table, end to end: the press and its redraw of the table, the
// judging with the column's redraw and the next exercise, then the release and its redraw.
void BM_JudgedPress(benchmark::State& state) {
    StartedForm started(state);
    TForm3& form = started.form;
    form.TrackBar2.setValue(50);

    const double cellWidth = form.Panel1ViewerWidth * 0.99 / 10;
    const double cellHeight = (form.Panel1ViewerHeight - 5) / 9.0;
    for (auto _ : state) {
        if (form.Button12.tag() == 0) {
            state.PauseTiming();
            form.Button12Click();
            state.ResumeTiming();
        }
        // A wrong answer half of the time, so both branches are measured.
        const int answer = form.ExerciseNumber % 2 == 0 ? form.ExpectedAnswer : 1;
        const double x = ((answer - 1) % 10 + 0.5) * cellWidth;
        const double y = ((answer - 1) / 10 + 0.5) * cellHeight;
        form.ImageViewer1MouseDown(x, y);
        form.ImageViewer1MouseUp(x, y);
        benchmark::DoNotOptimize(form.Panel3Viewer.picture());
    }
    started.failOnReport(state);
}
BENCHMARK(BM_JudgedPress)->Apply(atCommonRatios);

// The column beside the number buttons with a full list of answers, drawn over itself as after
// every judged press.
void BM_DrawExerciseColumn(benchmark::State& state) {
    StartedForm started(state);
    TForm3& form = started.form;
    for (int i = 1; i <= 10; ++i) {
        form.RecentAnswers[2].push_back(
            RecentAnswer{7, static_cast<std::uint8_t>(i), 7 * i + i % 2, i % 2 == 1});
    }
    for (auto _ : state) {
        form.DrawExerciseColumn(2, -1, 0, 1);
        benchmark::DoNotOptimize(form.Panel3Viewer.picture());
    }
}
BENCHMARK(BM_DrawExerciseColumn)->Apply(atCommonRatios);

}  // namespace

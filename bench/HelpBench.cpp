#include <benchmark/benchmark.h>

#include "app/Form.h"
#include "bench/StartedForm.h"
#include "help/HelpBackground.h"

namespace {

// Arguments: the page (0 title, 1 instructions, 2 game rules) and the pixel ratio in
// ten-thousandths: 1 on a 1280 x 727 screen, 1.4856 on 1920 x 1080, 2 on 2560 x 1440, 3 on
// 3840 x 2160.
void BM_DrawHelpScreen(benchmark::State& state) {
    StartedForm help(state, 1);
    const int page = static_cast<int>(state.range(0));
    for (auto _ : state) {
        help.form.DrawHelpScreen(page);
        benchmark::DoNotOptimize(help.form.Panel1Viewer.picture());
    }
}
BENCHMARK(BM_DrawHelpScreen)
    ->ArgNames({"page", "ratio_x10000"})
    ->ArgsProduct({{0, 1, 2}, {10000, 14856, 20000, 30000}})
    ->Unit(benchmark::kMillisecond);

// The dithered background alone, at a pixel ratio in ten-thousandths.
void BM_HelpBackground(benchmark::State& state) {
    const double ratio = state.range(0) / 10000.0;
    ui::Bitmap bitmap(ratio);
    bitmap.setSize(783, 632);
    help::DitherRandom random(1);
    for (auto _ : state) {
        help::paintHelpBackground(bitmap.image(), 783, 632, random);
        benchmark::DoNotOptimize(bitmap.image().constBits());
    }
}
BENCHMARK(BM_HelpBackground)
    ->ArgName("ratio_x10000")
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond);

// A change of language on the start screen: captions, legend, the title page and Save.dat.
void BM_LanguageChange(benchmark::State& state) {
    StartedForm help(state);
    int item = 0;
    for (auto _ : state) {
        item = 1 - item;
        help.form.ComboBox1.setItemIndex(item);
        benchmark::DoNotOptimize(help.form.Panel1Viewer.picture());
    }
}
BENCHMARK(BM_LanguageChange)
    ->ArgName("ratio_x10000")
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

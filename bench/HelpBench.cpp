#include <benchmark/benchmark.h>

#include <memory>

#include <QTemporaryDir>

#include "app/Form.h"
#include "help/HelpBackground.h"

namespace {

// A started form painting at a pixel ratio.
class HelpForm {
  public:
    explicit HelpForm(double ratio)
        : form_(std::make_unique<TForm3>(folder_.path() + QStringLiteral("/Kestrova/"), clock_,
                                         random_, reporter_, ratio)) {
        form_->FormCreate();
    }
    TForm3& form() { return *form_; }

  private:
    QTemporaryDir folder_;
    ui::SystemClock clock_;
    ui::SystemRandom random_;
    ui::CollectingErrorReporter reporter_;
    std::unique_ptr<TForm3> form_;
};

// Arguments: the page (0 title, 1 instructions, 2 game rules) and the pixel ratio in
// ten-thousandths: 1 on a 1280 x 727 screen, 1.4856 on 1920 x 1080, 2 on 2560 x 1440, 3 on
// 3840 x 2160.
void BM_DrawHelpScreen(benchmark::State& state) {
    HelpForm help(state.range(1) / 10000.0);
    const int page = static_cast<int>(state.range(0));
    for (auto _ : state) {
        help.form().DrawHelpScreen(page);
        benchmark::DoNotOptimize(help.form().Panel1Viewer.picture());
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
    HelpForm help(state.range(0) / 10000.0);
    int item = 0;
    for (auto _ : state) {
        item = 1 - item;
        help.form().ComboBox1.setItemIndex(item);
        benchmark::DoNotOptimize(help.form().Panel1Viewer.picture());
    }
}
BENCHMARK(BM_LanguageChange)
    ->ArgName("ratio_x10000")
    ->Arg(10000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

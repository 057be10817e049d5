#include <benchmark/benchmark.h>

#include <memory>

#include <QTemporaryDir>

#include "app/Form.h"
#include "game/BoardGeneration.h"

namespace {

void BM_GenerateBoard(benchmark::State& state) {
    ui::SystemRandom random;
    game::Board board;
    for (auto _ : state) {
        game::generateBoard(board, 7, random);
        benchmark::DoNotOptimize(board);
    }
}
BENCHMARK(BM_GenerateBoard);

// A started form whose board holds a game level and whose grid is drawn at a pixel ratio.
class GridForm {
  public:
    explicit GridForm(double ratio)
        : form_(std::make_unique<TForm3>(folder_.path() + QStringLiteral("/Kestrova/"), clock_,
                                         random_, reporter_, ratio)) {
        form_->FormCreate();
        form_->TrackBar3.setTag(10);
        form_->GenerateBoard();
        form_->ClickedRow = 3;
        form_->ClickedColumn = 5;
    }
    TForm3& form() { return *form_; }

    // Rows 2..9 as the statistics screen leaves them: every mark, and the operand column.
    void fillStatisticsTable() {
        for (int r = 2; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                const bool operand = c == 1;
                form_->Board[r][c] = game::BoardCell{static_cast<std::uint8_t>(operand ? r : c),
                                                     static_cast<std::uint8_t>((r + c) % 5)};
            }
        }
    }

  private:
    QTemporaryDir folder_;
    ui::SystemClock clock_;
    ui::SystemRandom random_;
    ui::CollectingErrorReporter reporter_;
    std::unique_ptr<TForm3> form_;
};

// Arguments: the mode, and the pixel ratio pictures are painted at, in ten-thousandths: 1 on a
// 1280 x 727 screen, 1.4856 on 1920 x 1080, 2 on 2560 x 1440, 3 on 3840 x 2160. The whole grid
// is drawn every time: the tables drawn before are forgotten, so none is drawn over in part.
void BM_DrawGrid(benchmark::State& state) {
    const auto mode = static_cast<std::uint8_t>(state.range(0));
    GridForm grid(state.range(1) / 10000.0);
    if (mode == 3) {
        grid.fillStatisticsTable();
    }
    const std::uint8_t highlight = mode == 1 ? 1 : 0;
    for (auto _ : state) {
        grid.form().DrawnGrids.clear();
        grid.form().DrawGrid(mode, highlight);
        benchmark::DoNotOptimize(grid.form().Panel1Viewer.picture());
    }
}
BENCHMARK(BM_DrawGrid)
    ->ArgNames({"mode", "ratio_x10000"})
    ->ArgsProduct({{1, 2, 3}, {10000, 14856, 20000, 30000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

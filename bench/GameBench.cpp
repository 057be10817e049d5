#include <benchmark/benchmark.h>

#include "app/Form.h"
#include "bench/StartedForm.h"
#include "game/BoardGeneration.h"
#include "game/ProgramSearch.h"

namespace {

// The two computing stages of a level's start: a new board, then the program's search of it, at
// the last level, whose search is the longest.
void BM_GameLevelBoardAndSearch(benchmark::State& state) {
    ui::SystemRandom random;
    game::Board board;
    for (auto _ : state) {
        game::generateBoard(board, 7, random);
        benchmark::DoNotOptimize(game::programSearch(board, 10));
    }
}
BENCHMARK(BM_GameLevelBoardAndSearch)->Unit(benchmark::kMicrosecond);

// A started form in game mode.
class GameForm : public StartedForm {
  public:
    explicit GameForm(const benchmark::State& state) : StartedForm(state) { form.Button15Click(); }
};

void atRatios1And3(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("ratio_x10000")->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);
}

// The whole start of a level: the board, the search, the set-up and the board's first picture.
void BM_PrepareGameLevel(benchmark::State& state) {
    GameForm game(state);
    game.form.GameLevel = 10;
    for (auto _ : state) {
        game.form.PrepareGameLevel();
        benchmark::DoNotOptimize(game.form.Panel1Viewer.picture());
    }
}
BENCHMARK(BM_PrepareGameLevel)->Apply(atRatios1And3);

// A press on the board during a level with its redraw: a free cell selected, then taken back.
void BM_GameBoardPress(benchmark::State& state) {
    GameForm game(state);
    TForm3& form = game.form;
    form.Button12Click();
    const double x = form.GridCellWidth * 4.5 * 0.99;
    const double y = form.GridCellHeight * 4.5 * 0.99;
    for (auto _ : state) {
        form.ImageViewer1MouseDown(x, y);
        form.ImageViewer1MouseUp(x, y);
        benchmark::DoNotOptimize(form.Panel1Viewer.picture());
    }
    if (form.Button12.tag() != 1 || !game.reporter.messages.isEmpty()) {
        state.SkipWithError("the level did not run");
    }
}
BENCHMARK(BM_GameBoardPress)->Apply(atRatios1And3);

// Both charts, drawn at the end of every level, with ten levels played.
void BM_DrawLevelChart(benchmark::State& state) {
    GameForm game(state);
    TForm3& form = game.form;
    for (int k = 1; k <= 10; ++k) {
        form.LevelScores[k] = game::LevelScore{100 * k % 700 + 50, 90 * k % 800 + 20};
    }
    form.LevelsOnChart = 10;
    form.ProgramTotal = 3000;
    form.PupilTotal = 3500;
    for (auto _ : state) {
        form.DrawLevelChart(1);
        benchmark::DoNotOptimize(form.Panel2Viewer.picture());
    }
}
BENCHMARK(BM_DrawLevelChart)->Apply(atRatios1And3);

}  // namespace

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game/PlayerMoves.h"
#include "tests/game/BoardText.h"

namespace {

using game::Board;

// 7 and 8 side by side with 56s around them, a diagonal 3 and 4 between two 12s with a third 12
// off their line, 5 1 5, 1 6 6, and a column 4 6 24 under a 2.
const Board kBoard = boardOf({
    "12 . 12 . . . . . . .",
    ". 3 . . . . . . . 4",
    ". . 4 . . . . . . 6",
    ". . . 12 . 56 . . . 24",
    ". . 56 7 8 56 56 . . .",
    ". . . . . . . . . .",
    ". . . . . 5 1 5 . .",
    "1 6 6 . . . . . . .",
    ". . . . . . . . . .",
});

struct Result {
    int points = 0;
    int selected = 0;  // SelectionCount after the presses
    int redraws = 0;
    int foundCells = 0;
    int selectedCells = 0;
};

Result play(const std::vector<std::pair<int, int>>& presses) {
    Board board = kBoard;
    game::SelectedCells selection;
    std::int32_t count = 0;
    Result result;
    for (auto [r, c] : presses) {
        const game::PressOutcome outcome = game::pressCell(board, selection, count, r, c);
        result.points += outcome.points;
        result.redraws += outcome.redraw ? 1 : 0;
    }
    result.selected = count;
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            result.foundCells += board[r][c].Mark == game::kMarkFound ? 1 : 0;
            result.selectedCells += board[r][c].Mark == game::kMarkSelected ? 1 : 0;
        }
    }
    return result;
}

TEST(PlayerMoves, PressSequencesOnOneBoard) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> presses;
        int points;
        int selected;
        int redraws;
        int foundCells;
    } cases[] = {
        {"7, 8, then 56 just right of the pair", {{5, 4}, {5, 5}, {5, 6}}, 56, 0, 3, 3},
        {"8, 7, then 56 just left of the pair", {{5, 5}, {5, 4}, {5, 3}}, 56, 0, 3, 3},
        {"a 56 in the row above is ignored", {{5, 4}, {5, 5}, {4, 6}}, 0, 2, 2, 0},
        {"a 56 two cells beyond the pair is ignored", {{5, 4}, {5, 5}, {5, 7}}, 0, 2, 2, 0},
        {"the only factor pressed again is freed", {{5, 4}, {5, 4}}, 0, 0, 2, 0},
        {"the second of two pressed again is freed", {{5, 4}, {5, 5}, {5, 5}}, 0, 1, 3, 0},
        {"the first of two taken back leaves the other as first: a cell two from it is ignored",
         {{5, 4}, {5, 5}, {5, 4}, {5, 3}},
         0,
         1,
         3,
         0},
        {"the first of two taken back and chosen again is now the second factor",
         {{5, 4}, {5, 5}, {5, 4}, {5, 4}, {5, 6}},
         56,
         0,
         5,
         3},
        {"a cell two steps from the single factor is ignored", {{5, 4}, {5, 6}}, 0, 1, 1, 0},
        {"the product first does not work with 56, 8, 7", {{5, 6}, {5, 5}, {5, 4}}, 0, 2, 2, 0},
        {"the product first works when the numbers fit: 5, 1, 5",
         {{7, 6}, {7, 7}, {7, 8}},
         5,
         0,
         3,
         3},
        {"a factor 1: 1 and 6 next to 6 is worth 6", {{8, 1}, {8, 2}, {8, 3}}, 6, 0, 3, 3},
        {"a diagonal pair with the product below", {{2, 2}, {3, 3}, {4, 4}}, 12, 0, 3, 3},
        {"a diagonal pair with the product above", {{3, 3}, {2, 2}, {1, 1}}, 12, 0, 3, 3},
        {"a 12 off the diagonal is ignored", {{2, 2}, {3, 3}, {1, 3}}, 0, 2, 2, 0},
        {"a column pair with the product below", {{2, 10}, {3, 10}, {4, 10}}, 24, 0, 3, 3},
        {"a wrong number on the line is ignored", {{2, 10}, {3, 10}, {1, 10}}, 0, 2, 2, 0},
        {"cells of a found triple cannot be pressed again",
         {{5, 4}, {5, 5}, {5, 6}, {5, 4}, {5, 5}},
         56,
         0,
         3,
         3},
        {"two triples add up", {{5, 4}, {5, 5}, {5, 6}, {7, 6}, {7, 7}, {7, 8}}, 61, 0, 6, 6},
    };
    for (const auto& c : cases) {
        const Result r = play(c.presses);
        EXPECT_EQ(r.points, c.points) << c.what;
        EXPECT_EQ(r.selected, c.selected) << c.what;
        EXPECT_EQ(r.selectedCells, c.selected) << c.what;
        EXPECT_EQ(r.redraws, c.redraws) << c.what;
        EXPECT_EQ(r.foundCells, c.foundCells) << c.what;
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <vector>

#include "game/BoardGeneration.h"
#include "tests/support/FormFixture.h"

namespace {

using game::Board;

// Drawn numbers, one string per row; products of any two lines through the cells below differ,
// so each expected value names exactly one line.
constexpr std::array<const char*, 9> kNumbers = {
    "5243883784", "5489782875", "2675769385", "7634665745", "5253459877",
    "3769394536", "4743267574", "4392844682", "4589248384",
};

int drawn(int r, int c) {
    return kNumbers[r - 1][c - 1] - '0';
}

struct Cell {
    int r;
    int c;
    bool operator<(const Cell& o) const { return r != o.r ? r < o.r : c < o.c; }
};

// The draws that give kNumbers and make exactly the listed cells candidates.
ui::ScriptedRandom drawsFor(const std::set<Cell>& candidates) {
    std::deque<int> draws;
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            draws.push_back(drawn(r, c) - 1);
        }
    }
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            draws.push_back(candidates.contains({r, c}) ? 0 : 1);
        }
    }
    return ui::ScriptedRandom(draws);
}

TEST(GenerateBoard, ACandidateEndsWithTheProductOfTheLastLineWithTwoDrawnFactors) {
    const struct {
        const char* what;
        std::set<Cell> candidates;
        Cell cell;
        Cell first;
        Cell second;
    } cases[] = {
        {"top-left corner: down is last of right, down-right, down",
         {{1, 1}},
         {1, 1},
         {2, 1},
         {3, 1}},
        {"inside the board: up-left is last", {{5, 5}}, {5, 5}, {4, 4}, {3, 3}},
        {"top-right corner: left is last", {{1, 10}}, {1, 10}, {1, 9}, {1, 8}},
        {"row 2: no upward line", {{2, 9}}, {2, 9}, {2, 8}, {2, 7}},
        {"bottom-left corner: right is last", {{9, 1}}, {9, 1}, {9, 2}, {9, 3}},
        {"bottom-right corner", {{9, 10}}, {9, 10}, {8, 9}, {7, 8}},
        {"a planted cell is no factor: up-left through (1,1) is skipped",
         {{1, 1}, {3, 3}},
         {3, 3},
         {3, 2},
         {3, 1}},
    };
    for (const auto& test : cases) {
        ui::ScriptedRandom random = drawsFor(test.candidates);
        Board board;
        game::generateBoard(board, 9, random);
        EXPECT_EQ(random.drawsMade(), 180) << test.what;
        EXPECT_EQ(board[test.cell.r][test.cell.c].Value,
                  drawn(test.first.r, test.first.c) * drawn(test.second.r, test.second.c))
            << test.what;
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                EXPECT_EQ(board[r][c].Mark, 0) << test.what;
                if (!test.candidates.contains({r, c})) {
                    EXPECT_EQ(board[r][c].Value, drawn(r, c)) << test.what << " at " << r << c;
                }
            }
        }
    }
}

TEST(GenerateBoard, ACandidateWhoseFactorsAreAllPlantedKeepsItsNumber) {
    // (8,10), (9,9) and (8,9) take products first, which blocks up, left and up-left of (9,10).
    ui::ScriptedRandom random = drawsFor({{8, 9}, {8, 10}, {9, 9}, {9, 10}});
    Board board;
    game::generateBoard(board, 9, random);
    EXPECT_EQ(board[9][10].Value, drawn(9, 10));
    EXPECT_NE(board[8][10].Value, drawn(8, 10));
    EXPECT_NE(board[9][9].Value, drawn(9, 9));
}

// A seeded generator, so that the run is the same every time.
class SeededRandom : public ui::Random {
  public:
    int next(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

  private:
    std::mt19937 engine_{20251209};
};

TEST(GenerateBoard, NumbersAreDrawnOneToDifficultyAndProductsOfTwoOfThem) {
    SeededRandom random;
    for (int difficulty = 3; difficulty <= 10; ++difficulty) {
        std::set<int> allowed;
        for (int a = 1; a <= difficulty; ++a) {
            for (int b = 1; b <= difficulty; ++b) {
                allowed.insert(a * b);
            }
        }
        std::set<int> seen;
        for (int round = 0; round < 200; ++round) {
            Board board;
            game::generateBoard(board, difficulty, random);
            for (int r = 1; r <= 9; ++r) {
                for (int c = 1; c <= 10; ++c) {
                    ASSERT_TRUE(allowed.contains(board[r][c].Value)) << difficulty;
                    ASSERT_EQ(board[r][c].Mark, 0);
                    seen.insert(board[r][c].Value);
                }
            }
            EXPECT_EQ(board[10][1], game::BoardCell{}) << "the tenth row is never written";
        }
        EXPECT_EQ(seen, allowed) << "every number and product turns up at difficulty "
                                 << difficulty;
    }
}

TEST(GenerateBoard, RefusesADifficultyOutsideThreeToTen) {
    ui::ScriptedRandom random;
    Board board;
    for (int difficulty : {0, 2, 11}) {
        EXPECT_THROW(game::generateBoard(board, difficulty, random), ui::RangeError);
    }
    EXPECT_EQ(random.drawsMade(), 0);
}

class FormGenerateBoard : public FormFixture {};

TEST_F(FormGenerateBoard, TakesTheDifficultyFromTheTagOfTheDifficultyTrackBar) {
    // Every draw is 9: numbers 9 % difficulty + 1, and no candidate (9 % 4 is not 0).
    random.push(9);
    for (const auto& [tag, number] : {std::pair{4, 2}, std::pair{7, 3}, std::pair{10, 10}}) {
        form().TrackBar3.setTag(tag);
        form().GenerateBoard();
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                ASSERT_EQ(form().Board[r][c].Value, number) << tag;
            }
        }
    }
}

}  // namespace

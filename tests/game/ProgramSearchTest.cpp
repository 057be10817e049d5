#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "game/ProgramSearch.h"
#include "tests/game/BoardText.h"

namespace {

using game::Board;
using game::programSearch;
using game::SearchResult;

constexpr std::uint8_t kFree = 0;
constexpr std::uint8_t kTaken = 1;
constexpr std::uint8_t kNoProduct = 2;

TEST(ProgramSearch, OfEqualLargestNumbersTheUpperThenTheLeftOneIsExaminedFirst) {
    // Each time both 12s are products of the same 3 and 4; the one examined first takes them and
    // the other, examined next, is no product.
    const struct {
        const char* what;
        std::array<const char*, 9> rows;
        std::pair<int, int> first, second;
    } cases[] = {
        {"in one row, the left one",
         {". . . . . . . . . .", ". . . . . . . . . .", "12 3 4 12 . . . . . .",
          ". . . . . . . . . .", ". . . . . . . . . .", ". . . . . . . . . .",
          ". . . . . . . . . .", ". . . . . . . . . .", ". . . . . . . . . ."},
         {3, 1},
         {3, 4}},
        {"in two rows, the upper one, though the lower one stands further left",
         {". . . . . . . . . .", ". . . . . . . . . .", ". . . . . 12 . . . .",
          ". . . . 3 . . . . .", ". . . 4 . . . . . .", ". . 12 . . . . . . .",
          ". . . . . . . . . .", ". . . . . . . . . .", ". . . . . . . . . ."},
         {3, 6},
         {6, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Board board = boardOf(c.rows);
        EXPECT_EQ(programSearch(board, 1), (SearchResult{12, 1}));
        EXPECT_EQ(board[c.first.first][c.first.second].Mark, kTaken);
        EXPECT_EQ(board[c.second.first][c.second.second].Mark, kNoProduct);
    }
}

TEST(ProgramSearch, AProductOfTwoLinesMarksFiveCellsAndScoresOnce) {
    Board board = boardOf({
        ". . . . . . . . . .",
        ". 6 2 3 . . . . . .",
        ". 3 . . . . . . . .",
        ". 2 . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
    });
    EXPECT_EQ(programSearch(board, 1), (SearchResult{6, 1}));
    for (auto [r, c] : {std::pair{2, 2}, {2, 3}, {2, 4}, {3, 2}, {4, 2}}) {
        EXPECT_EQ(board[r][c].Mark, kTaken) << r << "," << c;
    }
}

TEST(ProgramSearch, ANumberFoundToBeNoProductIsNoLongerAFactor) {
    // The upper 9 is examined first and is no product. The lower 9 would be 9 x 1 with it.
    Board board = boardOf({
        "1 3 . . . . . . . .",
        "9 3 . . . . . . . .",
        "9 . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
    });
    EXPECT_EQ(programSearch(board, 1), (SearchResult{0, 0}));
    EXPECT_EQ(board[2][1].Mark, kNoProduct);
    EXPECT_EQ(board[3][1].Mark, kNoProduct);
    EXPECT_EQ(board[1][1].Mark, kFree);
}

TEST(ProgramSearch, EveryPassExaminesOneCellSoLaterLevelsReachFurther) {
    // Seven 50s that are no products come before the 12 = 3 x 4 at the bottom.
    const Board board = boardOf({
        "50 . 50 . 50 . 50 . . .",
        ". . . . . . . . . .",
        "50 . 50 . 50 . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . . . .",
        ". . . . . . . 12 3 4",
    });
    const struct {
        int level;
        SearchResult expected;
    } cases[] = {{1, {0, 0}}, {2, {12, 1}}, {10, {12, 1}}};
    for (const auto& c : cases) {
        Board searched = board;
        EXPECT_EQ(programSearch(searched, c.level), c.expected) << "level " << c.level;
    }
}

TEST(ProgramSearch, PassesLeftWhenNoCellIsFreeDoNothing) {
    // A board of 1s: every free cell is 1 x 1, so early passes take whole groups of cells.
    const Board ones = boardOf({
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
        "1 1 1 1 1 1 1 1 1 1",
    });
    int exhaustedAt = 0;
    SearchResult whenExhausted;
    for (int level = 1; level <= 10 && exhaustedAt == 0; ++level) {
        Board board = ones;
        const SearchResult result = programSearch(board, level);
        bool anyFree = false;
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                anyFree = anyFree || board[r][c].Mark == kFree;
            }
        }
        if (!anyFree) {
            exhaustedAt = level;
            whenExhausted = result;
        }
    }
    ASSERT_NE(exhaustedAt, 0) << "the board of 1s should run out of free cells";
    ASSERT_LT(exhaustedAt, 10);
    // Each pass takes the first free 1 with every line through it, so four passes clear three
    // rows: the twelfth pass takes the last cells, in level 4, whose thirteenth pass finds none.
    EXPECT_EQ(exhaustedAt, 4);
    EXPECT_EQ(whenExhausted, (SearchResult{12, 12}));
    Board board = ones;
    EXPECT_EQ(programSearch(board, 10), whenExhausted);
}

TEST(LevelTime, IsHalfTheTriplesWithAHandicapFromLevelThreeOn) {
    const struct {
        const char* what;
        int triples;
        int level;
        int pupilTotal;
        int programTotal;
        int expected;
    } cases[] = {
        {"no triple: the shortest time", 0, 1, 0, 0, 1},
        {"one triple", 1, 1, 0, 0, 1},
        {"half the triples, rounded down", 13, 1, 0, 0, 6},
        {"25 triples: the longest time", 25, 1, 0, 0, 10},
        {"level 2: no handicap", 12, 2, 900, 0, 6},
        {"level 5, leading by 450, from 6: 1.5 rounds to 2", 12, 5, 950, 500, 2},
        {"level 5, leading by 450, from 5: 0.5 rounds to 0, given 2", 10, 5, 950, 500, 2},
        {"a result of exactly 1 stays 1", 10, 3, 1200, 0, 1},
        {"level 10, behind by 400, from 6: 12 capped at 10", 12, 10, 100, 500, 10},
        {"level 3, behind by 250, from 6: 6.5 rounds to 6", 12, 3, 0, 250, 6},
        {"level 3, behind by 250, from 5: 5.5 rounds to 6", 10, 3, 0, 250, 6},
        {"level 4, level with the program: no change", 8, 4, 300, 300, 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(game::levelTime(c.triples, c.level, c.pupilTotal, c.programTotal), c.expected)
            << c.what;
    }
}

}  // namespace

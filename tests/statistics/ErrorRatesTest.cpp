#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "statistics/ErrorRates.h"

namespace {

using persistence::Terror;
using statistics::errorMark;
using statistics::summariseErrors;

Terror record(int z1, int z2, float weight, int res) {
    Terror t;
    t.z1 = static_cast<std::uint8_t>(z1);
    t.Z2 = static_cast<std::uint8_t>(z2);
    t.error = weight;
    t.res = static_cast<std::uint8_t>(res);
    return t;
}

// An error log as the form holds it: element 0 unused.
std::vector<Terror> logOf(std::initializer_list<Terror> records) {
    std::vector<Terror> log{Terror{}};
    log.insert(log.end(), records);
    return log;
}

TEST(ErrorMark, ColoursAnExerciseByItsRateWithTheEdgesAsInExtendedPrecision) {
    const struct {
        float weight;
        std::uint16_t answers;
        std::uint8_t mark;
    } cases[] = {
        {0, 0, 0},          // never answered
        {3, 0, 0},          // weights without answers still show as never answered
        {0, 7, 1},          // answered, never wrong
        {1, 21, 1},         // 0.0476
        {1, 20, 2},         // 0.05 as a double lies just above the extended 0.05
        {0.25f, 5, 2},      // 0.05 from a weight that is no whole number
        {10, 100, 2},       // 0.10
        {11, 100, 3},       // 0.11 as a double lies just above the extended 0.11
        {21, 100, 3},       // 0.21 as a double lies just below the extended 0.21
        {10.5f, 50, 3},     // 0.21 from a weight that is no whole number
        {13762, 65535, 3},  // 0.20999..., just below 0.21 on a full counter
        {13763, 65535, 4},  // 0.21001..., just above it
        {22, 100, 4},       // 0.22
        {5, 2, 4},          // more wrong than answers
        {1, 65535, 1},      // a full counter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(errorMark(c.weight, c.answers), c.mark) << c.weight << " over " << c.answers;
    }
}

TEST(ErrorMark, GivesTheMarksOfTheRateDividedAndComparedInExtendedPrecision) {
    if constexpr (std::numeric_limits<long double>::digits != 64) {
        GTEST_SKIP() << "the 80-bit extended type is not at hand";
    }
    // The weight divided in extended precision, kept as a double and compared with the extended
    // edges.
    const auto extendedMark = [](float weight, std::uint16_t answers) {
        const long double rate = static_cast<double>(static_cast<long double>(weight) / answers);
        return rate < 0.05L ? 1 : rate < 0.11L ? 2 : rate < 0.21L ? 3 : 4;
    };
    int compared = 0;
    int differing = 0;
    for (int answers = 1; answers <= 65535; answers += answers < 1000 ? 1 : 997) {
        // Quarters up to a quarter of the answers, past the last edge.
        for (int quarters = 0; quarters <= answers; ++quarters) {
            const float weight = static_cast<float>(quarters) / 4;
            const auto n = static_cast<std::uint16_t>(answers);
            if (errorMark(weight, n) != extendedMark(weight, n) && ++differing <= 5) {
                ADD_FAILURE() << weight << " over " << n;
            }
            ++compared;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(compared, 1000000);
}

TEST(TypicalErrors, OnlyWeightsAboveOneCountHeaviestFirstAndEqualWeightsInTheOrderMet) {
    // Met by number, then second operand, then place in the log: not in log order.
    const auto log = logOf({
        record(7, 8, 3.0f, 54),                           // a: 7x8, first in the log
        record(3, 4, 1.0f, 13),                           // exactly one wrong answer: not typical
        record(3, 4, 1.01f, 11), record(5, 6, 3.0f, 31),  // b: met before a (number 5 before 7)
        record(7, 2, 3.0f, 15),  // c: met before a (second operand 2 before 8)
        record(9, 9, 4.0f, 80),
        record(7, 8, 3.0f, 55),  // d: after a, same exercise, later in the log
    });
    const auto summary = summariseErrors(log, 7);
    std::vector<int> answers;
    for (const Terror& t : summary.typicalErrors) {
        answers.push_back(t.res);
    }
    EXPECT_EQ(answers, (std::vector<int>{80, 31, 15, 54, 55, 11}));

    EXPECT_FLOAT_EQ(summary.weights[3][4], 2.01f);
    EXPECT_FLOAT_EQ(summary.weights[7][8], 6.0f);
    EXPECT_FLOAT_EQ(summary.weights[2][5], 0.0f);
}

TEST(TypicalErrors, AtMostTenAndALighterCandidateDoesNotPushOutAHeavierEntry) {
    std::vector<Terror> log{Terror{}};
    for (int k = 1; k <= 12; ++k) {
        // Weights 2..13 met in ascending order, so each newcomer goes to the top.
        log.push_back(record(2 + (k - 1) / 10 % 8, (k - 1) % 10 + 1, 1.0f + k, k));
    }
    log.push_back(record(9, 10, 1.5f, 99));  // lighter than all ten kept
    const auto summary = summariseErrors(log, 13);
    ASSERT_EQ(summary.typicalErrors.size(), 10u);
    EXPECT_EQ(summary.typicalErrors.front().res, 12);
    EXPECT_EQ(summary.typicalErrors.back().res, 3);
}

TEST(TypicalErrors, RecordsOutsideTheTableOrWithDamagedWeightsCountForNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const auto log = logOf({
        record(1, 5, 3.0f, 4),   // number 1 has no row
        record(10, 5, 3.0f, 4),  // nor has 10
        record(4, 0, 3.0f, 4),   // second operand 0
        record(4, 11, 3.0f, 4),  // nor 11
        record(4, 5, nan, 21),   // damaged weights
        record(4, 5, infinity, 22),
        record(4, 5, -infinity, 23),
        record(4, 5, -2.0f, 24),
        record(4, 5, 2.0f, 19),
    });
    const auto summary = summariseErrors(log, 9);
    ASSERT_EQ(summary.typicalErrors.size(), 1u);
    EXPECT_EQ(summary.typicalErrors.front().res, 19);
    EXPECT_FLOAT_EQ(summary.weights[4][5], 2.0f);
}

TEST(TypicalErrors, ACountBeyondTheLogIsARangeError) {
    const auto log = logOf({record(2, 3, 2.0f, 7)});
    EXPECT_THROW(summariseErrors(log, 2), ui::RangeError);
    EXPECT_TRUE(summariseErrors({}, 0).typicalErrors.empty());
}

TEST(TypicalErrorText, ShowsTheExerciseWithTheWrongAnswer) {
    EXPECT_EQ(statistics::typicalErrorText(2, record(7, 8, 2, 54)), "7x8=54");
    EXPECT_EQ(statistics::typicalErrorText(3, record(7, 8, 2, 9)), "56:7=9");
}

TEST(NumberTotals, AddUpEverySecondOperandBeyondSixteenBits) {
    persistence::ExerciseCountTable counts;
    counts.fill({});
    counts[2][1] = 4;  // second operand 1 has no cell in the table but counts
    counts[2][10] = 6;
    counts[1][5] = 100;   // number 1 is no row of the screen
    counts[10][5] = 100;  // nor is 10
    for (int j = 1; j <= 10; ++j) {
        counts[9][j] = 65535;
    }
    const auto totals = statistics::numberTotals(counts);
    EXPECT_EQ(totals[2], 10);
    EXPECT_EQ(totals[3], 0);
    EXPECT_EQ(totals[9], 655350);
}

TEST(StatisticsBoard, HoldsTheExercisesWithTheOperandColumnAsHeadings) {
    persistence::ExerciseCountTable counts;
    counts.fill({});
    statistics::WeightTable weights;
    weights.fill({});
    counts[7][8] = 10;
    weights[7][8] = 3.0f;
    counts[7][9] = 10;
    game::Board board;
    board.fill({});
    board[1][1] = game::BoardCell{42, 3};  // the game's rows 1 and 10 stay as they are

    statistics::fillStatisticsBoard(board, 2, counts, weights);
    EXPECT_EQ(board[7][1], (game::BoardCell{7, 0}));
    EXPECT_EQ(board[7][8], (game::BoardCell{8, 4}));
    EXPECT_EQ(board[7][9], (game::BoardCell{9, 1}));
    EXPECT_EQ(board[7][10], (game::BoardCell{10, 0}));
    EXPECT_EQ(board[1][1], (game::BoardCell{42, 3}));

    statistics::fillStatisticsBoard(board, 3, counts, weights);
    EXPECT_EQ(board[7][1], (game::BoardCell{14, 0}));  // 14 : 7, never answered
    EXPECT_EQ(board[7][7], (game::BoardCell{56, 4}));  // 56 : 7 = 8
    EXPECT_EQ(board[7][8], (game::BoardCell{63, 1}));
    EXPECT_EQ(board[7][10], (game::BoardCell{7, 0}));
}

}  // namespace

#include <gtest/gtest.h>

#include <set>

#include "tests/support/FormFixture.h"
#include "trainer/ExerciseGeneration.h"

using persistence::ExerciseCountRow;

namespace {

ExerciseCountRow rowOf(std::initializer_list<std::uint16_t> countsForTwoToNine) {
    ExerciseCountRow row;
    int c = 2;
    for (std::uint16_t n : countsForTwoToNine) {
        row[c++] = n;
    }
    return row;
}

TEST(ChooseFactor, EachDrawOfTheCycleAcceptsOnlyItsValues) {
    const ExerciseCountRow row;
    const struct {
        std::uint8_t counterBefore;
        int lowest;
        int highest;
    } cycle[] = {{0, 3, 9}, {1, 2, 9}, {2, 2, 10}, {3, 1, 10}};
    for (const auto& step : cycle) {
        for (int draw = 1; draw <= 10; ++draw) {
            ui::ScriptedRandom random({draw - 1});
            std::uint8_t counter = step.counterBefore;
            const int factor = trainer::chooseFactor(counter, random, row);
            const bool accepted = draw >= step.lowest && draw <= step.highest;
            if (accepted) {
                EXPECT_EQ(factor, draw);
                EXPECT_EQ(counter, step.counterBefore + 1);
                EXPECT_EQ(random.drawsMade(), 1);
            } else {
                // The same rejected value five times: the least-practised pick takes over.
                EXPECT_EQ(factor, 9);
                EXPECT_EQ(counter, 0);
                EXPECT_EQ(random.drawsMade(), 5);
            }
        }
    }
}

TEST(ChooseFactor, TheFifthDrawIsTheLeastPractisedPickWithoutARandomDraw) {
    ui::ScriptedRandom random({4});
    std::uint8_t counter = 4;
    const ExerciseCountRow row = rowOf({5, 5, 1, 5, 5, 5, 5, 5});
    EXPECT_EQ(trainer::chooseFactor(counter, random, row), 4);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(random.drawsMade(), 0);
}

TEST(ChooseFactor, ARejectedDrawIsDrawnAgainBeforeFallingBack) {
    ui::ScriptedRandom random({0, 9, 5});  // 1 and 10 rejected on the first draw, then 6
    std::uint8_t counter = 0;
    EXPECT_EQ(trainer::chooseFactor(counter, random, ExerciseCountRow{}), 6);
    EXPECT_EQ(random.drawsMade(), 3);
}

TEST(LeastPractisedFactor, PicksTheLowestCountAndTiesGoToTheLargerFactor) {
    const struct {
        ExerciseCountRow row;
        int expected;
    } cases[] = {
        {ExerciseCountRow{}, 9},
        {rowOf({3, 1, 1, 4, 4, 4, 4, 4}), 4},
        {rowOf({0, 2, 2, 2, 2, 2, 2, 2}), 2},
        {rowOf({64001, 64001, 64001, 64001, 64001, 64001, 64001, 64001}), 9},
        {rowOf({64001, 64001, 70, 64001, 64001, 64001, 64001, 64001}), 4},
        {rowOf({7, 7, 7, 7, 7, 7, 7, 8}), 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(trainer::leastPractisedFactor(c.row), c.expected);
    }
}

TEST(ExerciseText, ShowsTheExerciseAndKnowsItsAnswer) {
    EXPECT_EQ(trainer::exerciseText(2, 3, 4), "3 x 4 =");
    EXPECT_EQ(trainer::expectedAnswer(2, 3, 4), 12);
    EXPECT_EQ(trainer::exerciseText(3, 3, 4), "12 : 3 =");
    EXPECT_EQ(trainer::expectedAnswer(3, 3, 4), 4);
    EXPECT_EQ(trainer::exerciseText(2, 9, 10), "9 x 10 =");
    EXPECT_EQ(trainer::expectedAnswer(2, 9, 10), 90);
}

class NextExercise : public FormFixture {
  protected:
    NextExercise() {
        ui::SystemRandom seeded;  // a varied but repeatable-enough stream for property checks
        for (int i = 0; i < 5000; ++i) {
            random.push(seeded.next(10));
        }
        start();
    }
};

TEST_F(NextExercise, AnAllNumbersRunNeverShowsOneOrTenAsTheFirstOperand) {
    TForm3& f = form();
    f.NumberMode = 1;
    f.SelectedNumber = 1;
    std::set<int> firsts;
    for (int i = 0; i < 1000; ++i) {
        f.NextExercise();
        firsts.insert(f.SelectedNumber);
        ASSERT_GE(f.SelectedNumber, 2);
        ASSERT_LE(f.SelectedNumber, 9);
        ASSERT_EQ(f.ExpectedAnswer, f.SelectedNumber * f.SecondOperand);
        ASSERT_EQ(f.Label7.text(), QString("%1 x %2 =").arg(f.SelectedNumber).arg(f.SecondOperand));
    }
    EXPECT_EQ(firsts.size(), 8u);
}

TEST_F(NextExercise, NoTwoExercisesInARowShareTheSecondOperandAlsoAcrossRuns) {
    TForm3& f = form();
    int previous = 0;
    const struct {
        int operation;
        int mode;
        int number;
    } runs[] = {{2, 0, 7}, {3, 1, 1}, {2, 0, 2}, {3, 0, 9}};
    for (const auto& run : runs) {
        f.Operation = run.operation;
        f.NumberMode = run.mode;
        f.SelectedNumber = run.number;
        for (int i = 0; i < 200; ++i) {
            f.NextExercise();
            ASSERT_NE(f.SecondOperand, previous);
            ASSERT_GE(f.SecondOperand, 1);
            ASSERT_LE(f.SecondOperand, 10);
            previous = f.SecondOperand;
        }
        f.DrawCounter = 0;  // what Start does after its first exercise
    }
    EXPECT_EQ(f.PreviousSecondOperand, previous);
}

TEST_F(NextExercise, DivisionExpectsTheSecondOperand) {
    TForm3& f = form();
    f.Operation = 3;
    f.SelectedNumber = 6;
    f.NextExercise();
    EXPECT_EQ(f.ExpectedAnswer, f.SecondOperand);
    EXPECT_EQ(f.Label7.text(), QString("%1 : 6 =").arg(6 * f.SecondOperand));
}

TEST_F(NextExercise, ErrorCorrectionAsksTheNewestErrorFirstAndEachOnce) {
    TForm3& f = form();
    f.NumberMode = 2;
    f.Operation = 2;
    f.PreviousSecondOperand = 5;
    f.CurrentErrors[2] = {{3, 4}, {7, 8}, {6, 6}};
    f.CurrentErrors[3] = {{9, 9}};

    const std::pair<int, int> expected[] = {{6, 6}, {7, 8}, {3, 4}};
    for (const auto& [a, b] : expected) {
        f.NextExercise();
        EXPECT_EQ(f.SelectedNumber, a);
        EXPECT_EQ(f.SecondOperand, b);
        EXPECT_EQ(f.ExpectedAnswer, a * b);
    }
    EXPECT_TRUE(f.CurrentErrors[2].empty());
    EXPECT_EQ(f.CurrentErrors[3].size(), 1u);
    EXPECT_EQ(f.PreviousSecondOperand, 5) << "error correction leaves it alone";
}

}  // namespace

#include <gtest/gtest.h>

#include "trainer/Marks.h"

namespace {

TEST(RunMark, GivesTheShareOfRightAnswersInFifths) {
    const struct {
        int exercises;
        int wrong;
        int mark;
    } cases[] = {{25, 0, 5},  {25, 1, 4}, {25, 5, 4}, {25, 6, 3},  {25, 10, 3}, {25, 11, 2},
                 {25, 16, 1}, {10, 1, 4}, {10, 9, 1}, {10, 10, 1}, {50, 0, 5},  {4, 1, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(trainer::runMark(c.exercises, c.wrong, c.exercises), c.mark)
            << c.exercises << " exercises, " << c.wrong << " wrong";
    }
    EXPECT_THROW(trainer::runMark(0, 0, 0), ui::RangeError);
}

TEST(AppendMark, KeepsTheLastTenMarksOldestFirst) {
    persistence::MarkRow history;
    std::uint8_t length = 0;
    for (int i = 1; i <= 11; ++i) {
        trainer::appendMark(history, length, i % 5 + 1);
    }
    EXPECT_EQ(length, 10);
    // Marks given: 2 3 4 5 1 2 3 4 5 1 2; the first is gone.
    const int expected[] = {3, 4, 5, 1, 2, 3, 4, 5, 1, 2};
    for (int slot = 1; slot <= 10; ++slot) {
        EXPECT_EQ(history[slot], expected[slot - 1]) << "slot " << slot;
    }
}

TEST(MarkColour, FollowsTheLegend) {
    const struct {
        int mark;
        QRgb colour;
    } cases[] = {
        {1, 0xFFFF0000}, {2, 0xFFFF0000}, {3, 0xFFFFFF00}, {4, 0xFF7FFF00}, {5, 0xFF00BFFF}};
    for (const auto& c : cases) {
        QRgb colour = 0;
        EXPECT_TRUE(trainer::markColour(c.mark, colour));
        EXPECT_EQ(colour, c.colour);
    }
    QRgb unchanged = 0x12345678;
    EXPECT_FALSE(trainer::markColour(0, unchanged));
    EXPECT_FALSE(trainer::markColour(6, unchanged));
    EXPECT_EQ(unchanged, 0x12345678u);
}

}  // namespace

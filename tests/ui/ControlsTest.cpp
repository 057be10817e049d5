#include <gtest/gtest.h>

#include "ui/Checked.h"
#include "ui/Controls.h"
#include "ui/Random.h"

namespace {

TEST(TrackBar, HoldsEveryValueWithinItsRangeAndReportsOnlyRealChanges) {
    ui::TrackBar bar("bar");
    bar.initialise(1, 10, 1);
    int changes = 0;
    bar.onChange = [&] { ++changes; };

    bar.setValue(3.4);
    EXPECT_DOUBLE_EQ(bar.value(), 3.4);
    bar.setValue(3.4);
    EXPECT_EQ(changes, 1) << "setting the same value again is no change";

    bar.setValue(25);
    EXPECT_DOUBLE_EQ(bar.value(), 10);
    bar.setValue(-4);
    EXPECT_DOUBLE_EQ(bar.value(), 1);
    EXPECT_EQ(changes, 3);
}

TEST(TrackBar, NewMaximumOrMinimumThatMovesTheValueRunsTheHandler) {
    ui::TrackBar bar("bar");
    bar.initialise(10, 60, 60);
    int changes = 0;
    bar.onChange = [&] { ++changes; };

    bar.setMaximum(50);
    EXPECT_DOUBLE_EQ(bar.value(), 50);
    EXPECT_EQ(changes, 1);

    bar.setMaximum(70);  // the value fits: no change
    EXPECT_EQ(changes, 1);

    bar.setValue(12);
    bar.setMinimum(20);
    EXPECT_DOUBLE_EQ(bar.value(), 20);
    EXPECT_EQ(changes, 3);
}

TEST(ComboBox, RunsItsHandlerOnlyWhenTheItemChangesAndRefusesUnknownItems) {
    ui::ComboBox box("box");
    box.initialise({"a", "b", "c"}, 0);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.setItemIndex(0);
    EXPECT_EQ(changes, 0);
    box.setItemIndex(2);
    EXPECT_EQ(changes, 1);
    EXPECT_THROW(box.setItemIndex(3), ui::RangeError);
    EXPECT_EQ(box.itemIndex(), 2);
}

TEST(ProgressBar, KeepsItsValueWithinZeroAndItsMaximum) {
    ui::ProgressBar bar("bar");
    bar.setMaximum(180);
    bar.setValue(181);
    EXPECT_DOUBLE_EQ(bar.value(), 180);
    bar.setMaximum(150);
    EXPECT_DOUBLE_EQ(bar.value(), 150);
    bar.setValue(-1);
    EXPECT_DOUBLE_EQ(bar.value(), 0);
}

TEST(Button, SelectedLooksBlackAndUnselectedTakesTheStyleGrey) {
    ui::Button button("b");
    EXPECT_EQ(button.effectiveTextColor(), 0xFFE0E0E0u);
    button.setSelected(true);
    EXPECT_EQ(button.effectiveTextColor(), 0xFF000000u);
}

TEST(Button, OneThatStaysPressedTogglesItsPressedLookAtEachClickAndKeepsItsSelection) {
    ui::Button plain("plain");
    ui::Button toggling("toggling");
    toggling.setStaysPressed(true);
    int clicks = 0;
    toggling.onClick = [&clicks] { ++clicks; };
    toggling.setSelected(true);
    for (bool expected : {true, false, true}) {
        plain.click();
        toggling.click();
        EXPECT_FALSE(plain.pressed());
        EXPECT_EQ(toggling.pressed(), expected);
        EXPECT_TRUE(toggling.selected());
    }
    EXPECT_EQ(clicks, 3);
    toggling.setSelected(false);
    EXPECT_TRUE(toggling.pressed()) << "the selection leaves the pressed look alone";
}

TEST(CheckedNumbers, IndexesOutsideTheRangeAndOverflowThrow) {
    ui::CheckedArray<int, 2, 3> perOperation;
    perOperation[2] = 7;
    perOperation[3] = 8;
    EXPECT_EQ(perOperation[2] + perOperation[3], 15);
    EXPECT_THROW(perOperation[1], ui::RangeError);
    EXPECT_THROW(perOperation[4], ui::RangeError);

    EXPECT_EQ(ui::checkedAdd<std::uint16_t>(65534, 1), 65535);
    EXPECT_THROW(ui::checkedAdd<std::uint16_t>(65535, 1), ui::RangeError);
    EXPECT_THROW(ui::checkedMul<std::int32_t>(1 << 20, 1 << 12), ui::RangeError);
    EXPECT_THROW(ui::checkedCast<std::uint8_t>(256), ui::RangeError);
}

TEST(CheckedNumbers, RoundingTakesAHalfToTheEvenNeighbour) {
    const struct {
        double value;
        long long rounded;
    } cases[] = {{2.5, 2}, {3.5, 4}, {3.4, 3}, {3.6, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2},
                 {45.0, 45}, {70.222, 70}, {78.3, 78}};
    for (const auto& c : cases) {
        EXPECT_EQ(ui::roundHalfEven(c.value), c.rounded) << c.value;
    }
}

TEST(Dispatch, AFailingHandlerIsReportedAndTheProgramGoesOn) {
    ui::CollectingErrorReporter reporter;
    int after = 0;
    EXPECT_FALSE(ui::dispatch(reporter, [] {
        ui::CheckedArray<int, 1, 9> row;
        row[10] = 1;
    }));
    EXPECT_TRUE(ui::dispatch(reporter, [&] { ++after; }));
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages.front().contains("10"));
    EXPECT_EQ(after, 1);
}

TEST(Random, SystemDrawsCoverTheRangeAndScriptedDrawsReplay) {
    ui::SystemRandom random;
    bool seen[10] = {};
    for (int i = 0; i < 2000; ++i) {
        const int v = random.next(10);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 10);
        seen[v] = true;
    }
    for (bool s : seen) {
        EXPECT_TRUE(s);
    }
    ui::ScriptedRandom scripted({4, 13});
    EXPECT_EQ(scripted.next(10), 4);
    EXPECT_EQ(scripted.next(10), 3);
    EXPECT_EQ(scripted.next(10), 4);
}

}  // namespace

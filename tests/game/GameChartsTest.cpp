#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <QRect>

#include "game/GameCharts.h"

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kDimGrey = 0xFF696969;
constexpr QRgb kTomato = 0xFFFF6347;
constexpr QRgb kDeepSkyBlue = 0xFF00BFFF;

// The level chart and the totals chart at their sizes in the window, one pixel per unit.
constexpr int kLevelWidth = 284;
constexpr int kTotalsWidth = 113;
constexpr int kHeight = 450;

ui::Bitmap levelChart(const game::LevelScoreTable& scores, int levelsShown) {
    ui::Bitmap bitmap;
    bitmap.setSize(kLevelWidth, kHeight);
    ui::Canvas canvas(bitmap);
    game::paintLevelChart(canvas, kLevelWidth, kHeight, scores, levelsShown,
                          {"In levels:", "number  1-7", "Programme", "My Points"});
    return bitmap;
}

ui::Bitmap totalsChart(int programTotal, int pupilTotal) {
    ui::Bitmap bitmap;
    bitmap.setSize(kTotalsWidth, kHeight);
    ui::Canvas canvas(bitmap);
    game::paintTotalsChart(canvas, kTotalsWidth, kHeight, programTotal, pupilTotal,
                           " Total  score ");
    return bitmap;
}

// The rows of one column of pixels that have the colour.
std::vector<int> rowsOf(const ui::Bitmap& b, int x, QRgb colour) {
    std::vector<int> rows;
    for (int y = 0; y < b.height(); ++y) {
        if (b.pixelAt(x, y) == colour) {
            rows.push_back(y);
        }
    }
    return rows;
}

bool anyPixelOf(const ui::Bitmap& b, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (b.pixelAt(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

TEST(LevelChart, DrawsBothLinesFromTheBottomEdgeOverTheLevelsShown) {
    game::LevelScoreTable scores;
    scores[1] = {300, 500};
    scores[2] = {200, 100};
    scores[3] = {400, 400};  // not shown
    const ui::Bitmap chart = levelChart(scores, 2);

    // A band of parallel one-pixel lines from (x1, from) to (x1 + 28, to): in one column of
    // pixels it spans the lines plus the line's rise across that column.
    const auto expectBand = [&](QRgb colour, int x, int x1, double from, double to, int lines) {
        const auto lineAt = [&](double at) { return from + (to - from) * (at - x1) / 28; };
        const double top = std::min(lineAt(x - 0.5), lineAt(x + 0.5));
        const double rise = std::abs(to - from) / 28;
        const std::vector<int> rows = rowsOf(chart, x, colour);
        ASSERT_FALSE(rows.empty()) << x;
        EXPECT_NEAR(rows.front(), top, 1) << x;
        EXPECT_NEAR(rows.back() - rows.front(), lines - 1 + rise, 1.5) << x;
        EXPECT_EQ(static_cast<int>(rows.size()), rows.back() - rows.front() + 1) << x;
    };
    // Level 1 (x 0..28): the program rises from the bottom edge to 450 - 300 * 0.45 = 315 as four
    // lines (135 / 100 rounds to 1, plus 3), the pupil to 225 as seven (225 / 50 = 4.5 rounds to
    // 4, plus 3).
    expectBand(kTomato, 14, 0, 450, 315, 4);
    expectBand(kDeepSkyBlue, 14, 0, 450, 225, 7);
    // Level 2 (x 28..56): the program falls to 360 as three lines, the pupil to 405 as seven.
    expectBand(kTomato, 55, 28, 315, 360, 3);
    expectBand(kDeepSkyBlue, 55, 28, 225, 405, 7);
    // Level 3 is not drawn; its band shows the grid on black.
    EXPECT_TRUE(rowsOf(chart, 70, kTomato).empty());
    EXPECT_TRUE(rowsOf(chart, 70, kDeepSkyBlue).empty());
    EXPECT_EQ(chart.pixelAt(70, 300), kBlack);
    EXPECT_EQ(chart.pixelAt(84, 300), kDimGrey);  // the line right of level 3
    EXPECT_EQ(chart.pixelAt(70, 315), kDimGrey);  // the line of 300 points
}

TEST(LevelChart, ALevelInWhichTheProgramFoundNothingIsStillDrawn) {
    game::LevelScoreTable scores;
    scores[1] = {0, 200};
    scores[2] = {100, 300};
    const ui::Bitmap chart = levelChart(scores, 2);
    EXPECT_FALSE(rowsOf(chart, 14, kDeepSkyBlue).empty());
    EXPECT_FALSE(rowsOf(chart, 42, kDeepSkyBlue).empty());
    EXPECT_FALSE(rowsOf(chart, 42, kTomato).empty());
}

TEST(TotalsChart, BarsRiseFromTheBaseLineByTheTotals) {
    // 1600 points reach 450 - 1600 * 450 / 8000 = 360; 0 points draw a stub down to the edge.
    const ui::Bitmap chart = totalsChart(1600, 0);
    for (int x : {10, 19}) {
        EXPECT_EQ(chart.pixelAt(x, 439), kTomato);
        EXPECT_EQ(chart.pixelAt(x, 361), kTomato);
        EXPECT_EQ(chart.pixelAt(x, 358), kDimGrey);
    }
    EXPECT_EQ(chart.pixelAt(9, 400), kDimGrey);
    EXPECT_EQ(chart.pixelAt(20, 400), kDimGrey);
    for (int x : {30, 39}) {
        EXPECT_EQ(chart.pixelAt(x, 440), kDeepSkyBlue);
        EXPECT_EQ(chart.pixelAt(x, 449), kDeepSkyBlue);
        EXPECT_EQ(chart.pixelAt(x, 438), kDimGrey);
    }
}

TEST(TotalsChart, TheLeadIsBlueWhenThePupilIsAheadAndTomatoOtherwise) {
    const QRect leadArea(kTotalsWidth - 70, kHeight - 35, 70, 35);
    const struct {
        int program;
        int pupil;
        QRgb colour;
        QRgb notColour;
    } cases[] = {
        {100, 137, kDeepSkyBlue, kTomato},
        {105, 100, kTomato, kDeepSkyBlue},
        {0, 0, kTomato, kDeepSkyBlue},
    };
    for (const auto& c : cases) {
        const ui::Bitmap chart = totalsChart(c.program, c.pupil);
        EXPECT_TRUE(anyPixelOf(chart, leadArea, c.colour)) << c.pupil - c.program;
        EXPECT_FALSE(anyPixelOf(chart, leadArea.adjusted(6, 0, 0, 0), c.notColour))
            << c.pupil - c.program;
    }
}

}  // namespace

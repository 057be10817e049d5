#pragma once

#include <cstdint>

#include <QString>

#include "ui/Bitmap.h"
#include "ui/Checked.h"

namespace game {

// Both sides' points in one level of the game.
struct LevelScore {
    std::int32_t ProgramPoints = 0;
    std::int32_t PupilPoints = 0;
    bool operator==(const LevelScore&) const = default;
};

using LevelScoreTable = ui::CheckedArray<LevelScore, 1, 10>;

// The legend of the level chart.
struct LevelChartTexts {
    QString inLevels;   // the chart's title
    QString range;      // the difficulty's number range, shown in brackets
    QString programme;  // the program's series
    QString myPoints;   // the pupil's series
};

// The chart's height for a level's points: 0 on the bottom edge, 1000 on the top edge.
int levelChartY(std::int32_t points, int height);

// The level chart over the canvas's bitmap of width by height: a grid of the ten levels, and the
// program's and the pupil's points of levels 1..levelsShown as two lines that rise from the
// bottom edge, thicker the steeper they climb or fall.
void paintLevelChart(ui::Canvas& canvas, int width, int height, const LevelScoreTable& scores,
                     int levelsShown, const LevelChartTexts& texts);

// The totals chart: the two game totals as bars, the level chart's value scale at the right edge,
// and the pupil's lead.
void paintTotalsChart(ui::Canvas& canvas, int width, int height, std::int32_t programTotal,
                      std::int32_t pupilTotal, const QString& title);

}  // namespace game

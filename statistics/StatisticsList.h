#pragma once

#include <QString>
#include <QStringList>

#include "statistics/ErrorRates.h"
#include "ui/Bitmap.h"

namespace statistics {

// The list beside the number buttons on the statistics screen: on the left, level with each
// number button, how many answers that number has had; on the right, the typical errors.
struct StatisticsListContent {
    int width = 0;  // the viewer's size in whole units
    int height = 0;
    QString countsHeading;
    QString errorsHeading;
    NumberTotals totals;
    QStringList typicalErrors;  // at most ten lines, heaviest first
};

// Paints the whole list over the canvas's bitmap, which the caller has sized.
void paintStatisticsList(ui::Canvas& canvas, const StatisticsListContent& content);

}  // namespace statistics

#pragma once

#include <optional>

#include <QString>

namespace widgets {

// A cell of a grid, counted from 1 in both directions.
struct GridCell {
    int column = 1;
    int row = 1;
    bool operator==(const GridCell&) const = default;
};

// The cell one step away in a direction, staying on the grid's edge where the step would leave it.
GridCell movedCell(GridCell from, int columnStep, int rowStep, int columns, int rows);

// The digits typed so far with one more digit: the longer number while it still names a cell
// (1..largest), else the new digit on its own, so that a pupil who mistyped simply types again.
QString withTypedDigit(const QString& typed, QChar digit, int largest);

// The cell that shows the number, row by row from 1 at the top left; none outside 1..largest.
std::optional<GridCell> cellOfNumber(int number, int columns, int largest);

// A track bar's value, in hundredths, after one arrow press: the next whole number in the
// direction (+1 or -1), so a value left between whole numbers by a drag is rounded by the step.
int wholeStep(int hundredths, int direction);

}  // namespace widgets

#pragma once

#include <cmath>

namespace game {

// Where a press on the grid's viewer lands. The grid is painted in whole cells of cellWidth by
// cellHeight picture units (gridCellRect), and the viewer shows the picture at `scale`: every
// pixel painted for a cell, and the gap to its left and above it, selects that cell. Columns and
// rows count from 1; a press beyond the ten painted columns gives column 11, below the nine rows
// row 10.
inline int gridColumnAt(double x, int cellWidth, double scale) {
    return static_cast<int>(std::trunc(x / (cellWidth * scale))) + 1;
}

inline int gridRowAt(double y, int cellHeight, double scale) {
    return static_cast<int>(std::trunc(y / (cellHeight * scale))) + 1;
}

}  // namespace game

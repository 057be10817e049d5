#pragma once

#include <cmath>

namespace game {

// Where a press on the grid viewer lands. The viewer shows the grid at 0.99 of its width, and its
// nine rows share the height less five units. Columns and rows count from 1; a press beyond the
// drawn grid gives column 11 or row 10.
inline int gridColumnAt(double x, int viewerWidth) {
    return static_cast<int>(std::trunc(x / (viewerWidth * 0.99 / 10))) + 1;
}

inline int gridRowAt(double y, int viewerHeight) {
    return static_cast<int>(std::trunc(y / ((viewerHeight - 5) / 9.0))) + 1;
}

}  // namespace game

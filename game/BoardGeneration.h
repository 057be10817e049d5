#pragma once

#include <array>

#include "game/Board.h"
#include "ui/Random.h"

namespace game {

constexpr int kBoardRows = 9;
constexpr int kBoardColumns = 10;

// Board marks used while the game runs.
constexpr std::uint8_t kMarkFree = 0;
constexpr std::uint8_t kMarkProgram = 1;
constexpr std::uint8_t kMarkPlanted = 2;
constexpr std::uint8_t kMarkFound = 3;

// A line through a product cell: its first factor lies one step away, its second two steps.
struct Direction {
    int rowStep;
    int columnStep;
};

// The eight lines, in the order the game always tries them: up, up-right, right, down-right,
// down, down-left, left, up-left.
inline constexpr std::array<Direction, 8> kDirections = {{
    {-1, 0},
    {-1, 1},
    {0, 1},
    {1, 1},
    {1, 0},
    {1, -1},
    {0, -1},
    {-1, -1},
}};

// Whether both factor cells of the line from (row, column) lie on the board.
constexpr bool lineFits(int row, int column, Direction d) {
    const int lastRow = row + 2 * d.rowStep;
    const int lastColumn = column + 2 * d.columnStep;
    return lastRow >= 1 && lastRow <= kBoardRows && lastColumn >= 1 && lastColumn <= kBoardColumns;
}

// Sets every mark of rows 1..9 to free.
void clearMarks(Board& board);

// Fills rows 1..9 with numbers 1..difficulty and plants products beside pairs of them; every mark
// is 0 afterwards. The random source is drawn 180 times: one number per cell, then one draw per
// cell that makes about one cell in four a product. difficulty must be 3..10.
void generateBoard(Board& board, int difficulty, ui::Random& random);

}  // namespace game

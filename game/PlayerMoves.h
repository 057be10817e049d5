#pragma once

#include <cstdint>

#include "game/Board.h"
#include "game/BoardGeneration.h"
#include "ui/Checked.h"

namespace game {

// The mark of a factor the pupil has selected for the move in progress.
constexpr std::uint8_t kMarkSelected = 2;

struct CellPosition {
    std::uint8_t row = 0;
    std::uint8_t column = 0;
    bool operator==(const CellPosition&) const = default;
};

// The move in progress: entries 1 and 2 are the factors in the order pressed, entry 3 the product
// for the moment the triple is completed.
using SelectedCells = ui::CheckedArray<CellPosition, 1, 3>;

// What a press on the board did.
struct PressOutcome {
    // The board changed, or a selected factor was pressed again: the board is redrawn.
    bool redraw = false;
    // The press completed a triple, which scores its product.
    bool tripleFound = false;
    int points = 0;
};

// One press of the pupil on cell (row, column) of the board. A free cell is the first factor, a
// second factor touching the first, or their product on the pair's line just beyond either end;
// a selected factor pressed again is taken back; a cell of a found triple, and any press that
// fits none of these, is ignored. A completed triple is marked found and scores its product.
// selectionCount says how many entries of the selection are filled: 0, 1 or 2 between presses.
PressOutcome pressCell(Board& board, SelectedCells& selection, std::int32_t& selectionCount,
                       int row, int column);

// Whether the cell extends the line of two neighbouring cells by one step at either end.
bool extendsLine(CellPosition a, CellPosition b, CellPosition cell);

}  // namespace game

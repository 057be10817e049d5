#include "game/PlayerMoves.h"

#include <cmath>
#include <cstdlib>

namespace game {

namespace {

bool touches(CellPosition a, CellPosition b) {
    return std::abs(a.row - b.row) <= 1 && std::abs(a.column - b.column) <= 1;
}

// One step from p and two from q along a diagonal.
bool diagonalBeyond(CellPosition p, CellPosition q, CellPosition cell) {
    return std::abs(cell.row - p.row) == 1 && std::abs(cell.column - p.column) == 1 &&
           std::abs(cell.row - q.row) == 2 && std::abs(cell.column - q.column) == 2;
}

// Distance 0.5 from the pair's middle is the pair itself; 1.5 is one step beyond either end.
bool nearMiddle(int first, int second, int at) {
    return std::fabs((first + second) / 2.0 - at) <= 1.6;
}

BoardCell& cellAt(Board& board, CellPosition p) {
    return board[p.row][p.column];
}

// A selected factor pressed again: entry 1 taken back leaves entry 2 as the only factor.
PressOutcome takeBack(Board& board, SelectedCells& selection, std::int32_t& count,
                      CellPosition cell) {
    const std::int32_t before = count;
    if (cell == selection[1]) {
        if (count == 2) {
            selection[1] = selection[2];
            count = 1;
        } else {
            count = 0;
        }
    }
    if (count == 2 && cell == selection[2]) {
        count = 1;
    }
    if (count != before) {
        cellAt(board, cell).Mark = kMarkFree;
    }
    return PressOutcome{true, false, 0};
}

bool fitsMove(Board& board, const SelectedCells& selection, std::int32_t count, CellPosition cell) {
    switch (count) {
        case 0:
            return true;
        case 1:
            return touches(cell, selection[1]);
        case 2: {
            const CellPosition a = selection[1];
            const CellPosition b = selection[2];
            return extendsLine(a, b, cell) &&
                   cellAt(board, a).Value * cellAt(board, b).Value == cellAt(board, cell).Value;
        }
        default:
            return false;
    }
}

}  // namespace

bool extendsLine(CellPosition a, CellPosition b, CellPosition cell) {
    if (a.row == b.row) {
        return cell.row == a.row && nearMiddle(a.column, b.column, cell.column);
    }
    if (a.column == b.column) {
        return cell.column == a.column && nearMiddle(a.row, b.row, cell.row);
    }
    return diagonalBeyond(a, b, cell) || diagonalBeyond(b, a, cell);
}

PressOutcome pressCell(Board& board, SelectedCells& selection, std::int32_t& selectionCount,
                       int row, int column) {
    const CellPosition cell{ui::checkedCast<std::uint8_t>(row),
                            ui::checkedCast<std::uint8_t>(column)};
    BoardCell& pressed = board[row][column];
    if (pressed.Mark == kMarkFound) {
        return {};
    }
    if (pressed.Mark == kMarkSelected) {
        return takeBack(board, selection, selectionCount, cell);
    }
    if (!fitsMove(board, selection, selectionCount, cell)) {
        return {};
    }

    selectionCount = ui::checkedAdd(selectionCount, 1);
    selection[selectionCount] = cell;
    if (selectionCount < 3) {
        pressed.Mark = kMarkSelected;
        return PressOutcome{true, false, 0};
    }
    for (int k = 1; k <= 3; ++k) {
        cellAt(board, selection[k]).Mark = kMarkFound;
    }
    selectionCount = 0;
    return PressOutcome{true, true, pressed.Value};
}

}  // namespace game

#include "game/ProgramSearch.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "ui/Checked.h"

namespace game {

namespace {

struct Cell {
    int row;
    int column;
};

// The largest free number, the first in reading order among equals.
std::optional<Cell> largestFreeCell(const Board& board) {
    std::optional<Cell> kept;
    int keptValue = -1;
    for (int r = 1; r <= kBoardRows; ++r) {
        for (int c = 1; c <= kBoardColumns; ++c) {
            const BoardCell& cell = board[r][c];
            if (cell.Mark == kMarkFree && cell.Value > keptValue) {
                kept = Cell{r, c};
                keptValue = cell.Value;
            }
        }
    }
    return kept;
}

// Takes every line through the cell whose two factor cells are free and multiply to its number.
void takeTriples(Board& board, Cell product) {
    BoardCell& cell = board[product.row][product.column];
    for (const Direction d : kDirections) {
        if (!lineFits(product.row, product.column, d)) {
            continue;
        }
        BoardCell& first = board[product.row + d.rowStep][product.column + d.columnStep];
        BoardCell& second = board[product.row + 2 * d.rowStep][product.column + 2 * d.columnStep];
        if (first.Mark != kMarkFree || second.Mark != kMarkFree ||
            first.Value * second.Value != cell.Value) {
            continue;
        }
        cell.Mark = kMarkProgram;
        first.Mark = kMarkProgram;
        second.Mark = kMarkProgram;
    }
}

// The level's time is held by a track bar of 1..10, which clamps every value put into it.
int clamped(long long units) {
    return static_cast<int>(std::clamp(units, 1LL, 10LL));
}

}  // namespace

SearchResult programSearch(Board& board, int gameLevel) {
    SearchResult result;
    const int passes = searchPasses(gameLevel);
    for (int pass = 1; pass <= passes; ++pass) {
        const std::optional<Cell> current = largestFreeCell(board);
        if (!current) {
            break;
        }
        takeTriples(board, *current);
        BoardCell& cell = board[current->row][current->column];
        if (cell.Mark == kMarkProgram) {
            result.points = ui::checkedAdd<std::int32_t>(result.points, cell.Value);
            result.tripleCount = ui::checkedAdd<std::int32_t>(result.tripleCount, 1);
        } else {
            cell.Mark = kMarkNoProduct;
        }
    }
    return result;
}

int levelTime(std::int32_t tripleCount, int gameLevel, std::int32_t pupilTotal,
              std::int32_t programTotal) {
    const int time = clamped(tripleCount / 2);
    const std::int32_t lead = ui::checkedSub(pupilTotal, programTotal);
    const double weight = static_cast<double>(gameLevel - 2) * lead;
    if (lead > 0) {
        const long long shorter = ui::roundHalfEven(time - weight / 300.0);
        return clamped(shorter > 0 ? shorter : 2);
    }
    return clamped(ui::roundHalfEven(time + std::fabs(weight) / 500.0));
}

}  // namespace game

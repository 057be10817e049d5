#pragma once

#include <QStringList>

#include "game/Board.h"
#include "ui/Bitmap.h"

namespace help {

// The rows of the board that the game rules show as their example.
constexpr int kExampleFirstRow = 4;
constexpr int kExampleLastRow = 6;
// Where the example's first row begins, in design units.
constexpr double kExampleTop = 442;

// Writes the example into rows 4 to 6 of the board: numbers with four found triples, a column,
// a row, a row further down and a diagonal.
void writeRulesExample(game::Board& board);

// The example in words: its rows as their numbers ("10, 25, 30, ..."), and its triples found as
// the exercises they make ("10 x 10 = 100"), in the order the example lists them.
QStringList rulesExampleRows(const game::Board& board);
QStringList rulesExampleTriples(const game::Board& board);

// Paints rows 4 to 6 of the board below the rules' text: found triples white, other cells silver.
void paintRulesExample(ui::Canvas& canvas, const game::Board& board, int cellWidth);

}  // namespace help

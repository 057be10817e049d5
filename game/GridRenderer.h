#pragma once

#include <cstdint>
#include <optional>

#include <QRectF>
#include <QString>

#include "game/Board.h"
#include "ui/Bitmap.h"
#include "ui/Look.h"

namespace game {

// Everything the 10-by-9 grid shows in one picture.
struct GridContent {
    // 1 the answer table (numbers 1..90), 2 the game board, 3 the statistics table.
    std::uint8_t mode = 1;
    // Mode 1: the cell under the pressed mouse (clickedColumn, clickedRow) takes the background
    // colour.
    bool highlight = false;
    int clickedColumn = 0;
    int clickedRow = 0;
    // Mode 3: 2 multiplication (operand column 1), 3 division (operand column 10).
    int operation = 2;
    // Modes 2 and 3: the numbers and marks; mode 3 draws rows 2..9 and a header band in row 1.
    const Board* board = nullptr;
    int cellWidth = 0;
    int cellHeight = 0;
    // Mode 3: the colours of marks 0..4 where they are not the screen's (a printed table's);
    // nullptr: the screen's.
    const QRgb* markColours = nullptr;
    // The look the grid is painted in (the painter reads the palette in use).
    ui::Look look = ui::Look::Default;
    // Mode 3: the operand words of the header band.
    QString multiplier;
    QString multiplicand;
    QString divider;
    QString dividend;
};

// Where cell (column c, row r) is painted in the grid's picture, in picture units.
QRectF gridCellRect(int c, int r, int cellWidth, int cellHeight);

// The text of cell (column c, row r) as the grid paints it; empty where row 1 of the statistics
// table holds its header band.
QString gridCellText(const GridContent& content, int c, int r);

// Paints the whole grid over the canvas's bitmap, which the caller has sized.
void paintGrid(ui::Canvas& canvas, const GridContent& content);

// The sign of an error band (mark 2 to 4 of the statistics table) where the look draws signs:
// one to three dots from the top left corner of a cell, so that the bands differ by more than
// their colours. Nothing for other marks or in the default look.
void paintBandSign(ui::Canvas& canvas, QPointF corner, std::uint8_t mark, double dot = 6);

// Where the answer table painted from `after` can differ from the one painted from `before`, of
// the same size and pixel ratio, in picture units: the pressed cell before and after. Empty when
// the two are alike; nothing when they are not both answer tables of the same cells.
std::optional<QRectF> answerTableChange(const GridContent& before, const GridContent& after);

// A table as it was drawn: its content, and a copy of the board the content pointed to then.
struct DrawnGrid {
    GridContent content;
    Board board{};
};

// What `drawn` was drawn from, taken now.
DrawnGrid drawnGrid(const GridContent& content);

// Where the table painted from `after` can differ from the one painted as `before`, in picture
// units, as answerTableChange says for answer tables; empty also for a statistics table drawn
// from the same board, words and colours (a switch back to the statistics); nothing otherwise.
std::optional<QRectF> gridChange(const DrawnGrid& before, const GridContent& after);

}  // namespace game

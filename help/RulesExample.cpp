#include "help/RulesExample.h"

#include "ui/Look.h"

namespace help {

namespace {

constexpr int kColumnCount = 10;
constexpr std::uint8_t kFound = 3;
constexpr double kValueFont = 30;
constexpr double kCornerRadius = 2;
constexpr double kTextOverhang = 10;

constexpr std::uint8_t kExampleValues[3][kColumnCount] = {
    {10, 25, 30, 5, 6, 4, 32, 72, 11, 55},
    {10, 5, 12, 1, 7, 9, 2, 1, 8, 29},
    {100, 43, 42, 8, 3, 9, 27, 14, 27, 9},
};

struct Cell {
    int row;
    int column;
};

// Column 1 down (10, 10, 100); row 4 (30, 5, 6); row 6 (3, 9, 27); the diagonal (72, 8, 9).
constexpr Cell kFoundCells[] = {
    {4, 1}, {5, 1}, {6, 1}, {4, 3}, {4, 4}, {4, 5}, {6, 5}, {6, 6}, {6, 7}, {4, 8}, {5, 9}, {6, 10},
};

}  // namespace

void writeRulesExample(game::Board& board) {
    for (int r = kExampleFirstRow; r <= kExampleLastRow; ++r) {
        for (int c = 1; c <= kColumnCount; ++c) {
            board[r][c] = game::BoardCell{kExampleValues[r - kExampleFirstRow][c - 1], 0};
        }
    }
    for (const Cell& cell : kFoundCells) {
        board[cell.row][cell.column].Mark = kFound;
    }
}

QStringList rulesExampleRows(const game::Board& board) {
    QStringList rows;
    for (int r = kExampleFirstRow; r <= kExampleLastRow; ++r) {
        QStringList numbers;
        for (int c = 1; c <= kColumnCount; ++c) {
            numbers.append(QString::number(board[r][c].Value));
        }
        rows.append(numbers.join(QStringLiteral(", ")));
    }
    return rows;
}

QStringList rulesExampleTriples(const game::Board& board) {
    QStringList triples;
    constexpr std::size_t kCellsPerTriple = 3;
    for (std::size_t k = 0; k + kCellsPerTriple <= std::size(kFoundCells); k += kCellsPerTriple) {
        int values[kCellsPerTriple];
        for (std::size_t i = 0; i < kCellsPerTriple; ++i) {
            values[i] = board[kFoundCells[k + i].row][kFoundCells[k + i].column].Value;
        }
        // A triple reads in either direction: the product is at one end.
        const bool productLast = values[0] * values[1] == values[2];
        const int first = productLast ? values[0] : values[1];
        const int second = productLast ? values[1] : values[2];
        const int product = productLast ? values[2] : values[0];
        triples.append(QStringLiteral("%1 x %2 = %3").arg(first).arg(second).arg(product));
    }
    return triples;
}

void paintRulesExample(ui::Canvas& canvas, const game::Board& board, int cellWidth) {
    const double s2 = cellWidth / 1.5;
    canvas.setFillEnabled(true);
    canvas.setFont(kValueFont);
    for (int e = 0; e <= kExampleLastRow - kExampleFirstRow; ++e) {
        for (int c = 1; c <= kColumnCount; ++c) {
            const game::BoardCell& cell = board[kExampleFirstRow + e][c];
            const QRectF rect(
                QPointF((c - 1) * s2 + 127, e * s2 + kExampleTop),
                QPointF((c - 1) * s2 + 125 + s2 - 2, e * s2 + kExampleTop - 2 + s2 - 2));
            const ui::Palette& palette = ui::palette();
            const bool found = cell.Mark == kFound;
            canvas.setFillColor(found ? palette.foundCell : palette.cell);
            canvas.fillRoundRect(rect, kCornerRadius, kCornerRadius);
            // Centred in a box wider than the cell, so that a number a little wider than its
            // cell shows whole rather than cut at the cell's edges.
            canvas.setFillColor(found ? palette.foundCellText : palette.cellText);
            canvas.fillText(rect.adjusted(-kTextOverhang, 0, kTextOverhang, 0),
                            QString::number(cell.Value), false, 1, ui::Align::Center,
                            ui::Align::Center);
        }
    }
}

}  // namespace help

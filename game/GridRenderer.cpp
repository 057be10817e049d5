#include "game/GridRenderer.h"

#include "app/Form.h"
#include "ui/Errors.h"

namespace game {

namespace {

constexpr QRgb kDimGrey = 0xFF696969;
constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kDeepSkyBlue = 0xFF00BFFF;
constexpr QRgb kGreen = 0xFF008000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kBlue = 0xFF0000FF;

constexpr int kRowCount = 9;
constexpr int kColumnCount = 10;

constexpr double kCellFont = 40;
constexpr double kThreeDigitFont = 37;
constexpr double kOperandWordFont = 18;
constexpr double kBandFont = 24;
constexpr double kCornerRadius = 2;

constexpr int kAnswerTable = 1;
constexpr int kGameBoard = 2;
constexpr int kStatisticsTable = 3;
constexpr int kMultiplication = 2;
constexpr int kDivision = 3;

QRgb markColour(int mode, std::uint8_t mark) {
    switch (mark) {
        case 1:
            return mode == kStatisticsTable ? kDeepSkyBlue : kSilver;
        case 2:
            return mode == kStatisticsTable ? kGreen : kDeepSkyBlue;
        case 3:
            return mode == kStatisticsTable ? kYellow : kWhite;
        case 4:
            return kRed;
        default:
            return kSilver;
    }
}

void setFontSize(ui::Canvas& canvas, double size) {
    if (canvas.fontSize() != size) {
        canvas.setFont(size);
    }
}

QRectF between(double left, double top, double right, double bottom) {
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

void paintCell(ui::Canvas& canvas, const GridContent& content, int r, int c) {
    const int w = content.cellWidth;
    const int h = content.cellHeight;
    const QRectF rect = between((c - 1) * w + 3, (r - 1) * h + 2, c * w, r * h - 1);

    QRgb fill = kSilver;
    QString text;
    if (content.mode == kAnswerTable) {
        if (content.highlight && c == content.clickedColumn && r == content.clickedRow) {
            fill = kDimGrey;
        }
        text = QString::number((r - 1) * 10 + c);
    } else {
        const BoardCell& cell = (*content.board)[r][c];
        text = QString::number(cell.Value);
        setFontSize(canvas, cell.Value >= 100 ? kThreeDigitFont : kCellFont);
        fill = markColour(content.mode, cell.Mark);
    }
    canvas.setFillColor(fill);
    canvas.fillRoundRect(rect, kCornerRadius, kCornerRadius);

    QRgb ink = kBlack;
    if (content.mode == kStatisticsTable) {
        if (content.operation == kMultiplication && c == 1) {
            text += QStringLiteral(" x");
            ink = kBlue;
        } else if (content.operation == kDivision && c == kColumnCount) {
            text.prepend(QStringLiteral(": "));
            ink = kBlue;
        }
    }
    canvas.setFillColor(ink);
    canvas.fillText(rect, text, true, 1, ui::Align::Center, ui::Align::Center);
}

// Row 1 of the statistics table names the operands instead of holding cells.
void paintHeaderBand(ui::Canvas& canvas, const GridContent& content) {
    const int w = content.cellWidth;
    const int h = content.cellHeight;
    const double top = 3;
    const double bottom = h - 2;
    canvas.setFillColor(kSilver);
    canvas.fillRoundRect(between(3, top, 10 * w, bottom), kCornerRadius, kCornerRadius);
    canvas.setFillColor(kBlue);
    if (content.operation == kMultiplication) {
        setFontSize(canvas, kOperandWordFont);
        canvas.fillText(between(3, top, 2 * w, bottom), content.multiplicand, true, 1,
                        ui::Align::Leading, ui::Align::Center);
        setFontSize(canvas, kBandFont);
        canvas.fillText(between(w + 1, top, 10 * w - 1, bottom), content.multiplier, true, 1,
                        ui::Align::Center, ui::Align::Center);
    } else {
        setFontSize(canvas, kBandFont);
        canvas.fillText(between(3, top, 10 * w, bottom), content.dividend, true, 1,
                        ui::Align::Center, ui::Align::Center);
        setFontSize(canvas, kOperandWordFont);
        canvas.fillText(between(8 * w, top, 10 * w - 1, bottom), content.divider, true, 1,
                        ui::Align::Trailing, ui::Align::Center);
    }
}

}  // namespace

void paintGrid(ui::Canvas& canvas, const GridContent& content) {
    if (content.mode < kAnswerTable || content.mode > kStatisticsTable) {
        throw ui::RangeError(QStringLiteral("Unknown grid mode %1").arg(content.mode));
    }
    if (content.mode != kAnswerTable && content.board == nullptr) {
        throw ui::RangeError(QStringLiteral("The grid in mode %1 needs a board").arg(content.mode));
    }
    canvas.clear(kDimGrey);
    canvas.setFillEnabled(true);
    canvas.setFont(kCellFont);
    const int firstRow = content.mode == kStatisticsTable ? 2 : 1;
    for (int r = firstRow; r <= kRowCount; ++r) {
        for (int c = 1; c <= kColumnCount; ++c) {
            paintCell(canvas, content, r, c);
        }
    }
    if (content.mode == kStatisticsTable) {
        paintHeaderBand(canvas, content);
    }
}

}  // namespace game

void TForm3::DrawGrid(std::uint8_t mode, std::uint8_t highlight) {
    game::GridContent content;
    content.mode = mode;
    content.highlight = highlight == 1;
    content.clickedColumn = ClickedColumn;
    content.clickedRow = ClickedRow;
    content.operation = Operation;
    content.board = &Board;
    content.cellWidth = GridCellWidth;
    content.cellHeight = GridCellHeight;
    if (mode == 3) {
        content.multiplier = uiText(25);
        content.multiplicand = uiText(26);
        content.divider = uiText(27);
        content.dividend = uiText(28);
    }
    SharedBitmap.setSize(Panel1ViewerWidth, Panel1ViewerHeight);
    {
        ui::Canvas canvas(SharedBitmap);
        game::paintGrid(canvas, content);
    }
    Panel1Viewer.setPicture(SharedBitmap);
}

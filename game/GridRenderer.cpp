#include "game/GridRenderer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "app/Colours.h"
#include "app/Form.h"
#include "ui/Errors.h"

namespace game {

namespace {

using namespace colours;

constexpr int kRowCount = 9;
constexpr int kColumnCount = 10;

constexpr double kCellFont = 40;
constexpr double kThreeDigitFont = 37;
constexpr double kOperandWordFont = 18;
constexpr double kBandFont = 24;
constexpr double kCornerRadius = 2;

constexpr int kAnswerTable = 1;
[[maybe_unused]] constexpr int kGameBoard = 2;
constexpr int kStatisticsTable = 3;
constexpr int kMultiplication = 2;
constexpr int kDivision = 3;

struct CellLook {
    QRgb fill;
    QRgb text;
};

CellLook markLook(const ui::Palette& palette, int mode, std::uint8_t mark) {
    if (mode == kStatisticsTable && mark <= 4) {
        return {palette.bands[mark], palette.bandText[mark]};
    }
    switch (mark) {
        case 2:
            return {palette.selectedCell, palette.selectedCellText};
        case 3:
            return {palette.foundCell, palette.foundCellText};
        case 4:
            return {palette.otherMarkCell, palette.selectedCellText};
        default:
            return {palette.cell, palette.cellText};
    }
}

// Pictures of cell backgrounds and cell texts, each drawn once per look and then copied into the
// grid wherever a cell lies on whole screen pixels, which gives the same pixels as drawing it
// there. Qt fills text larger than 64 screen pixels as outlines on every call, and the rounded
// cells as curves, which made the grid far too slow on dense screens.
class CellPictures {
  public:
    struct Picture {
        QImage image;
        QPointF offset;  // from the cell's corner, in design units
    };

    // A cell of one colour with its rounded corners on the background, opaque so that it copies
    // as fast as memory allows. Cells never overlap and lie on the cleared background.
    const Picture& background(QRgb colour, QRgb gaps, QSizeF cellSize, double ratio) {
        return get({QString(), 0, colour, gaps, cellSize.width(), cellSize.height(), ratio});
    }

    // A cell's text alone, cut to its ink.
    const Picture& text(const QString& text, double fontSize, QRgb colour, QSizeF cellSize,
                        double ratio) {
        return get({text, fontSize, colour, 0, cellSize.width(), cellSize.height(), ratio});
    }

  private:
    // Text, font size (0 for a background), colour, the gaps' colour around a background, cell
    // width and height, pixel ratio.
    using Key = std::tuple<QString, double, QRgb, QRgb, double, double, double>;

    const Picture& get(const Key& key) {
        auto found = pictures_.find(key);
        if (found == pictures_.end()) {
            found = pictures_.emplace(key, draw(key)).first;
        }
        return found->second;
    }

    static Picture draw(const Key& key) {
        const auto& [text, fontSize, colour, gaps, width, height, ratio] = key;
        const QRectF cell(0, 0, width, height);
        ui::Bitmap bitmap(ratio);
        bitmap.setSize(static_cast<int>(width), static_cast<int>(height));
        {
            ui::Canvas canvas(bitmap);
            canvas.setFillColor(colour);
            if (fontSize == 0) {
                canvas.clear(gaps);
                canvas.fillRoundRect(cell, kCornerRadius, kCornerRadius);
            } else {
                canvas.clear(0x00000000);
                canvas.setFont(fontSize);
                canvas.fillText(cell, text, true, 1, ui::Align::Center, ui::Align::Center);
            }
        }
        Picture picture;
        if (fontSize == 0) {
            picture.image = bitmap.image().convertToFormat(QImage::Format_RGB32);
            picture.image.setDevicePixelRatio(1);
            return picture;
        }
        const QRect ink = ui::inkBounds(bitmap.image());
        if (!ink.isEmpty()) {
            picture.image = bitmap.image().copy(ink);
            picture.image.setDevicePixelRatio(1);
            picture.offset = QPointF(ink.left() / ratio, ink.top() / ratio);
        }
        return picture;
    }

    std::map<Key, Picture> pictures_;
};

CellPictures& cellPictures() {
    static CellPictures pictures;
    return pictures;
}

void drawPicture(ui::Canvas& canvas, const QRectF& rect, const CellPictures::Picture& picture) {
    if (!picture.image.isNull()) {
        canvas.drawPixels(rect.topLeft() + picture.offset, picture.image);
    }
}

void fillCell(ui::Canvas& canvas, const QRectF& rect, QRgb colour) {
    const double ratio = canvas.devicePixelRatio();
    if (!canvas.paintsShapes() && ui::onWholePixels(rect, ratio)) {
        drawPicture(
            canvas, rect,
            cellPictures().background(colour, ui::palette().pictureBackground, rect.size(), ratio));
        return;
    }
    canvas.setFillColor(colour);
    canvas.fillRoundRect(rect, kCornerRadius, kCornerRadius);
}

void fillCellText(ui::Canvas& canvas, const QRectF& rect, const QString& text, QRgb colour) {
    const double ratio = canvas.devicePixelRatio();
    if (!canvas.paintsShapes() && ui::onWholePixels(rect, ratio)) {
        drawPicture(canvas, rect,
                    cellPictures().text(text, canvas.fontSize(), colour, rect.size(), ratio));
        return;
    }
    canvas.setFillColor(colour);
    canvas.fillText(rect, text, true, 1, ui::Align::Center, ui::Align::Center);
}

void setFontSize(ui::Canvas& canvas, double size) {
    if (canvas.fontSize() != size) {
        canvas.setFont(size);
    }
}

QRectF between(double left, double top, double right, double bottom) {
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// The statistics table's column of the operand, whose numbers are written in blue.
bool operandColumn(const GridContent& content, int c) {
    return content.mode == kStatisticsTable &&
           ((content.operation == kMultiplication && c == 1) ||
            (content.operation == kDivision && c == kColumnCount));
}

// A board cell the pupil selected gets a ring inside its edge where the look draws signs, so that
// it differs from a found cell by more than its colour.
void paintSelectedRing(ui::Canvas& canvas, const QRectF& rect, QRgb colour) {
    constexpr double kInset = 4;
    constexpr double kWidth = 3;
    const QRectF ring = rect.adjusted(kInset, kInset, -kInset, -kInset);
    canvas.setStrokeColor(colour);
    canvas.drawLine(ring.topLeft(), ring.topRight(), kWidth);
    canvas.drawLine(ring.bottomLeft(), ring.bottomRight(), kWidth);
    canvas.drawLine(ring.topLeft(), ring.bottomLeft(), kWidth);
    canvas.drawLine(ring.topRight(), ring.bottomRight(), kWidth);
}

void paintCell(ui::Canvas& canvas, const GridContent& content, int r, int c) {
    const ui::Palette& palette = ui::palette();
    const QRectF rect = gridCellRect(c, r, content.cellWidth, content.cellHeight);

    CellLook look{palette.cell, palette.cellText};
    bool ring = false;
    if (content.mode == kAnswerTable) {
        if (content.highlight && c == content.clickedColumn && r == content.clickedRow) {
            look = {palette.pressedCell, palette.pressedCellText};
        }
    } else {
        const BoardCell& cell = (*content.board)[r][c];
        setFontSize(canvas, cell.Value >= 100 ? kThreeDigitFont : kCellFont);
        if (content.markColours != nullptr && cell.Mark <= 4) {
            look = {content.markColours[cell.Mark], kBlack};
        } else {
            look = markLook(palette, content.mode, cell.Mark);
            ring = palette.signs && content.mode != kStatisticsTable && cell.Mark == 2;
        }
    }
    fillCell(canvas, rect, look.fill);
    if (content.mode == kStatisticsTable && content.markColours == nullptr) {
        paintBandSign(canvas, rect.topLeft(), (*content.board)[r][c].Mark);
    }
    if (ring) {
        paintSelectedRing(canvas, rect, look.text);
    }
    fillCellText(canvas, rect, gridCellText(content, c, r),
                 operandColumn(content, c) ? palette.operandText : look.text);
}

// Row 1 of the statistics table names the operands instead of holding cells.
void paintHeaderBand(ui::Canvas& canvas, const GridContent& content) {
    const int w = content.cellWidth;
    const int h = content.cellHeight;
    const double top = 3;
    const double bottom = h - 2;
    canvas.setFillColor(ui::palette().cell);
    canvas.fillRoundRect(between(3, top, 10 * w, bottom), kCornerRadius, kCornerRadius);
    canvas.setFillColor(ui::palette().operandText);
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

// The dim grey background. Where every cell is copied in whole (the cells lie on whole screen
// pixels and their pictures are opaque), only the gaps between them need it, which halves the
// pixels written on a dense screen.
void clearBackground(ui::Canvas& canvas, const GridContent& content) {
    const QRgb background = ui::palette().pictureBackground;
    const double ratio = canvas.devicePixelRatio();
    if (ratio != std::floor(ratio)) {
        canvas.clear(background);
        return;
    }
    const int w = content.cellWidth;
    const int h = content.cellHeight;
    const QSizeF size = canvas.size();
    for (int c = 1; c <= kColumnCount; ++c) {
        canvas.clearRect(between((c - 1) * w, 0, (c - 1) * w + 3, size.height()), background);
    }
    canvas.clearRect(between(kColumnCount * w, 0, size.width(), size.height()), background);
    for (int r = 1; r <= kRowCount; ++r) {
        canvas.clearRect(between(0, (r - 1) * h, size.width(), (r - 1) * h + 2), background);
        canvas.clearRect(between(0, r * h - 1, size.width(), r * h), background);
    }
    canvas.clearRect(between(0, kRowCount * h, size.width(), size.height()), background);
    if (content.mode == kStatisticsTable) {
        canvas.clearRect(between(0, 0, size.width(), h), background);
    }
}

}  // namespace

void paintBandSign(ui::Canvas& canvas, QPointF corner, std::uint8_t mark, double dot) {
    const ui::Palette& palette = ui::palette();
    if (!palette.signs || mark < 2 || mark > 4) {
        return;
    }
    const double margin = dot * 2 / 3;
    canvas.setFillColor(palette.bandText[mark]);
    for (int k = 0; k < mark - 1; ++k) {
        const QRectF box(corner + QPointF(margin + k * dot * 1.5, margin), QSizeF(dot, dot));
        canvas.fillRoundRect(box, dot / 2, dot / 2);
    }
}

QString gridCellText(const GridContent& content, int c, int r) {
    if (content.mode == kAnswerTable) {
        return QString::number((r - 1) * 10 + c);
    }
    if (content.mode == kStatisticsTable && r == 1) {
        return QString();
    }
    QString text = QString::number((*content.board)[r][c].Value);
    if (operandColumn(content, c)) {
        if (content.operation == kMultiplication) {
            text += QStringLiteral(" x");
        } else {
            text.prepend(QStringLiteral(": "));
        }
    }
    return text;
}

QRectF gridCellRect(int c, int r, int cellWidth, int cellHeight) {
    return between((c - 1) * cellWidth + 3, (r - 1) * cellHeight + 2, c * cellWidth,
                   r * cellHeight - 1);
}

void paintGrid(ui::Canvas& canvas, const GridContent& content) {
    if (content.mode < kAnswerTable || content.mode > kStatisticsTable) {
        throw ui::RangeError(QStringLiteral("Unknown grid mode %1").arg(content.mode));
    }
    if (content.mode != kAnswerTable && content.board == nullptr) {
        throw ui::RangeError(QStringLiteral("The grid in mode %1 needs a board").arg(content.mode));
    }
    clearBackground(canvas, content);
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

std::optional<QRectF> answerTableChange(const GridContent& before, const GridContent& after) {
    if (before.mode != kAnswerTable || after.mode != kAnswerTable || before.look != after.look ||
        before.cellWidth != after.cellWidth || before.cellHeight != after.cellHeight) {
        return std::nullopt;
    }
    const auto pressedCell = [](const GridContent& content) -> std::optional<QRectF> {
        if (!content.highlight || content.clickedColumn < 1 ||
            content.clickedColumn > kColumnCount || content.clickedRow < 1 ||
            content.clickedRow > kRowCount) {
            return std::nullopt;
        }
        // A unit around the cell for the edges that smoothing spreads.
        return gridCellRect(content.clickedColumn, content.clickedRow, content.cellWidth,
                            content.cellHeight)
            .adjusted(-1, -1, 1, 1);
    };
    const std::optional<QRectF> was = pressedCell(before);
    const std::optional<QRectF> is = pressedCell(after);
    if (was == is) {
        return QRectF();
    }
    return was.value_or(QRectF()) | is.value_or(QRectF());
}

DrawnGrid drawnGrid(const GridContent& content) {
    DrawnGrid drawn;
    drawn.content = content;
    if (content.board != nullptr) {
        drawn.board = *content.board;
    }
    return drawn;
}

std::optional<QRectF> gridChange(const DrawnGrid& before, const GridContent& after) {
    const GridContent& was = before.content;
    if (was.mode == kStatisticsTable && after.mode == kStatisticsTable) {
        // The pressed cell plays no part in the statistics table.
        if (after.board != nullptr && was.board != nullptr && before.board == *after.board &&
            was.look == after.look && was.operation == after.operation &&
            was.cellWidth == after.cellWidth && was.cellHeight == after.cellHeight &&
            was.markColours == after.markColours && was.multiplier == after.multiplier &&
            was.multiplicand == after.multiplicand && was.divider == after.divider &&
            was.dividend == after.dividend) {
            return QRectF();
        }
        return std::nullopt;
    }
    return answerTableChange(was, after);
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
    content.look = ui::currentLook();
    if (mode == 3) {
        content.multiplier = uiText(25);
        content.multiplicand = uiText(26);
        content.divider = uiText(27);
        content.dividend = uiText(28);
    }
    // Drawn in a picture of the grid's own: where it holds a table drawn before, only what differs
    // from it is drawn again (a press changes a cell or two), clipped, over the rest.
    Panel1Bitmap.setSizeKeepingContent(Panel1ViewerWidth, Panel1ViewerHeight);
    std::optional<QRectF> redraw;
    const auto held = std::find_if(DrawnGrids.begin(), DrawnGrids.end(), [&](const auto& drawn) {
        return drawn.first == Panel1Bitmap.contentKey();
    });
    if (held != DrawnGrids.end()) {
        redraw = game::gridChange(held->second, content);
    }
    if (!redraw) {
        // Drawn whole over whatever the picture held.
        Panel1Bitmap.setSize(Panel1ViewerWidth, Panel1ViewerHeight);
    }
    if (!redraw || !redraw->isEmpty()) {
        ui::Canvas canvas(Panel1Bitmap);
        if (redraw) {
            canvas.clipTo(*redraw);
        }
        game::paintGrid(canvas, content);
    }
    Panel1Bitmap.setContentKey(++LastGridKey);
    DrawnGrids.emplace_back(LastGridKey, game::drawnGrid(content));
    constexpr std::size_t kRemembered = 4;
    if (DrawnGrids.size() > kRemembered) {
        DrawnGrids.erase(DrawnGrids.begin());
    }

    // Told where the table changed, the window repaints a pressed cell without comparing the
    // whole picture, which is large on a large screen. The version says the viewer still shows
    // the grid drawn last, the one before this in DrawnGrids.
    std::optional<QRectF> changed;
    if (DrawnGrids.size() > 1 && ShownGridVersion == Panel1Viewer.pictureVersion()) {
        changed = game::gridChange(DrawnGrids[DrawnGrids.size() - 2].second, content);
    }
    if (changed) {
        Panel1Viewer.setPicture(Panel1Bitmap, *changed);
    } else {
        Panel1Viewer.setPicture(Panel1Bitmap);
    }
    ShownGridVersion = Panel1Viewer.pictureVersion();
}

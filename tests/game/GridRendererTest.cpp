#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "game/GridHitTest.h"
#include "game/GridRenderer.h"
#include "tests/support/FormFixture.h"
#include "ui/Look.h"

namespace {

constexpr QRgb kDimGrey = 0xFF696969;
constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kDeepSkyBlue = 0xFF00BFFF;
constexpr QRgb kGreen = 0xFF008000;
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kYellow = 0xFFFFFF00;
constexpr QRgb kRed = 0xFFFF0000;

class DrawGrid : public FormFixture {
  protected:
    DrawGrid() { start(); }

    // The picture the grid viewer shows, read in design units.
    ui::Bitmap picture() const {
        ui::Bitmap bitmap;
        bitmap.assign(form_->Panel1Viewer.picture());
        return bitmap;
    }

    // The fill of a cell, read near its top-left corner, away from its text and rounded corner.
    QRgb cellFill(const ui::Bitmap& bitmap, int r, int c) const {
        const int w = form_->GridCellWidth;
        const int h = form_->GridCellHeight;
        return bitmap.pixelAt((c - 1) * w + 3 + 4, (r - 1) * h + 2 + 4);
    }

    // How many pixels of a rectangle (in design units) pass a test.
    static int countPixels(const ui::Bitmap& bitmap, const QRect& area,
                           const std::function<bool(QRgb)>& test) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                count += test(bitmap.pixelAt(x, y)) ? 1 : 0;
            }
        }
        return count;
    }

    QRect cellArea(int r, int c) const {
        const int w = form_->GridCellWidth;
        const int h = form_->GridCellHeight;
        return QRect(QPoint((c - 1) * w + 3, (r - 1) * h + 2), QPoint(c * w - 1, r * h - 2));
    }

    static bool isBlueInk(QRgb p) { return qBlue(p) > 200 && qRed(p) < 90 && qGreen(p) < 90; }
    static bool isDarkInk(QRgb p) { return qRed(p) < 90 && qGreen(p) < 90 && qBlue(p) < 90; }

    void markEveryCell(std::uint8_t mark) {
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                form_->Board[r][c] = game::BoardCell{7, mark};
            }
        }
    }
};

TEST_F(DrawGrid, TheAnswerTableDrawsThePressedCellInTheBackgroundColourOnlyWithTheHighlight) {
    TForm3& f = form();
    // Stale marks of the game must not show in the answer table.
    markEveryCell(3);
    f.ClickedRow = 3;
    f.ClickedColumn = 5;
    for (std::uint8_t highlight : {0, 1}) {
        f.DrawGrid(1, highlight);
        const ui::Bitmap bitmap = picture();
        EXPECT_EQ(bitmap.width(), 783);
        EXPECT_EQ(bitmap.height(), 632);
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                const bool pressed = highlight == 1 && r == 3 && c == 5;
                EXPECT_EQ(cellFill(bitmap, r, c), pressed ? kDimGrey : kSilver)
                    << int(highlight) << " at " << r << "," << c;
            }
        }
        // The gaps between cells: 3 units on the left, 2 at the top, 1 at the bottom.
        EXPECT_EQ(bitmap.pixelAt(78 + 1, 35), kDimGrey);
        EXPECT_EQ(bitmap.pixelAt(100, 70 + 1), kDimGrey);
        EXPECT_EQ(bitmap.pixelAt(100, 70 - 1), kDimGrey);
        EXPECT_EQ(bitmap.pixelAt(100, 70 - 2), kSilver);
        EXPECT_GT(countPixels(bitmap, cellArea(3, 5), isDarkInk), 50) << "the number is drawn";
    }
}

TEST_F(DrawGrid, MarksTakeTheirColoursOnTheGameBoardAndInTheStatisticsTable) {
    const QRgb gameColour[] = {kSilver, kSilver, kDeepSkyBlue, kWhite, kRed, kSilver};
    const QRgb statisticsColour[] = {kSilver, kDeepSkyBlue, kGreen, kYellow, kRed, kSilver};
    TForm3& f = form();
    for (int mark = 0; mark <= 5; ++mark) {
        f.Board[4][mark + 2] = game::BoardCell{12, static_cast<std::uint8_t>(mark)};
    }
    f.DrawGrid(2, 0);
    const ui::Bitmap game = picture();
    f.DrawGrid(3, 0);
    const ui::Bitmap statistics = picture();
    for (int mark = 0; mark <= 5; ++mark) {
        EXPECT_EQ(cellFill(game, 4, mark + 2), gameColour[mark]) << "game, mark " << mark;
        EXPECT_EQ(cellFill(statistics, 4, mark + 2), statisticsColour[mark])
            << "statistics, mark " << mark;
    }
}

TEST_F(DrawGrid, TheStatisticsTableWritesTheOperandColumnInBlue) {
    TForm3& f = form();
    markEveryCell(0);
    for (int operation : {2, 3}) {
        f.Operation = operation;
        f.DrawGrid(3, 0);
        const ui::Bitmap bitmap = picture();
        const int operandColumn = operation == 2 ? 1 : 10;
        for (int r = 2; r <= 9; ++r) {
            for (int c : {1, 5, 10}) {
                const int blue = countPixels(bitmap, cellArea(r, c), isBlueInk);
                const int dark = countPixels(bitmap, cellArea(r, c), isDarkInk);
                if (c == operandColumn) {
                    EXPECT_GT(blue, 50) << operation << " at " << r << "," << c;
                    EXPECT_EQ(dark, 0) << operation << " at " << r << "," << c;
                } else {
                    EXPECT_EQ(blue, 0) << operation << " at " << r << "," << c;
                    EXPECT_GT(dark, 50) << operation << " at " << r << "," << c;
                }
            }
        }
    }
}

// A switch away from the statistics and back hands the viewer the statistics picture it showed,
// not drawn again, while the board is as it was; anything that changes the table draws it again.
TEST_F(DrawGrid, TheStatisticsTableShownAgainIsThePictureDrawnBeforeUnlessItsTableChanged) {
    TForm3& f = form();
    markEveryCell(1);
    struct Case {
        const char* what;
        std::function<void()> change;
        bool drawnAgain;
    };
    const Case cases[] = {
        {"nothing", [] {}, false},
        {"a mark", [&f] { f.Board[3][4].Mark = 3; }, true},
        {"a number", [&f] { f.Board[9][10].Value = 100; }, true},
        {"the operation", [&f] { f.Operation = 3; }, true},
        {"the look", [] { ui::setCurrentLook(ui::Look::HighContrast); }, true},
        {"back to the default look", [] { ui::setCurrentLook(ui::Look::Default); }, true},
        {"nothing again", [] {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        f.DrawGrid(3, 0);
        const qint64 shown = f.Panel1Viewer.picture().cacheKey();
        f.DrawGrid(1, 0);
        c.change();
        f.DrawGrid(3, 0);
        EXPECT_EQ(f.Panel1Viewer.picture().cacheKey() != shown, c.drawnAgain);
        ui::Bitmap whole(f.Panel1Bitmap.devicePixelRatio());
        whole.setSize(f.Panel1ViewerWidth, f.Panel1ViewerHeight);
        {
            ui::Canvas canvas(whole);
            game::paintGrid(canvas, f.DrawnGrids.back().second.content);
        }
        EXPECT_TRUE(whole.image() == f.Panel1Viewer.picture());
    }
}

TEST_F(DrawGrid, TheStatisticsTableDrawsRowOneAsABandOfOperandWords) {
    TForm3& f = form();
    markEveryCell(4);
    for (int operation : {2, 3}) {
        f.Operation = operation;
        f.DrawGrid(3, 0);
        const ui::Bitmap bitmap = picture();
        // No gap between the cells of row 1, and none of the board's red.
        EXPECT_EQ(bitmap.pixelAt(78 + 1, 10), kSilver);
        EXPECT_EQ(bitmap.pixelAt(5 * 78 + 1, 10), kSilver);
        EXPECT_EQ(bitmap.pixelAt(78 + 1, 70 + 10), kDimGrey) << "row 2 has cells";
        // The small word stands at the band's left end for multiplication (the multiplicand)
        // and at its right end for division (the divider); the large word is centred.
        const int left = countPixels(bitmap, QRect(3, 3, 60, 60), isBlueInk);
        const int right = countPixels(bitmap, QRect(9 * 78 + 10, 3, 68, 60), isBlueInk);
        const int middle = countPixels(bitmap, QRect(4 * 78, 3, 2 * 78, 60), isBlueInk);
        EXPECT_GT(middle, 50) << operation;
        EXPECT_GT(operation == 2 ? left : right, 20) << operation;
        EXPECT_EQ(operation == 2 ? right : left, 0) << operation;
    }
}

TEST_F(DrawGrid, AHundredIsDrawnSmallerSoThatItFitsItsCell) {
    TForm3& f = form();
    markEveryCell(0);
    f.Board[5][5].Value = 100;
    f.DrawGrid(2, 0);
    const ui::Bitmap bitmap = picture();
    const QRect cell = cellArea(5, 5);
    int inkLeft = cell.right();
    int inkRight = cell.left();
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            if (isDarkInk(bitmap.pixelAt(x, y))) {
                inkLeft = std::min(inkLeft, x);
                inkRight = std::max(inkRight, x);
            }
        }
    }
    // At size 40 the three digits would fill the whole 75 units of the cell and be cut.
    EXPECT_GT(inkRight - inkLeft, 55);
    EXPECT_GT(inkLeft, cell.left() + 2);
    EXPECT_LT(inkRight, cell.right() - 2);
}

// The grid copies in cell pictures drawn once where cells lie on whole screen pixels; that must
// give the pixels of drawing each cell in place, as on a screen of any density.
TEST_F(DrawGrid, ADenseScreenGetsThePixelsOfDrawingEachCellInPlace) {
    for (double ratio : {1.0, 3.0}) {
        TForm3 dense(dataFolder(), clock, random, reporter, ratio);
        dense.FormCreate();
        dense.ClickedRow = 2;
        dense.ClickedColumn = 7;
        dense.DrawGrid(1, 1);
        const QImage& drawn = dense.Panel1Viewer.picture();

        ui::Bitmap expected(ratio);
        expected.setSize(783, 632);
        {
            ui::Canvas canvas(expected);
            canvas.clear(kDimGrey);
            canvas.setFont(40);
            for (int r = 1; r <= 9; ++r) {
                for (int c = 1; c <= 10; ++c) {
                    const QRectF rect(QPointF((c - 1) * 78 + 3, (r - 1) * 70 + 2),
                                      QPointF(c * 78, r * 70 - 1));
                    canvas.setFillColor(r == 2 && c == 7 ? kDimGrey : kSilver);
                    canvas.fillRoundRect(rect, 2, 2);
                    canvas.setFillColor(0xFF000000);
                    canvas.fillText(rect, QString::number((r - 1) * 10 + c), true, 1,
                                    ui::Align::Center, ui::Align::Center);
                }
            }
        }
        ASSERT_EQ(drawn.size(), expected.image().size()) << ratio;
        int differing = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb a = drawn.pixel(x, y);
                const QRgb b = expected.image().pixel(x, y);
                const int difference =
                    std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
                differing += difference > 0 ? 1 : 0;
            }
        }
        EXPECT_EQ(differing, 0) << ratio;
    }
}

TEST_F(DrawGrid, AnUnknownModeIsAnError) {
    EXPECT_THROW(form().DrawGrid(4, 0), ui::RangeError);
    EXPECT_THROW(form().DrawGrid(0, 0), ui::RangeError);
}

// The pixels in which two pictures differ, in design units (a pixel's unit rectangle).
QRectF differingUnits(const QImage& before, const QImage& after) {
    QRect pixels;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                pixels |= QRect(x, y, 1, 1);
            }
        }
    }
    const double ratio = after.devicePixelRatio();
    return QRectF(pixels.x() / ratio, pixels.y() / ratio, pixels.width() / ratio,
                  pixels.height() / ratio);
}

// The answer table tells the window where a press changed it, so that the window repaints a cell
// without comparing the whole picture: every pixel that differs must lie there, at every ratio.
class AnswerTableChange : public FormFixture, public ::testing::WithParamInterface<double> {
  protected:
    AnswerTableChange() {
        form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter, GetParam());
        start();
    }
};

TEST_P(AnswerTableChange, HoldsEveryPixelThatDiffers) {
    TForm3& f = form();
    struct Step {
        std::uint8_t highlight;
        int column;
        int row;
    };
    // Pressed, the same cell again, released, the far corner, a press with no cell under it.
    const Step steps[] = {{1, 5, 3},  {1, 5, 3}, {0, 5, 3}, {1, 10, 9},
                          {0, 10, 9}, {1, 1, 1}, {1, 0, 0}};
    f.DrawGrid(1, 0);
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message()
                     << int(step.highlight) << " " << step.column << "," << step.row);
        const QImage before = f.Panel1Viewer.picture().copy();
        const unsigned version = f.Panel1Viewer.pictureVersion();
        f.ClickedColumn = step.column;
        f.ClickedRow = step.row;
        f.DrawGrid(1, step.highlight);

        const std::optional<QRectF> told = f.Panel1Viewer.changedSince(version);
        ASSERT_TRUE(told.has_value());
        const QRectF differing = differingUnits(before, f.Panel1Viewer.picture());
        if (!differing.isEmpty()) {
            EXPECT_TRUE(told->contains(differing))
                << "told " << told->x() << "," << told->y() << " " << told->width() << "x"
                << told->height() << ", differing " << differing.x() << "," << differing.y() << " "
                << differing.width() << "x" << differing.height();
        }
        // One cell at most, far less than the whole table, which a comparison would read.
        EXPECT_LT(told->width() * told->height(), 80 * 72.0);

        // From the third table on, each is drawn only in part, over the picture of the table two
        // steps before: it must be the table drawn whole.
        ui::Bitmap whole(GetParam());
        whole.setSize(f.Panel1ViewerWidth, f.Panel1ViewerHeight);
        {
            ui::Canvas canvas(whole);
            game::paintGrid(canvas, f.DrawnGrids.back().second.content);
        }
        EXPECT_TRUE(whole.image() == f.Panel1Viewer.picture());
    }

    // Once another picture has been shown there, the next table is compared as a whole.
    const unsigned beforeBoard = f.Panel1Viewer.pictureVersion();
    f.DrawGrid(2, 0);
    EXPECT_FALSE(f.Panel1Viewer.changedSince(beforeBoard).has_value());
    const unsigned beforeTable = f.Panel1Viewer.pictureVersion();
    f.DrawGrid(1, 0);
    EXPECT_FALSE(f.Panel1Viewer.changedSince(beforeTable).has_value());
}

INSTANTIATE_TEST_SUITE_P(Ratios, AnswerTableChange, ::testing::Values(1.0, 1.4856, 3.0));

// A press on any pixel painted for a cell selects that cell, in the answer table and on the game
// board, at the pixel ratios of common screens. The pixels looked at are the first and last whole
// pixels of the cell's fill along a pixel row and a pixel column near its top-left corner, clear
// of its number.
class GridPress : public FormFixture, public ::testing::WithParamInterface<double> {
  protected:
    GridPress() {
        form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter, GetParam());
        start();
    }

    // The first and last pixel of a line of pixels that holds exactly the colour.
    static std::pair<int, int> extent(const QImage& picture, QPoint from, QPoint step, int count,
                                      QRgb colour) {
        int first = -1;
        int last = -1;
        for (int i = 0; i < count; ++i) {
            const QPoint at = from + step * i;
            if (picture.rect().contains(at) && picture.pixel(at) == colour) {
                first = first < 0 ? i : first;
                last = i;
            }
        }
        return {first, last};
    }
};

TEST_P(GridPress, EveryPixelPaintedForACellSelectsThatCell) {
    TForm3& f = form();
    const double ratio = GetParam();
    const double scale = f.Panel1Viewer.bitmapScale();
    for (std::uint8_t mode : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "mode " << int(mode));
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                f.Board[r][c] = {5, 0};
            }
        }
        f.DrawGrid(mode, 0);
        const QImage picture = f.Panel1Viewer.picture();
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 10; ++c) {
                SCOPED_TRACE(testing::Message() << "column " << c << ", row " << r);
                const QRectF cell = game::gridCellRect(c, r, f.GridCellWidth, f.GridCellHeight);
                const int left = static_cast<int>(cell.left() * ratio) - 2;
                const int top = static_cast<int>(cell.top() * ratio) - 2;
                const int lineY = static_cast<int>((cell.top() + 4) * ratio);
                const int lineX = static_cast<int>((cell.left() + 4) * ratio);
                const int across = static_cast<int>(cell.width() * ratio) + 5;
                const int down = static_cast<int>(cell.height() * ratio) + 5;
                const auto [firstX, lastX] =
                    extent(picture, {left, lineY}, {1, 0}, across, kSilver);
                const auto [firstY, lastY] = extent(picture, {lineX, top}, {0, 1}, down, kSilver);
                ASSERT_GE(firstX, 0);
                ASSERT_GE(firstY, 0);
                // A pixel's middle, in the viewer's units.
                const auto shown = [&](int pixel) { return (pixel + 0.5) / ratio * scale; };
                for (int x : {left + firstX, left + lastX}) {
                    EXPECT_EQ(game::gridColumnAt(shown(x), f.GridCellWidth, scale), c) << x;
                }
                for (int y : {top + firstY, top + lastY}) {
                    EXPECT_EQ(game::gridRowAt(shown(y), f.GridCellHeight, scale), r) << y;
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ratios, GridPress, ::testing::Values(1.0, 1.4856, 3.0));

}  // namespace

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "game/GameCharts.h"
#include "tests/support/Contrast.h"
#include "tests/support/FormFixture.h"
#include "ui/Bitmap.h"
#include "ui/Look.h"

namespace {

using testsupport::contrast;

// What a rectangle of a picture shows: its commonest colours (the background, or the two of a
// dithered one) and the pixel that stands out most from the commonest (a text's or mark's core).
struct Sample {
    std::vector<QRgb> backgrounds;
    QRgb foreground = 0;
    std::map<QRgb, int> counts;
};

Sample sample(const QImage& image, QRect rect, int backgrounds = 1) {
    Sample s;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            ++s.counts[image.pixel(x, y) | 0xFF000000];
        }
    }
    std::vector<std::pair<int, QRgb>> byCount;
    for (const auto& [colour, count] : s.counts) {
        byCount.emplace_back(count, colour);
    }
    std::sort(byCount.rbegin(), byCount.rend());
    for (int i = 0; i < backgrounds && i < static_cast<int>(byCount.size()); ++i) {
        s.backgrounds.push_back(byCount[static_cast<std::size_t>(i)].second);
    }
    double best = 0;
    for (const auto& [colour, count] : s.counts) {
        if (contrast(colour, s.backgrounds.front()) > best) {
            best = contrast(colour, s.backgrounds.front());
            s.foreground = colour;
        }
    }
    return s;
}

// One element of a screen: how to bring it up, where it lies in which picture, the colours the
// design gives it and the contrast the high-contrast look owes it (4.5 for text, 3 for marks).
struct Element {
    const char* what;
    std::function<QImage(TForm3&)> show;
    QRect rect;
    QRgb designForeground;
    QRgb designBackground;
    double needed;
    int backgrounds = 1;
};

QImage column(TForm3& f) {
    f.RecentAnswers[2] = {{2, 3, 7, true}};
    f.Progress.MarkHistory[2][1][1] = 2;  // a 2 (a red bar) for number 1's row
    f.Progress.MarkHistoryLength[2][1] = 1;
    f.Progress.MarkHistory[2][2][1] = 4;
    f.Progress.MarkHistoryLength[2][2] = 1;
    f.DrawExerciseColumn(2, 0, 1, 1);
    return f.Panel3Viewer.picture();
}

QImage board(TForm3& f, int mode) {
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            f.Board[r][c] = game::BoardCell{static_cast<std::uint8_t>(10 * r + c), 0};
        }
    }
    // Marks 1 to 4 in cells (2..5, 2) of row 2; cell (6, 2) stays free.
    for (std::uint8_t mark = 1; mark <= 4; ++mark) {
        f.Board[2][mark + 1].Mark = mark;
    }
    f.DrawGrid(static_cast<std::uint8_t>(mode), 0);
    return f.Panel1Viewer.picture();
}

QImage totals(TForm3&) {
    ui::Bitmap bitmap(1);
    bitmap.setSize(113, 450);
    {
        ui::Canvas canvas(bitmap);
        game::paintTotalsChart(canvas, 113, 450, 4000, 3000, QStringLiteral("Points"));
    }
    return bitmap.image();
}

QImage help(TForm3& f, int page) {
    f.DrawHelpScreen(page);
    return f.Panel1Viewer.picture();
}

// A cell of the grid without its number: its bottom left corner.
QRect cellCorner(int c, int r) {
    return QRect((c - 1) * 78 + 5, r * 70 - 10, 8, 6);
}

const std::vector<Element>& elements() {
    static const std::vector<Element> list = {
        {"an answer in the column", column, QRect(136, 5, 110, 35), 0xFFFFFFFF, 0xFF696969, 4.5},
        {"the cross of a wrong answer", column, QRect(256, 5, 22, 35), 0xFFFF0000, 0xFF696969, 3},
        {"a bar of mark 2", column, QRect(6, 4, 40, 38), 0xFFFF0000, 0xFF696969, 3},
        {"a bar of mark 4", column, QRect(6, 54, 40, 38), 0xFF7FFF00, 0xFF696969, 3},
        {"a free cell's number", [](TForm3& f) { return board(f, 2); }, QRect(472, 142, 70, 65),
         0xFF000000, 0xFFC0C0C0, 4.5},
        {"a selected cell's number", [](TForm3& f) { return board(f, 2); }, QRect(159, 73, 74, 66),
         0xFF000000, 0xFF00BFFF, 4.5},
        {"a found cell's number", [](TForm3& f) { return board(f, 2); }, QRect(237, 73, 74, 66),
         0xFF000000, 0xFFFFFFFF, 4.5},
        {"a statistics cell under 5 %", [](TForm3& f) { return board(f, 3); },
         QRect(81, 73, 74, 66), 0xFF000000, 0xFF00BFFF, 4.5},
        {"a statistics cell over 21 %", [](TForm3& f) { return board(f, 3); },
         QRect(315, 73, 74, 66), 0xFF000000, 0xFFFF0000, 4.5},
        {"the totals chart's lead", totals, QRect(45, 417, 66, 30), 0xFFFF6347, 0xFF696969, 4.5},
        {"the programme's bar", totals, QRect(5, 300, 30, 100), 0xFFFF6347, 0xFF696969, 3},
        {"the instructions' text", [](TForm3& f) { return help(f, 1); }, QRect(20, 20, 740, 300),
         0xFFFFFFFF, 0xFF1E90FF, 4.5, 2},
        {"the title page's headings", [](TForm3& f) { return help(f, 0); },
         QRect(180, 180, 460, 40), 0xFF0000FF, 0xFF1E90FF, 4.5, 2},
    };
    return list;
}

class LookPicturesTest : public FormFixture {
  protected:
    ~LookPicturesTest() override { ui::setCurrentLook(ui::Look::Default); }
};

TEST_F(LookPicturesTest, TheDefaultLookPaintsTheDesignsColours) {
    TForm3& f = start();
    for (const Element& e : elements()) {
        const Sample s = sample(e.show(f), e.rect, e.backgrounds);
        EXPECT_NE(std::find(s.backgrounds.begin(), s.backgrounds.end(), e.designBackground),
                  s.backgrounds.end())
            << e.what;
        EXPECT_TRUE(s.counts.contains(e.designForeground)) << e.what;
    }
}

TEST_F(LookPicturesTest, TheHighContrastLookReachesItsContrastEverywhere) {
    TForm3& f = start();
    ui::setCurrentLook(ui::Look::HighContrast);
    for (const Element& e : elements()) {
        const Sample s = sample(e.show(f), e.rect, e.backgrounds);
        for (QRgb background : s.backgrounds) {
            EXPECT_GE(contrast(s.foreground, background), e.needed)
                << e.what << ": " << std::hex << s.foreground << " on " << background;
        }
    }
    // Marks against what surrounds them: the board's selected and found cells among free
    // cells; the statistics table's cells, whose bands differ by their dots too, on the gaps.
    const QImage game = board(f, 2);
    for (int c : {3, 4}) {
        EXPECT_GE(contrast(game.pixel(cellCorner(c, 2).topLeft()),
                           game.pixel(cellCorner(6, 2).topLeft())),
                  3)
            << "board cell " << c;
    }
    const QImage statistics = board(f, 3);
    for (int c = 2; c <= 6; ++c) {
        EXPECT_GE(contrast(statistics.pixel(cellCorner(c, 2).topLeft()), statistics.pixel(1, 75)),
                  3)
            << "statistics cell " << c;
    }
}

// Selected and found board cells differ by more than colour: a selected one has a ring.
TEST_F(LookPicturesTest, ASelectedCellHasARingInHighContrast) {
    TForm3& f = start();
    ui::setCurrentLook(ui::Look::HighContrast);
    const QImage picture = board(f, 2);
    const ui::Palette& hc = ui::palette();
    // Just inside the edge of cell (3, 2), which is selected, and of cell (4, 2), which is found.
    EXPECT_EQ(picture.pixel(2 * 78 + 3 + 15, 70 + 2 + 4), hc.selectedCellText);
    EXPECT_EQ(picture.pixel(3 * 78 + 3 + 15, 70 + 2 + 4), hc.foundCell);
}

}  // namespace

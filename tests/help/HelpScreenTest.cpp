#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "help/HelpTexts.h"
#include "tests/support/FormFixture.h"

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kSilver = 0xFFC0C0C0;

using PixelSet = std::set<std::pair<int, int>>;

class HelpScreen : public FormFixture {
  protected:
    HelpScreen() { start(); }

    ui::Bitmap shown() const {
        ui::Bitmap bitmap;
        bitmap.assign(form_->Panel1Viewer.picture());
        return bitmap;
    }

    // The pure white pixels inside the frame: the fully covered pixels of the texts and the
    // white cells, which do not depend on the random dots beneath them.
    static PixelSet whitePixels(const ui::Bitmap& bitmap) {
        const QImage& image = bitmap.image();
        const double ratio = image.devicePixelRatio();
        PixelSet white;
        for (int y = qCeil(2 * ratio); y < (bitmap.height() - 1) * ratio - 1; ++y) {
            for (int x = qCeil(2 * ratio); x < (bitmap.width() - 1) * ratio - 1; ++x) {
                if (image.pixel(x, y) == kWhite) {
                    white.insert({x, y});
                }
            }
        }
        return white;
    }

    // The texts of a page drawn afresh in the current language.
    PixelSet pageTexts(int page) {
        form_->DrawHelpScreen(page);
        return whitePixels(shown());
    }

    // Pure white pixels within a rectangle of design units.
    static int whiteIn(const ui::Bitmap& bitmap, const QRectF& area) {
        int count = 0;
        for (int y = qCeil(area.top()); y < area.bottom(); ++y) {
            for (int x = qCeil(area.left()); x < area.right(); ++x) {
                count += bitmap.pixelAt(x, y) == kWhite ? 1 : 0;
            }
        }
        return count;
    }
};

TEST_F(HelpScreen, StartUpShowsTheTitlePageAndTheHelpButtonTheInstructions) {
    TForm3& f = form();
    const PixelSet atStart = whitePixels(shown());
    EXPECT_FALSE(atStart.empty());
    EXPECT_EQ(atStart, pageTexts(0));
    ASSERT_NE(atStart, pageTexts(1));
    ASSERT_NE(atStart, pageTexts(2));

    f.DrawHelpScreen(0);
    f.Button18Click();
    EXPECT_FALSE(f.Button18.visible());
    const PixelSet instructions = whitePixels(shown());
    EXPECT_EQ(instructions, pageTexts(1));
}

TEST_F(HelpScreen, AChangeOfLanguageRedrawsTheTitlePageOrOnceTheHelpButtonIsGoneTheInstructions) {
    TForm3& f = form();
    struct Step {
        bool pressHelp;
        int item;
        int page;
    };
    for (const Step& step : {Step{false, 1, 0}, Step{true, 0, 1}, Step{true, 2, 1}}) {
        if (step.pressHelp && f.Button18.visible()) {
            f.Button18Click();
        }
        const PixelSet before = whitePixels(shown());
        f.ComboBox1.setItemIndex(step.item);
        const PixelSet after = whitePixels(shown());
        EXPECT_NE(after, before) << "item " << step.item;
        EXPECT_EQ(after, pageTexts(step.page)) << "item " << step.item;
    }
}

TEST_F(HelpScreen, EveryHelpLineLiesInItsSlotsAndBlankEntriesLeaveTheirSlotEmpty) {
    TForm3& f = form();
    const double lineH = f.GridCellWidth / 2.3;
    for (int row : {1, 2}) {
        f.ComboBox1.setItemIndex(row - 1);
        for (int page : {1, 2}) {
            f.DrawHelpScreen(page);
            const ui::Bitmap bitmap = shown();
            // Where the page measures its lines, a fresh canvas measures them too.
            ui::Bitmap scratch;
            scratch.setSize(1, 1);
            ui::Canvas measure(scratch);
            // The slots that end above the example below the rules, or above the panel's edge.
            const double slotsFrom = page == 1 ? lineH + 20 : 10;
            const double limit = page == 1 ? f.Panel1ViewerHeight - 1 : 442;
            const auto lines =
                help::layoutHelpBlock(help::helpBlock(page, row), f.Panel1ViewerWidth - 30,
                                      static_cast<int>((limit - slotsFrom) / lineH),
                                      [&](const QString& text, double size) {
                                          measure.setFont(size);
                                          return measure.textWidth(text);
                                      });
            const double top = page == 1 ? 20 : 10 - lineH;
            for (const help::HelpLine& line : lines) {
                const double from = top + line.firstSlot * lineH;
                const double to = from + line.slotCount * lineH;
                // Away from the title word of the instructions and the example below the
                // rules, which may overlap the first and last slots.
                const double clearFrom = std::max(from, page == 1 ? 70.0 : 2.0);
                const QRectF area(20, clearFrom, f.Panel1ViewerWidth - 22,
                                  std::min(to, 442.0) - clearFrom);
                if (area.height() < lineH / 2) {
                    continue;
                }
                const bool blank = QString::fromUtf8(help::HelpText[line.entry]).isEmpty();
                EXPECT_EQ(whiteIn(bitmap, area) == 0, blank)
                    << "page " << page << ", entry " << line.entry;
            }
            const double end = top + (lines.back().firstSlot + lines.back().slotCount) * lineH;
            EXPECT_EQ(whiteIn(bitmap, QRectF(2, end, 120, 442 - end)), 0)
                << "nothing below the last line, page " << page;
            EXPECT_EQ(whiteIn(bitmap, QRectF(2, 70, 17, 360)), 0)
                << "nothing left of x = 20, page " << page;
            EXPECT_GT(whiteIn(bitmap, QRectF(20, 70, 6, 360)), 0)
                << "the lines begin at x = 20, page " << page;
        }
    }
}

TEST_F(HelpScreen, TheGameRulesWriteTheirExampleIntoTheBoardAndShowItFoundTriplesInWhite) {
    TForm3& f = form();
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            f.Board[r][c] = game::BoardCell{77, 2};
        }
    }
    f.Button15.setTag(1);
    f.Button16Click();

    const int values[3][10] = {{10, 25, 30, 5, 6, 4, 32, 72, 11, 55},
                               {10, 5, 12, 1, 7, 9, 2, 1, 8, 29},
                               {100, 43, 42, 8, 3, 9, 27, 14, 27, 9}};
    const std::set<std::pair<int, int>> found = {{4, 1}, {5, 1}, {6, 1}, {4, 3}, {4, 4}, {4, 5},
                                                 {6, 5}, {6, 6}, {6, 7}, {4, 8}, {5, 9}, {6, 10}};
    const ui::Bitmap bitmap = shown();
    const double s2 = f.GridCellWidth / 1.5;
    for (int r = 1; r <= 9; ++r) {
        for (int c = 1; c <= 10; ++c) {
            const game::BoardCell cell = f.Board[r][c];
            if (r < 4 || r > 6) {
                EXPECT_EQ(cell, (game::BoardCell{77, 2})) << "row " << r << " is left alone";
                continue;
            }
            const bool isFound = found.count({r, c}) == 1;
            EXPECT_EQ(cell, (game::BoardCell{static_cast<std::uint8_t>(values[r - 4][c - 1]),
                                             static_cast<std::uint8_t>(isFound ? 3 : 0)}))
                << r << "," << c;
            const double left = (c - 1) * s2 + 127;
            const double top = (r - 4) * s2 + 442;
            EXPECT_EQ(bitmap.pixelAt(left + 3, top + 3), isFound ? kWhite : kSilver)
                << r << "," << c;
            EXPECT_NE(bitmap.pixelAt(left - 2, top + 3), isFound ? kWhite : kSilver)
                << "the gap before " << r << "," << c;
            int ink = 0;
            for (double y = top + 2; y < top + s2 - 6; ++y) {
                for (double x = left + 2; x < left + s2 - 6; ++x) {
                    ink += qRed(bitmap.pixelAt(x, y)) < 90 ? 1 : 0;
                }
            }
            EXPECT_GT(ink, 20) << "the number of " << r << "," << c << " in black";
        }
    }
}

TEST_F(HelpScreen, AnUnknownPageIsReportedAndLeavesThePictureAsItWas) {
    TForm3& f = form();
    const unsigned version = f.Panel1Viewer.pictureVersion();
    EXPECT_FALSE(f.dispatch([&] { f.DrawHelpScreen(3); }));
    EXPECT_EQ(reporter.messages.size(), 1);
    EXPECT_EQ(f.Panel1Viewer.pictureVersion(), version);
}

}  // namespace

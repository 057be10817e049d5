#include "help/HelpScreen.h"

#include <bit>
#include <cmath>

#include "app/Form.h"
#include "help/HelpBackground.h"
#include "help/HelpTexts.h"
#include "help/RulesExample.h"
#include "ui/Look.h"

namespace help {

namespace {

constexpr double kTitleWordFont = 50;
constexpr double kTitleLineFont = 40;
constexpr double kTableFont = 30;
constexpr double kTableLeft = 130;

QRectF between(double left, double top, double right, double bottom) {
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

// A text box with its edges on the nearest whole units. Text centred in it moves by half a unit
// at most, and on a dense screen its large glyphs are then copied from a picture drawn once
// instead of being filled as outlines on every page.
QRectF onWholeUnits(double left, double top, double right, double bottom) {
    return between(std::round(left), std::round(top), std::round(right), std::round(bottom));
}

void paintTitleWord(ui::Canvas& canvas, int width) {
    canvas.setFont(kTitleWordFont);
    canvas.setFillColor(ui::palette().helpText);
    canvas.fillText(between(20, 0, width - 20, 70), kTitleWord, true, 1, ui::Align::Center,
                    ui::Align::Center);
}

// The multiplication table of the title page: the column numbers along row 1 and the row numbers
// down column 0 in blue, the products in white, no cell backgrounds.
void paintMultiplicationTable(ui::Canvas& canvas, int cellWidth) {
    const double s = cellWidth / 1.7;
    canvas.setFont(kTableFont);
    for (int row = 1; row <= 9; ++row) {
        for (int column = 0; column <= 10; ++column) {
            if (row == 1 && column == 0) {
                continue;
            }
            const bool heading = row == 1 || column == 0;
            const int number = row == 1 ? column : column == 0 ? row : row * column;
            const double left = kTableLeft + column * s;
            const double top = kTableLeft + row * s;
            canvas.setFillColor(heading ? ui::palette().helpHeading : ui::palette().helpText);
            canvas.fillText(onWholeUnits(left + 1, top + 1, left + s - 1, top + s - 1),
                            QString::number(number), true, 1, ui::Align::Center, ui::Align::Center);
        }
    }
}

void paintTitlePage(ui::Canvas& canvas, const HelpPage& page) {
    paintTitleWord(canvas, page.width);
    canvas.setFont(kTitleLineFont);
    canvas.setFillColor(ui::palette().helpText);
    canvas.fillText(between(20, 70, page.width - 20, 170), page.titleLine, true, 1,
                    ui::Align::Center, ui::Align::Trailing);
    paintMultiplicationTable(canvas, page.cellWidth);
}

void paintHelpText(ui::Canvas& canvas, const HelpPage& page) {
    const TextMeasure measure = [&canvas](const QString& text, double fontSize) {
        canvas.setFont(fontSize);
        return canvas.textWidth(text);
    };
    canvas.setFillColor(ui::palette().helpText);
    for (const HelpTextBox& text : helpTextBoxes(page, measure)) {
        paintHelpTextBox(canvas, text);
    }
}

}  // namespace

// One or two slots of lineH per entry. The rules, which have no title word and an example below,
// start one slot and 10 units higher.
std::vector<HelpTextBox> helpTextBoxes(const HelpPage& page, const TextMeasure& measure) {
    const double lineH = page.cellWidth / 2.3;
    const double shift = page.page == kRulesPage ? lineH + 10 : 0;
    auto slotTop = [&](int slot) { return slot * lineH + 20 - shift; };
    const int slotsWithRoom =
        static_cast<int>(std::floor((helpTextLimit(page) - slotTop(1)) / lineH));
    const int block = helpBlock(page.page, page.languageRow);
    std::vector<HelpTextBox> boxes;
    for (const HelpLine& line : layoutHelpBlock(block, page.width - 30, slotsWithRoom, measure)) {
        const QString text = QString::fromUtf8(HelpText[line.entry]);
        if (!text.isEmpty()) {
            boxes.push_back({text, line.fontSize,
                             onWholeUnits(20, slotTop(line.firstSlot), page.width,
                                          slotTop(line.firstSlot + line.slotCount))});
        }
    }
    return boxes;
}

void paintHelpTextBox(ui::Canvas& canvas, const HelpTextBox& text) {
    canvas.setFont(text.fontSize);
    canvas.fillText(text.box, text.text, true, 1, ui::Align::Leading, ui::Align::Center);
}

QStringList helpPageLines(const HelpPage& page) {
    QStringList lines;
    if (page.page != kRulesPage) {
        lines.append(kTitleWord);
    }
    if (page.page == kTitlePage) {
        lines.append(page.titleLine.simplified());
        return lines;
    }
    const EntryRange entries = blockEntries(helpBlock(page.page, page.languageRow));
    for (int entry = entries.first; entry <= entries.last; ++entry) {
        const QString text = QString::fromUtf8(HelpText[entry]);
        if (!text.isEmpty()) {
            lines.append(text);
        }
    }
    return lines;
}

double helpTextLimit(const HelpPage& page) {
    return page.page == kRulesPage ? kExampleTop : page.height - 1;
}

void paintHelpPage(ui::Canvas& canvas, const HelpPage& page) {
    canvas.setFillEnabled(true);
    switch (page.page) {
        case kTitlePage:
            paintTitlePage(canvas, page);
            return;
        case kInstructionsPage:
            paintTitleWord(canvas, page.width);
            paintHelpText(canvas, page);
            return;
        case kRulesPage:
            if (page.board == nullptr) {
                throw ui::RangeError(QStringLiteral("The game rules need the example board"));
            }
            paintHelpText(canvas, page);
            paintRulesExample(canvas, *page.board, page.cellWidth);
            return;
        default:
            ui::throwRangeError(page.page, kTitlePage, kRulesPage);
    }
}

}  // namespace help

void TForm3::DrawHelpScreen(int page) {
    if (page < help::kTitlePage || page > help::kRulesPage) {
        ui::throwRangeError(page, help::kTitlePage, help::kRulesPage);
    }
    help::HelpPage content;
    content.page = page;
    content.width = Panel1ViewerWidth;
    content.height = Panel1ViewerHeight;
    content.cellWidth = GridCellWidth;
    content.languageRow = LanguageRow;
    content.board = &Board;
    if (page == help::kTitlePage) {
        content.titleLine = uiText(35);
    }
    Panel1Bitmap.setSize(Panel1ViewerWidth, Panel1ViewerHeight);
    HelpDither.mix(std::bit_cast<std::uint64_t>(clock_.now()));
    help::paintHelpBackground(Panel1Bitmap.image(), Panel1ViewerWidth, Panel1ViewerHeight,
                              HelpDither);
    {
        ui::Canvas canvas(Panel1Bitmap);
        help::paintHelpPage(canvas, content);
    }
    Panel1Viewer.setPicture(Panel1Bitmap);
    ShownHelpPage = content;
    ShownHelpVersion = Panel1Viewer.pictureVersion();
}

void TForm3::Button18Click() {
    Button18.hide();
    DrawHelpScreen(help::kInstructionsPage);
}

void TForm3::ShowGameRules() {
    help::writeRulesExample(Board);
    DrawHelpScreen(help::kRulesPage);
}

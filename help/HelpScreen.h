#pragma once

#include <vector>

#include <QRectF>
#include <QString>
#include <QStringList>

#include "game/Board.h"
#include "help/HelpTexts.h"
#include "ui/Bitmap.h"

namespace help {

constexpr int kTitlePage = 0;
constexpr int kInstructionsPage = 1;
constexpr int kRulesPage = 2;

// Everything a help page shows over its background.
struct HelpPage {
    int page = kTitlePage;
    int width = 0;  // of the picture, in design units
    int height = 0;
    int cellWidth = 0;  // of the grid: the page's sizes follow it
    int languageRow = 1;
    QString titleLine;                   // the title page
    const game::Board* board = nullptr;  // the game rules' example
};

// The program's name, over the title page and the instructions.
inline const QString kTitleWord = QStringLiteral("Kestrova");

// Paints a page's texts, table and example over its background.
void paintHelpPage(ui::Canvas& canvas, const HelpPage& page);

// One entry of the instructions or the rules where the page draws it: word-wrapped, left-aligned
// and centred in its box.
struct HelpTextBox {
    QString text;
    double fontSize = 0;
    QRectF box;
};

// The entries of the instructions (page 1) or the rules (page 2) in their boxes, blank ones left
// out, as measured by `measure`.
std::vector<HelpTextBox> helpTextBoxes(const HelpPage& page, const TextMeasure& measure);
void paintHelpTextBox(ui::Canvas& canvas, const HelpTextBox& text);

// The words a page shows, line by line as it draws them: the title word and the title line, or
// the entries of the instructions or the rules. The numbers of the title page's table and of the
// rules' example are left out.
QStringList helpPageLines(const HelpPage& page);

// How far down a page's text may reach: the top of the example on the rules, the panel's white
// edge on the other pages.
double helpTextLimit(const HelpPage& page);

}  // namespace help

#pragma once

#include <QString>

#include "game/Board.h"
#include "ui/Bitmap.h"

namespace help {

constexpr int kTitlePage = 0;
constexpr int kInstructionsPage = 1;
constexpr int kRulesPage = 2;

// Everything a help page shows over its background.
struct HelpPage {
    int page = kTitlePage;
    int width = 0;      // of the picture, in design units
    int cellWidth = 0;  // of the grid: the page's sizes follow it
    int languageRow = 1;
    QString titleLine;                   // the title page
    const game::Board* board = nullptr;  // the game rules' example
};

// The program's name, over the title page and the instructions.
inline const QString kTitleWord = QStringLiteral("Kestrova");

// Paints a page's texts, table and example over its background.
void paintHelpPage(ui::Canvas& canvas, const HelpPage& page);

}  // namespace help

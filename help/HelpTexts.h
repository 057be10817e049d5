#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "ui/Checked.h"

namespace help {

// The texts of the instructions and the game rules, UTF-8: four blocks, each closed by an entry
// "*". An empty entry is a blank line.
using HelpTextTable = ui::CheckedArray<const char*, 1, 46>;
extern const HelpTextTable HelpText;

constexpr int kRussianInstructions = 0;
constexpr int kEnglishInstructions = 1;
constexpr int kRussianRules = 2;
constexpr int kEnglishRules = 3;

// The block a page shows: page 1 the instructions, page 2 the game rules; languageRow 1 Russian,
// 2 English.
int helpBlock(int page, int languageRow);

// The entries of a block, without its closing "*".
struct EntryRange {
    int first = 0;
    int last = 0;
};
EntryRange blockEntries(int block);

// Where one entry of a block goes: text lines are counted in slots from 1, and an entry too wide
// for one line takes two.
struct HelpLine {
    int entry = 0;
    int firstSlot = 0;
    int slotCount = 1;
    double fontSize = 0;
};

// The width of a text at a font size, in design units.
using TextMeasure = std::function<double(const QString& text, double fontSize)>;

// The lines of a block: the game rules' first entry is a heading at a larger size, and an entry
// wider than lineWidth takes two slots. When the lines need more slots than the page has room
// for, the text other than the heading is set a little smaller, down to a size at which they fit
// (or the smallest, at which entries wrap least).
std::vector<HelpLine> layoutHelpBlock(int block, double lineWidth, int slotsWithRoom,
                                      const TextMeasure& measure);

}  // namespace help

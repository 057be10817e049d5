#include <gtest/gtest.h>

#include <map>
#include <set>

#include "help/HelpTexts.h"

namespace {

using help::HelpLine;
using help::layoutHelpBlock;

constexpr double kLineWidth = 753;  // W1 - 30 of the designed window
constexpr int kRoom = 40;           // slots enough for any block

QString entryText(int entry) {
    return QString::fromUtf8(help::HelpText[entry]);
}

// A measure that finds the given entries as wide as asked and every other text narrow.
help::TextMeasure widths(std::map<int, double> wide) {
    return [wide](const QString& text, double) {
        for (const auto& [entry, width] : wide) {
            if (text == entryText(entry)) {
                return width;
            }
        }
        return 100.0;
    };
}

TEST(HelpTexts, EachPageAndLanguageShowsItsOwnBlockUpToItsStar) {
    struct Case {
        int page;
        int languageRow;
        int first;
        int last;
    };
    for (const Case& c :
         {Case{1, 1, 1, 11}, Case{1, 2, 13, 23}, Case{2, 1, 25, 34}, Case{2, 2, 36, 45}}) {
        const std::vector<HelpLine> lines =
            layoutHelpBlock(help::helpBlock(c.page, c.languageRow), kLineWidth, kRoom, widths({}));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(c.last - c.first + 1)) << c.first;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].entry, c.first + static_cast<int>(i));
            EXPECT_EQ(lines[i].firstSlot, 1 + static_cast<int>(i)) << "narrow lines take a slot";
        }
        EXPECT_EQ(entryText(c.last + 1), QStringLiteral("*"));
    }
    EXPECT_THROW(help::helpBlock(0, 1), ui::RangeError);
    EXPECT_THROW(help::helpBlock(1, 3), ui::RangeError);
}

TEST(HelpTexts, AnEntryWiderThanTheLineTakesTwoSlotsAndPushesTheRestDown) {
    // Entry 5 just wider than the line, entry 7 exactly as wide as the line, entry 8 very wide.
    const std::vector<HelpLine> lines =
        layoutHelpBlock(help::kRussianInstructions, kLineWidth, kRoom,
                        widths({{5, kLineWidth + 0.01}, {7, kLineWidth}, {8, 1400}}));
    std::map<int, std::pair<int, int>> placed;  // entry -> first slot, slot count
    for (const HelpLine& line : lines) {
        placed[line.entry] = {line.firstSlot, line.slotCount};
    }
    const std::map<int, std::pair<int, int>> expected = {
        {1, {1, 1}}, {2, {2, 1}}, {3, {3, 1}},  {4, {4, 1}},   {5, {5, 2}},   {6, {7, 1}},
        {7, {8, 1}}, {8, {9, 2}}, {9, {11, 1}}, {10, {12, 1}}, {11, {13, 1}},
    };
    EXPECT_EQ(placed, expected);
}

TEST(HelpTexts, TheRulesHeadingIsMeasuredAndDrawnLargerThanTheOtherLines) {
    for (int block : {help::kRussianInstructions, help::kEnglishInstructions, help::kRussianRules,
                      help::kEnglishRules}) {
        std::set<std::pair<QString, double>> measured;
        const std::vector<HelpLine> lines =
            layoutHelpBlock(block, kLineWidth, kRoom, [&](const QString& text, double size) {
                measured.insert({text, size});
                return 0.0;
            });
        const bool rules = block >= help::kRussianRules;
        for (const HelpLine& line : lines) {
            const double size = rules && line.entry == lines.front().entry ? 28 : 20;
            EXPECT_EQ(line.fontSize, size) << line.entry;
            EXPECT_TRUE(measured.count({entryText(line.entry), size})) << line.entry;
        }
    }
}

// Entry 5 is 760 units wide at 20, and narrower by 10 for every size less; the eleven entries of
// the instructions need 12 slots at 20.
TEST(HelpTexts, TextIsSetSmallerOnlyWhenThePageHasNoRoomForItsLines) {
    const help::TextMeasure measure = [](const QString& text, double size) {
        return text == entryText(5) ? 760 - 10 * (20 - size) : 100.0;
    };
    struct Case {
        int room;
        double size;
        int used;
    };
    for (const Case& c : {Case{12, 20, 12}, Case{11, 19, 11}, Case{5, 16, 11}}) {
        SCOPED_TRACE(c.room);
        const std::vector<HelpLine> lines =
            layoutHelpBlock(help::kRussianInstructions, kLineWidth, c.room, measure);
        for (const HelpLine& line : lines) {
            EXPECT_EQ(line.fontSize, c.size) << line.entry;
        }
        EXPECT_EQ(lines.back().firstSlot + lines.back().slotCount - 1, c.used);
    }
    // The heading of the rules keeps its size.
    EXPECT_EQ(layoutHelpBlock(help::kRussianRules, kLineWidth, 1, measure).front().fontSize, 28);
}

TEST(HelpTexts, KeepTheirQuotesAndDoubleSpacesAsWritten) {
    EXPECT_EQ(entryText(25), QStringLiteral("Логическая игра \"Умножение в линию\u201D."));
    EXPECT_EQ(entryText(36), QStringLiteral("Logical game \"Multiplication in line\"."));
    EXPECT_TRUE(entryText(5).contains(QStringLiteral("правильный  результат")));
    EXPECT_TRUE(entryText(33).startsWith(QStringLiteral("Подсказка:  в")));
    for (int blank : {6, 10, 18, 22}) {
        EXPECT_TRUE(entryText(blank).isEmpty()) << blank;
    }
}

}  // namespace

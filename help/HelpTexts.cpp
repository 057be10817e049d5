#include "help/HelpTexts.h"

#include <cstring>
#include <initializer_list>

namespace help {

namespace {

HelpTextTable makeHelpText() {
    const std::initializer_list<const char*> texts = {
        "Инструкция:",                                                                // 1
        "Выбрать операцию – «Умножение», или «Деление».",                             // 2
        "Выбрать число, или «Все» числа.",                                            // 3
        "Нажать кнопку «Старт».",                                                     // 4
        "На очередной пример нажать на правильный  результат в таблице.",             // 5
        "",                                                                           // 6
        "После упражнений, рекомендуется использовать режим «Работа над ошибками».",  // 7
        "При хороших результатах можно увеличить количество примеров, или(и) сократить время на "
        "решение.",                                                                       // 8
        "Для определения проблемных чисел - использовать режим отображения статистики.",  // 9
        "",                                                                               // 10
        "Для интеллектуалов, и всех, кто хочет развить математическое мышление, специально "
        "разработана логическая игра.",                                                        // 11
        "*",                                                                                   // 12
        "Instructions:",                                                                       // 13
        "Select an operation – «Multiplication» or «Division».",                               // 14
        "Select a figure or «All» figures.",                                                   // 15
        "Click «Start» button.",                                                               // 16
        "Click the correct result in the table in the next exercise.",                         // 17
        "",                                                                                    // 18
        "After the exercises are completed, we recommend using the «Error correction» mode.",  // 19
        "If you have good results, you can increase the number of exercises or (and) reduce the "
        "time to solve them.",                                                // 20
        "To define the problem number, use the display mode of statistics.",  // 21
        "",                                                                   // 22
        "For intellectuals and anyone who wants to develop mathematical thinking,the special "
        "logical game was designed.",                                              // 23
        "*",                                                                       // 24
        "Логическая игра \"Умножение в линию”.",                                   // 25
        "Цель игры: Найти примеры на умножение в таблице со случайными числами.",  // 26
        "Результат умножения суммируется к вашему общему баллу.",                  // 27
        "За 10 уровней игры наберите больше баллов,чем это сделала программа.",    // 28
        "Перед началом выберите уровень сложности (интервал чисел).",              // 29
        "Правило поиска: в соседних трёх клетках (по прямой) должны находиться множитель, множимое "
        "и правильный результат.",  // 30
        "Для указания варианта нужно нажать на клетки с множителями, а, затем, с результатом (для "
        "отмены ввода, нужно повторно нажать на клетку).",                               // 31
        "Отменить вариант, или использовать отмеченные клетки, уже нельзя.",             // 32
        "Подсказка:  в первую очередь, обращайте внимание на большие числа.",            // 33
        "Примеры нахождения вариантов:",                                                 // 34
        "*",                                                                             // 35
        "Logical game \"Multiplication in line\".",                                      // 36
        "Goal: To find the multiplication exercises in the table with random numbers.",  // 37
        "The multiplication result is summed with your total score.",                    // 38
        "For 10 levels of the game reach higher scores than the program did.",           // 39
        "Before starting select difficulty level (range of numbers)",                    // 40
        "The search rule: in three neighboring cells (in straight line) should be a multiplier, a "
        "multiplicand and the correct result.",  // 41
        "To specify the variant one should click on the cell with the multiplier factors,and then "
        "with the result (to cancel an entry, you need to re-click on the cell).",  // 42
        "You cannot cancel the variant or use the marked cells.",                   // 43
        "Hint: first of all, pay attention to the large numbers.",                  // 44
        "Examples of how to find variants:",                                        // 45
        "*",                                                                        // 46
    };
    if (texts.size() != HelpTextTable::size) {
        ui::throwRangeError(static_cast<long long>(texts.size()), HelpTextTable::size,
                            HelpTextTable::size);
    }
    HelpTextTable table;
    auto out = table.begin();
    for (const char* text : texts) {
        *out++ = text;
    }
    return table;
}

constexpr double kTextFont = 20;
// Small enough for the longest rules to fit the room above their example, large enough to read.
constexpr double kSmallestTextFont = 16;
constexpr double kHeadingFont = 28;

bool isBlockEnd(int entry) {
    return std::strcmp(HelpText[entry], "*") == 0;
}

}  // namespace

const HelpTextTable HelpText = makeHelpText();

int helpBlock(int page, int languageRow) {
    if ((page != 1 && page != 2) || (languageRow != 1 && languageRow != 2)) {
        throw ui::RangeError(
            QStringLiteral("No help text for page %1 in language %2").arg(page).arg(languageRow));
    }
    const int instructions = languageRow == 1 ? kRussianInstructions : kEnglishInstructions;
    return page == 1 ? instructions : instructions + 2;
}

EntryRange blockEntries(int block) {
    if (block < kRussianInstructions || block > kEnglishRules) {
        ui::throwRangeError(block, kRussianInstructions, kEnglishRules);
    }
    // A block starts after the "*" that closes the one before it.
    int first = HelpText.low;
    for (int passed = 0; passed < block; ++first) {
        if (isBlockEnd(first)) {
            ++passed;
        }
    }
    int last = first;
    while (!isBlockEnd(last)) {
        ++last;
    }
    return {first, last - 1};
}

namespace {

// The lines of a block with its text (the heading aside) at one size; the number of slots used
// is the last line's first slot plus its count, less one.
std::vector<HelpLine> layoutAtSize(int block, double lineWidth, double textFont,
                                   const TextMeasure& measure) {
    const EntryRange entries = blockEntries(block);
    const bool rules = block == kRussianRules || block == kEnglishRules;
    std::vector<HelpLine> lines;
    int slot = 1;
    for (int entry = entries.first; entry <= entries.last; ++entry) {
        HelpLine line;
        line.entry = entry;
        line.firstSlot = slot;
        line.fontSize = rules && entry == entries.first ? kHeadingFont : textFont;
        line.slotCount =
            measure(QString::fromUtf8(HelpText[entry]), line.fontSize) > lineWidth ? 2 : 1;
        slot += line.slotCount;
        lines.push_back(line);
    }
    return lines;
}

int slotsUsed(const std::vector<HelpLine>& lines) {
    return lines.empty() ? 0 : lines.back().firstSlot + lines.back().slotCount - 1;
}

}  // namespace

std::vector<HelpLine> layoutHelpBlock(int block, double lineWidth, int slotsWithRoom,
                                      const TextMeasure& measure) {
    std::vector<HelpLine> lines = layoutAtSize(block, lineWidth, kTextFont, measure);
    for (double size = kTextFont - 1; size >= kSmallestTextFont && slotsUsed(lines) > slotsWithRoom;
         --size) {
        lines = layoutAtSize(block, lineWidth, size, measure);
    }
    return lines;
}

}  // namespace help

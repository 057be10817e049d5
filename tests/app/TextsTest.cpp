#include <gtest/gtest.h>

#include <QString>

#include "app/Texts.h"
#include "tests/support/FormFixture.h"

namespace {

struct ExpectedText {
    int entry;
    const char* russian;
    const char* english;
};

// Typed out separately from the program's table, so that a slip in either shows here.
const ExpectedText kExpected[] = {
    {0, "Стоп", "Stop"},
    {1, "Умножение", "Multiplication"},
    {2, "Деление", "Division"},
    {3, "Старт", "Start"},
    {4, "Все", "All"},
    {5, "на ", "by "},
    {6, "работа над ошибками", "Error correction"},
    {7, "Статистика", "Statistics"},
    {8, "Проблемные числа", "Problem numbers"},
    {9, "за период ", "for the period "},
    {10, "Кол-во примеров", "number of exercises"},
    {11, "Типичиные ошибки", "typical errors"},
    {12, "Выход-", "Out of "},
    {13, "Игра", "Game"},
    {14, "Справка", "Help"},
    {15, "Время истекло", "Time has expired"},
    {16, "Новая игра", "New game"},
    {17, "Программа", "Programme"},
    {18, "Мои баллы", "My Points"},
    {19, "Результаты игры", "The results of the game"},
    {20, "Общий итог", " Total  score "},
    {21, "Уровень ", "Level "},
    {22, "По уровням:", "In levels:"},
    {23, "количество примеров", "number of exercises"},
    {24, "за время (мин.)", "during (min.)"},
    {25, "множитель", "multiplier"},
    {26, "множимое", "multiplicand"},
    {27, "делитель", "divider"},
    {28, "делимое", "dividend"},
    {29, "хор.", "good"},
    {30, "удов.", "fair"},
    {31, "плохо", "bad"},
    {32, "Текущих ошибок нет", "No current errors"},
    {33, "количество ошибок", "number of errors"},
    {34, "Обнулить", "Reset to zero"},
    {35, "Тренажёр по таблице умножения   + логическая игра",
     "     Multiplication tables simulator  + Logical game"},
    {36, "выход", "exit"},
    {37, "Подтвердить:", "Recommit:"},
    {38, "сложность", "complexity"},
    {39, "новичёк", "novice"},
    {40, "средний", "average"},
    {41, "профи", "profi"},
    {42, "числа ", "number "},
};

TEST(InterfaceTexts, EveryEntryOfBothRowsReadsExactlyAsWritten) {
    ASSERT_EQ(std::size(kExpected), UiTextRow::size);
    for (const ExpectedText& e : kExpected) {
        SCOPED_TRACE(e.entry);
        EXPECT_EQ(QString::fromUtf8(UiText[1][e.entry]), QString::fromUtf8(e.russian));
        EXPECT_EQ(QString::fromUtf8(UiText[2][e.entry]), QString::fromUtf8(e.english));
    }
}

class FormTexts : public FormFixture {};

TEST_F(FormTexts, AmericanEnglishDiffersFromBritishOnlyInThreeEntries) {
    TForm3& f = form();
    f.LanguageRow = 2;
    for (const ExpectedText& e : kExpected) {
        SCOPED_TRACE(e.entry);
        f.AmericanEnglish = 0;
        EXPECT_EQ(f.uiText(e.entry), QString::fromUtf8(e.english));
        f.AmericanEnglish = 1;
        const QString american = f.uiText(e.entry);
        switch (e.entry) {
            case 15:
                EXPECT_EQ(american, "Time expired");
                break;
            case 17:
                EXPECT_EQ(american, "Program");
                break;
            case 34:
                EXPECT_EQ(american, "Set to nil");
                break;
            default:
                EXPECT_EQ(american, QString::fromUtf8(e.english));
        }
    }
    f.LanguageRow = 1;
    f.AmericanEnglish = 0;
    EXPECT_EQ(f.uiText(34), QString::fromUtf8("Обнулить"));
}

TEST_F(FormTexts, AnEntryOutsideTheTableIsAnError) {
    EXPECT_THROW(form().uiText(43), ui::RangeError);
    EXPECT_THROW(form().uiText(-1), ui::RangeError);
}

}  // namespace

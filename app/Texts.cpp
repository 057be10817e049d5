#include "app/Texts.h"

#include <initializer_list>

#include <QString>

#include "app/Form.h"

namespace {

template <typename Array>
Array fromList(std::initializer_list<const char*> texts) {
    Array array;
    if (texts.size() != Array::size) {
        ui::throwRangeError(static_cast<long long>(texts.size()), Array::size, Array::size);
    }
    auto out = array.begin();
    for (const char* text : texts) {
        *out++ = text;
    }
    return array;
}

ui::CheckedArray<UiTextRow, 1, 2> makeUiText() {
    ui::CheckedArray<UiTextRow, 1, 2> table;
    table[1] = fromList<UiTextRow>({
        "Стоп",                                               // 0
        "Умножение",                                          // 1
        "Деление",                                            // 2
        "Старт",                                              // 3
        "Все",                                                // 4
        "на ",                                                // 5
        "работа над ошибками",                                // 6
        "Статистика",                                         // 7
        "Проблемные числа",                                   // 8
        "за период ",                                         // 9
        "Кол-во примеров",                                    // 10
        "Типичиные ошибки",                                   // 11
        "Выход-",                                             // 12
        "Игра",                                               // 13
        "Справка",                                            // 14
        "Время истекло",                                      // 15
        "Новая игра",                                         // 16
        "Программа",                                          // 17
        "Мои баллы",                                          // 18
        "Результаты игры",                                    // 19
        "Общий итог",                                         // 20
        "Уровень ",                                           // 21
        "По уровням:",                                        // 22
        "количество примеров",                                // 23
        "за время (мин.)",                                    // 24
        "множитель",                                          // 25
        "множимое",                                           // 26
        "делитель",                                           // 27
        "делимое",                                            // 28
        "хор.",                                               // 29
        "удов.",                                              // 30
        "плохо",                                              // 31
        "Текущих ошибок нет",                                 // 32
        "количество ошибок",                                  // 33
        "Обнулить",                                           // 34
        "Тренажёр по таблице умножения   + логическая игра",  // 35
        "выход",                                              // 36
        "Подтвердить:",                                       // 37
        "сложность",                                          // 38
        "новичёк",                                            // 39
        "средний",                                            // 40
        "профи",                                              // 41
        "числа ",                                             // 42
    });
    table[2] = fromList<UiTextRow>({
        "Stop",                                                  // 0
        "Multiplication",                                        // 1
        "Division",                                              // 2
        "Start",                                                 // 3
        "All",                                                   // 4
        "by ",                                                   // 5
        "Error correction",                                      // 6
        "Statistics",                                            // 7
        "Problem numbers",                                       // 8
        "for the period ",                                       // 9
        "number of exercises",                                   // 10
        "typical errors",                                        // 11
        "Out of ",                                               // 12
        "Game",                                                  // 13
        "Help",                                                  // 14
        "Time has expired",                                      // 15
        "New game",                                              // 16
        "Programme",                                             // 17
        "My Points",                                             // 18
        "The results of the game",                               // 19
        " Total  score ",                                        // 20
        "Level ",                                                // 21
        "In levels:",                                            // 22
        "number of exercises",                                   // 23
        "during (min.)",                                         // 24
        "multiplier",                                            // 25
        "multiplicand",                                          // 26
        "divider",                                               // 27
        "dividend",                                              // 28
        "good",                                                  // 29
        "fair",                                                  // 30
        "bad",                                                   // 31
        "No current errors",                                     // 32
        "number of errors",                                      // 33
        "Reset to zero",                                         // 34
        "     Multiplication tables simulator  + Logical game",  // 35
        "exit",                                                  // 36
        "Recommit:",                                             // 37
        "complexity",                                            // 38
        "novice",                                                // 39
        "average",                                               // 40
        "profi",                                                 // 41
        "number ",                                               // 42
    });
    return table;
}

}  // namespace

const ui::CheckedArray<UiTextRow, 1, 2> UiText = makeUiText();

const ui::CheckedArray<const char*, 0, 2> AmericanText =
    fromList<ui::CheckedArray<const char*, 0, 2>>({"Time expired", "Program", "Set to nil"});

const ui::CheckedArray<FileMessageRow, 1, 2> FileMessageText = [] {
    ui::CheckedArray<FileMessageRow, 1, 2> table;
    table[1] = fromList<FileMessageRow>({
        "Не удалось найти папку для данных программы.",
        "Не удалось создать папку для данных программы: %1",
        "Программа уже открыта. Перейдите в её окно: вторая копия закрывается, чтобы не "
        "испортить сохранённые результаты.",
    });
    table[2] = fromList<FileMessageRow>({
        "The folder for the program's data could not be found.",
        "The folder for the program's data could not be created: %1",
        "The program is already open. Please switch to its window: this second copy closes so "
        "that the saved progress is not spoilt.",
    });
    return table;
}();

QString fileMessage(int languageRow, FileMessage message) {
    return QString::fromUtf8(FileMessageText[languageRow == 2 ? 2 : 1][message]);
}

const ui::CheckedArray<SpokenRow, 1, 2> SpokenText = [] {
    ui::CheckedArray<SpokenRow, 1, 2> table;
    table[1] = fromList<SpokenRow>({
        "верно",
        "неверно",
        "оценка",
        "выбрано",
        "найдено",
        "найдено программой",
        "неверно, ? - этот пример ещё раз",
        "осталось минут: %1",
        "осталось секунд: %1",
        "решено примеров",
        "прошло времени",
        "выбор снят",
        "тройка %1, баллов: %2",
        "%1: найдено троек - %2",
        "%1: неверно %2 из %3",
        "%1: ответов ещё не было",
        "Пример, три ряда поля: %1",
        "найденные тройки выделены белым: %1",
    });
    table[2] = fromList<SpokenRow>({
        "right",
        "wrong",
        "mark",
        "chosen",
        "found",
        "found by the program",
        "wrong, ? - this exercise again",
        "time left, minutes: %1",
        "time left, seconds: %1",
        "exercises answered",
        "time used",
        "chosen no more",
        "triple %1, points: %2",
        "%1: triples found - %2",
        "%1: %2 of %3 wrong",
        "%1: not answered yet",
        "The example, three rows of the board: %1",
        "the triples found are white: %1",
    });
    return table;
}();

QString spokenText(int languageRow, Spoken word) {
    return QString::fromUtf8(SpokenText[languageRow == 2 ? 2 : 1][static_cast<int>(word)]);
}

QString TForm3::uiText(int entry) const {
    if (AmericanEnglish == 1) {
        switch (entry) {
            case 15:
                return QString::fromUtf8(AmericanText[0]);
            case 17:
                return QString::fromUtf8(AmericanText[1]);
            case 34:
                return QString::fromUtf8(AmericanText[2]);
            default:
                break;
        }
    }
    return QString::fromUtf8(UiText[LanguageRow][entry]);
}

Language languageOfCode(int languageCode) {
    if (languageCode == kLanguageCodeBritish) {
        return Language::British;
    }
    if (languageCode == kLanguageCodeAmerican) {
        return Language::American;
    }
    return Language::Russian;
}

Language languageOf(int languageRow, int americanEnglish) {
    if (languageRow != 2) {
        return Language::Russian;
    }
    return americanEnglish == 1 ? Language::American : Language::British;
}

int languageRowOf(Language language) {
    return language == Language::Russian ? 1 : 2;
}

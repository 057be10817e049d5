#include "app/Texts.h"

#include <array>
#include <initializer_list>

#include <QString>

#include "app/Form.h"
#include "pupils/Roster.h"

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
        "осталось минут: %1, секунд: %2",
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
        "time left, minutes: %1, seconds: %2",
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

// --- the pupil group, its dialogs and messages ---

namespace {

using PupilTextRow = std::array<const char*, kPupilTextCount>;

constexpr std::array<PupilTextRow, 3> kPupilTexts = {{
    {
        "Ученик",
        "Новый ученик…",
        "Новый ученик",
        "Имя ученика (не больше 40 знаков):",
        "Добавить",
        "Отмена",
        "Введите имя ученика.",
        "Имя длиннее 40 знаков.",
        "В имени есть знак, который нельзя использовать (например, перевод строки).",
        "Ученик с таким именем уже есть.",
        "Не удалось создать папку ученика %1 (%2).",
        "Не удалось запомнить выбор ученика в файле %1 (%2).",
        "Не удалось прочитать файл ученика %1 (%2). Ученик не выбран.",
        "Переименовать «%1»…",
        "Убрать «%1»…",
        "Переименование ученика",
        "Новое имя ученика «%1» (не больше 40 знаков):",
        "Переименовать",
        "Удаление ученика",
        "Убрать ученика «%1» в корзину? Его ответы и оценки уйдут вместе с ним, и их можно будет "
        "вернуть из корзины.",
        "В корзину",
        "Не удалось сохранить имя в файле %1 (%2). Имя осталось прежним.",
        "Не удалось убрать папку ученика %1 в корзину (%2). Ученик остался.",
        "Не удалось прочитать файл ученика, выбранного в прошлый раз: %1 (%2). Программа "
        "открыта для ученика %3.",
    },
    {
        "Pupil",
        "New pupil…",
        "New pupil",
        "The pupil's name (up to 40 characters):",
        "Add",
        "Cancel",
        "Please type the pupil's name.",
        "The name is longer than 40 characters.",
        "The name holds a character that cannot be used (such as a line break).",
        "There is already a pupil with this name.",
        "The pupil's folder %1 could not be created (%2).",
        "The choice of pupil could not be kept in %1 (%2).",
        "The pupil's file %1 could not be read (%2). The pupil was not chosen.",
        "Rename “%1”…",
        "Remove “%1”…",
        "Rename pupil",
        "The new name of “%1” (up to 40 characters):",
        "Rename",
        "Remove pupil",
        "Move the pupil “%1” to the wastebasket? Their answers and marks go with them and can be "
        "put back from the wastebasket.",
        "Move to wastebasket",
        "The name could not be kept in %1 (%2). The name is as it was.",
        "The pupil's folder %1 could not be moved to the wastebasket (%2). The pupil stays.",
        "The file %1 of the pupil chosen last time could not be read (%2). The program is open "
        "for the pupil %3.",
    },
    {
        "Student",
        "New student…",
        "New student",
        "The student's name (up to 40 characters):",
        "Add",
        "Cancel",
        "Please type the student's name.",
        "The name is longer than 40 characters.",
        "The name holds a character that cannot be used (such as a line break).",
        "There is already a student with this name.",
        "The student's folder %1 could not be created (%2).",
        "The choice of student could not be kept in %1 (%2).",
        "The student's file %1 could not be read (%2). The student was not chosen.",
        "Rename “%1”…",
        "Remove “%1”…",
        "Rename student",
        "The new name of “%1” (up to 40 characters):",
        "Rename",
        "Remove student",
        "Move the student “%1” to the trash? Their answers and grades go with them and can be "
        "put back from the trash.",
        "Move to trash",
        "The name could not be kept in %1 (%2). The name is as it was.",
        "The student's folder %1 could not be moved to the trash (%2). The student stays.",
        "The file %1 of the student chosen last time could not be read (%2). The program is "
        "open for the student %3.",
    },
}};

}  // namespace

PupilLanguage pupilLanguage(std::uint8_t languageRow, std::uint8_t americanEnglish) {
    return languageOf(languageRow, americanEnglish);
}

QString pupilText(PupilLanguage language, PupilText entry) {
    return QString::fromUtf8(kPupilTexts.at(static_cast<std::size_t>(language)).at(entry));
}

QString nameProblemText(PupilLanguage language, pupils::NameProblem problem) {
    switch (problem) {
        case pupils::NameProblem::None:
            return {};
        case pupils::NameProblem::Empty:
            return pupilText(language, kPupilNameEmpty);
        case pupils::NameProblem::TooLong:
            return pupilText(language, kPupilNameTooLong);
        case pupils::NameProblem::Unprintable:
            return pupilText(language, kPupilNameUnprintable);
        case pupils::NameProblem::Taken:
            return pupilText(language, kPupilNameTaken);
    }
    return {};
}

// --- the looks ---

namespace {

struct LookTexts {
    const char* lookSwitch;
    const char* notKept;
    const char* noAnswers;
};

// Russian, British, American, in the order of `Language`.
constexpr std::array<LookTexts, 3> kLookTexts = {{
    {"Высокий контраст",
     "Не удалось запомнить вид в файле %1 (%2). Вид выбран до закрытия программы.", "нет"},
    {"High contrast",
     "The look could not be kept in the file %1 (%2). It stays until the program is closed.",
     "none"},
    {"High contrast",
     "The look could not be saved in the file %1 (%2). It stays until the program is closed.",
     "none"},
}};

const LookTexts& textsOf(Language language) {
    return kLookTexts.at(static_cast<std::size_t>(language));
}

}  // namespace

QString lookSwitchText(Language language) {
    return QString::fromUtf8(textsOf(language).lookSwitch);
}

QString lookNotKeptText(Language language) {
    return QString::fromUtf8(textsOf(language).notKept);
}

QString statisticsKeyText(Language language, int mark) {
    // The error rates that bound the bands, the same in every language.
    constexpr const char* kBands[] = {"", "< 5 %", "5–11 %", "11–21 %", "> 21 %"};
    if (mark == 0) {
        return QString::fromUtf8(textsOf(language).noAnswers);
    }
    return QString::fromUtf8(kBands[mark]);
}

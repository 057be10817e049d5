#include "app/PupilTexts.h"

#include <array>

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

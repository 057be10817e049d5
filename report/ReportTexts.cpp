#include "report/ReportTexts.h"

#include <array>

#include "app/Texts.h"

namespace report {

namespace {

struct Entry {
    Text key;
    const char* russian;
    const char* british;
    const char* american;  // nullptr: as in British English
};

// Every text of the report, in the three languages.
constexpr std::array kTexts{
    Entry{Text::Title, "Отчёт об успехах", "Progress report", nullptr},
    Entry{Text::ClassHeading, "Класс", "Class", nullptr},
    Entry{Text::PupilsHeading, "Все ученики", "All pupils", "All students"},
    Entry{Text::MadeOn, "Составлен %1", "Made on %1", nullptr},
    Entry{Text::Multiplication, "Умножение", "Multiplication", nullptr},
    Entry{Text::Division, "Деление", "Division", nullptr},
    Entry{Text::Period, "Статистика за период %1–%2", "Statistics for %1 to %2", nullptr},
    Entry{Text::NoPeriod, "Период статистики не записан", "No statistics period recorded", nullptr},
    Entry{Text::NoAnswers, "Ответов пока нет", "No answers yet", nullptr},
    Entry{Text::Number, "Число", "Number", nullptr},
    Entry{Text::AllNumbers, "Все", "All", nullptr},
    Entry{Text::Answers, "Кол-во примеров", "Answers", nullptr},
    Entry{Text::LastMarks, "Последние оценки", "Last marks", "Last grades"},
    Entry{Text::LatestMark, "Последняя оценка", "Latest mark", "Latest grade"},
    Entry{Text::ErrorRates, "Проблемные числа", "Problem numbers", nullptr},
    Entry{Text::TypicalErrors, "Типичные ошибки", "Typical errors", nullptr},
    Entry{Text::None, "нет", "none", nullptr},
    Entry{Text::PractiseNext, "Повторить", "Practise next", "Practice next"},
    Entry{Text::PractiseEntry, "%1: ошибок %2, число %3", "%1: %2 wrong, number %3", nullptr},
    Entry{Text::Pupil, "Ученик", "Pupil", "Student"},
    Entry{Text::MostMissed, "Чаще всего ошибались", "Most missed exercises", nullptr},
    Entry{Text::MissedEntry, "%1: ошибок %2 из %3 (%4)", "%1: %2 wrong of %3 (%4)", nullptr},
    Entry{Text::Unreadable, "Не удалось прочитать", "Could not be read", nullptr},
    Entry{Text::UnreadableEntry, "%1: %2 (%3)", "%1: %2 (%3)", nullptr},
    Entry{Text::DamagedReason, "файл повреждён", "the file is damaged", nullptr},
    Entry{Text::Key, "Цвет клетки и число в её углу — доля ошибок:",
          "A cell's colour and the number in its corner: the share of wrong answers", nullptr},
    Entry{Text::KeyNotAnswered, "белая: не решали", "white: not answered yet", nullptr},
    Entry{Text::KeyBand1, "меньше 5 %", "under 5 %", nullptr},
    Entry{Text::KeyBand2, "5–11 %", "5–11 %", nullptr},
    Entry{Text::KeyBand3, "11–21 %", "11–21 %", nullptr},
    Entry{Text::KeyBand4, "больше 21 %", "over 21 %", nullptr},
    Entry{Text::MarksKey, "Оценка — цифра в клетке; цвет клетки — как в окне программы:",
          "A mark is the digit in its cell, coloured as in the program's window:",
          "A grade is the digit in its cell, colored as in the program's window:"},
};

}  // namespace

bool languageFromName(const QString& name, Language& language) {
    if (name == QLatin1String("ru")) {
        language = Language::Russian;
    } else if (name.compare(QLatin1String("en-GB"), Qt::CaseInsensitive) == 0) {
        language = Language::British;
    } else if (name.compare(QLatin1String("en-US"), Qt::CaseInsensitive) == 0) {
        language = Language::American;
    } else {
        return false;
    }
    return true;
}

QLocale localeOf(Language language) {
    switch (language) {
        case Language::British:
            return QLocale(QLocale::English, QLocale::UnitedKingdom);
        case Language::American:
            return QLocale(QLocale::English, QLocale::UnitedStates);
        case Language::Russian:
            break;
    }
    return QLocale(QLocale::Russian, QLocale::Russia);
}

QString text(Language language, Text key) {
    for (const Entry& entry : kTexts) {
        if (entry.key != key) {
            continue;
        }
        const char* chosen = entry.russian;
        if (language == Language::British ||
            (language == Language::American && entry.american == nullptr)) {
            chosen = entry.british;
        } else if (language == Language::American) {
            chosen = entry.american;
        }
        return QString::fromUtf8(chosen);
    }
    return {};
}

}  // namespace report

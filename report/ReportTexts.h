#pragma once

#include <QLocale>
#include <QString>

#include "app/Texts.h"

namespace report {

// The languages a report is written in: the window's three.
using Language = ::Language;
using ::languageOfCode;

// "ru", "en-GB", "en-US"; nothing for another text.
bool languageFromName(const QString& name, Language& language);
// The locale whose dates and page size go with the language.
QLocale localeOf(Language language);

enum class Text {
    Title,          // the document's title
    ClassHeading,   // the class page's heading, for pupils from other computers' folders
    PupilsHeading,  // the same page for this computer's pupils (a family's)
    MadeOn,         // %1 the date the report was made
    Multiplication,
    Division,
    Period,     // %1 first day, %2 last day
    NoPeriod,   // statistics without a recorded period
    NoAnswers,  // a pupil or operation without answers
    Number,
    AllNumbers,  // the marks row of runs over all numbers
    Answers,
    LastMarks,
    LatestMark,
    ErrorRates,
    TypicalErrors,
    None,
    PractiseNext,
    PractiseEntry,  // %1 the exercise, %2 its error rate, %3 the number to choose
    Pupil,
    MostMissed,
    MissedEntry,      // %1 the exercise, %2 errors, %3 answers, %4 error rate
    Unreadable,       // heading of the files that could not be read
    UnreadableEntry,  // %1 the pupil, %2 the file, %3 the reason
    DamagedReason,    // a file whose length holds no whole record
    Key,              // the heading of the table's key
    KeyNotAnswered,   // the key's entries: marks 0 to 4
    KeyBand1,
    KeyBand2,
    KeyBand3,
    KeyBand4,
    MarksKey,  // the heading of the key to the marks' colours
};

// A report text in a language, from the one table of them.
QString text(Language language, Text entry);

}  // namespace report

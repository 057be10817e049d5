#pragma once

#include <cstdint>

#include <QString>

#include "ui/Checked.h"

// The interface texts: a Russian row (1) and an English row (2) of the same entries, UTF-8.
using UiTextRow = ui::CheckedArray<const char*, 0, 42>;
extern const ui::CheckedArray<UiTextRow, 1, 2> UiText;

// American English replaces entries 15, 17 and 34 of the English row with these, in that order.
extern const ui::CheckedArray<const char*, 0, 2> AmericanText;

// Messages about the pupil's files and the program's start, beside the interface texts: a Russian
// row (1) and an English row (2), UTF-8. %1 stands for the folder where one is named.
enum FileMessage {
    kMessageNoDataLocation = 0,  // the system names no folder for application data
    kMessageCannotCreateDataFolder = 1,
    kMessageAlreadyOpen = 2,  // a second copy was started for the same data folder
};
using FileMessageRow = ui::CheckedArray<const char*, 0, 2>;
extern const ui::CheckedArray<FileMessageRow, 1, 2> FileMessageText;

// A file message in a row of the table; a row other than English reads as Russian, the language
// the program starts in.
QString fileMessage(int languageRow, FileMessage message);

// Words that only a screen reader says, where the window shows a colour, a sign or a change: a
// Russian row (1) and an English row (2), UTF-8.
enum class Spoken {
    Right = 0,
    Wrong = 1,
    Mark = 2,
    Chosen = 3,
    Found = 4,
    FoundByProgram = 5,
    TryAgain = 6,  // error correction keeps an exercise answered wrongly, and shows "?"
    MinutesLeft = 7,
    SecondsLeft = 8,
    AnsweredBar = 9,          // the bar of the exercises answered
    TimeBar = 10,             // the bar of the time used
    Unchosen = 11,            // a cell of the board chosen no more
    TripleFound = 12,         // %1 the triple as an exercise, %2 its points
    ProgramFound = 13,        // %1 the program's side, %2 how many triples it found
    StatisticsCell = 14,      // %1 the exercise, %2 its errors, %3 its answers
    NotAnswered = 15,         // %1 the exercise
    ExampleRows = 16,         // %1 the rules' example, row by row
    ExampleTriples = 17,      // %1 the example's triples found
    MinutesSecondsLeft = 18,  // %1 whole minutes, %2 seconds
};
using SpokenRow = ui::CheckedArray<const char*, 0, 18>;
extern const ui::CheckedArray<SpokenRow, 1, 2> SpokenText;

// A spoken word in a row of the table; a row other than English reads as Russian.
QString spokenText(int languageRow, Spoken word);

// The language choices of the combo box, in item order.
constexpr int kLanguageItemRussian = 0;
constexpr int kLanguageItemBritish = 1;
constexpr int kLanguageItemAmerican = 2;
constexpr int kLanguageCodeRussian = 1;
constexpr int kLanguageCodeBritish = 2;
constexpr int kLanguageCodeAmerican = 102;

// The program's three languages, worked out once for every layer that has texts.
enum class Language { Russian, British, American };
// The language Save.dat's code names; an unknown code reads as Russian, the language the program
// starts in.
Language languageOfCode(int languageCode);
// The language of the form's row of UiText (1 Russian, 2 English) and its American flag.
Language languageOf(int languageRow, int americanEnglish);
// The row of UiText, and the American flag, of a language.
int languageRowOf(Language language);
inline bool isAmerican(Language language) {
    return language == Language::American;
}

namespace pupils {
enum class NameProblem;
}  // namespace pupils

// The texts of the pupil group, its dialog and its messages: the team's own, in Russian, British
// and American English (American schools have students where British ones have pupils).
enum PupilText {
    kPupilCaption = 0,  // over the pupil box
    kPupilNew,          // the box's last item
    kPupilDialogTitle,
    kPupilDialogPrompt,
    kPupilDialogAccept,
    kPupilDialogCancel,
    kPupilNameEmpty,
    kPupilNameTooLong,
    kPupilNameUnprintable,
    kPupilNameTaken,
    kPupilFolderNotCreated,  // %1 the folder, %2 the system's reason
    kPupilChoiceNotKept,     // %1 the file, %2 the system's reason
    kPupilFileUnreadable,    // %1 the file, %2 the system's reason
    kPupilRename,            // the box's item after the new pupil; %1 the pupil shown
    kPupilRemove,            // the box's item after renaming, for all but the first; %1 the pupil
    kPupilRenameTitle,
    kPupilRenamePrompt,  // %1 the name in use
    kPupilRenameAccept,
    kPupilRemoveTitle,
    kPupilRemoveQuestion,  // %1 the pupil
    kPupilRemoveAccept,
    kPupilNameNotKept,  // %1 the file, %2 the system's reason
    kPupilNotRemoved,   // %1 the folder, %2 the system's reason
    kPupilStartsFirst,  // %1 the file, %2 the system's reason, %3 the first pupil's name
    kPupilTextCount
};

using PupilLanguage = Language;

// The language of the form's language row (1 Russian, 2 English) and American flag.
PupilLanguage pupilLanguage(std::uint8_t languageRow, std::uint8_t americanEnglish);

QString pupilText(PupilLanguage language, PupilText entry);

// Why a name cannot be given, in words; empty when it can.
QString nameProblemText(PupilLanguage language, pupils::NameProblem problem);

// The caption of the look's switch on the start screen, in Russian, British and American English.
QString lookSwitchText(Language language);

// The message when the chosen look cannot be kept: %1 the file, %2 the system's reason.
QString lookNotKeptText(Language language);

// The statistics key's entries: mark 0 (no answers) to 4 (the highest error rates).
QString statisticsKeyText(Language language, int mark);

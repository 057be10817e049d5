#pragma once

#include <cstdint>

#include <QString>

#include "app/Texts.h"
#include "pupils/Roster.h"

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

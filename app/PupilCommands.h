#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "pupils/Roster.h"

// The pupils' commands of the command line, for a teacher setting up a room or a script. Each
// works on a data folder while no copy of the program is open on it.
struct PupilCommand {
    enum class Kind { Add, Rename, Remove, List };
    Kind kind = Kind::List;
    QStringList names;  // Add, Remove: the name; Rename: the old name and the new one
};

struct CommandOutcome {
    int status = 0;
    QString out;  // what the command prints: the names listed, or what was done
    QString err;  // why it failed
};

CommandOutcome runPupilCommand(const PupilCommand& command, const QString& dataFolder);

// The pupil a typed name stands for, ignoring case and the spaces at its ends.
std::optional<pupils::Pupil> findPupil(const std::vector<pupils::Pupil>& pupils,
                                       const QString& typed);

// "There is no pupil NAME", followed by the names there are, one a line.
QString unknownPupilMessage(const QString& typed, const std::vector<pupils::Pupil>& pupils);

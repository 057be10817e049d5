#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "pupils/Roster.h"

// The pupils' commands of the command line, for a teacher setting up a room or a script. Each
// works on a data folder while no copy of the program is open on it; commands given at the same
// moment take turns.
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

#include "app/PupilCommands.h"

#include <QDir>
#include <QLockFile>

#include "app/SingleInstance.h"
#include "app/Texts.h"

namespace {

// A command waits this long for another command on the same folder to end.
constexpr int kCommandWaitMilliseconds = 5000;
constexpr char kCommandLockFileName[] = "kestrova-command.lock";

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

CommandOutcome failed(const QString& message) {
    return {1, {}, message + QLatin1Char('\n')};
}

CommandOutcome done(const QString& message) {
    return {0, message + QLatin1Char('\n'), {}};
}

CommandOutcome fileFailed(const QString& what, const persistence::FileFailure& failure) {
    return failed(QStringLiteral("%1: %2 (%3).").arg(what, failure.path, failure.reason));
}

QString nameRefusal(const QString& name, pupils::NameProblem problem) {
    return QStringLiteral("The name %1 cannot be given: %2")
        .arg(quoted(name), nameProblemText(PupilLanguage::British, problem));
}

CommandOutcome list(const pupils::Roster& roster) {
    QString names;
    for (const pupils::Pupil& pupil : roster.pupils()) {
        names += pupil.name + QLatin1Char('\n');
    }
    return {0, names, {}};
}

CommandOutcome add(const pupils::Roster& roster, const QString& typed) {
    const QString name = pupils::keptName(typed);
    if (const auto problem = pupils::nameProblem(name, roster.pupils());
        problem != pupils::NameProblem::None) {
        return failed(nameRefusal(name, problem));
    }
    const auto added = roster.add(name);
    if (const auto* failure = std::get_if<persistence::FileFailure>(&added)) {
        return fileFailed(QStringLiteral("The pupil's folder could not be made"), *failure);
    }
    return done(QStringLiteral("Added the pupil %1.").arg(quoted(name)));
}

CommandOutcome rename(const pupils::Roster& roster, const QString& typedOld,
                      const QString& typedNew) {
    const std::vector<pupils::Pupil> known = roster.pupils();
    const auto pupil = pupils::findPupil(known, typedOld);
    if (!pupil) {
        return failed(pupils::unknownPupilMessage(typedOld, known));
    }
    const QString name = pupils::keptName(typedNew);
    if (const auto problem = pupils::nameProblem(name, known, pupil->folder);
        problem != pupils::NameProblem::None) {
        return failed(nameRefusal(name, problem));
    }
    if (auto failure = roster.rename(*pupil, name)) {
        return fileFailed(QStringLiteral("The new name could not be kept"), *failure);
    }
    return done(
        QStringLiteral("The pupil %1 is now called %2.").arg(quoted(pupil->name), quoted(name)));
}

CommandOutcome remove(const pupils::Roster& roster, const QString& typed) {
    const std::vector<pupils::Pupil> known = roster.pupils();
    const auto pupil = pupils::findPupil(known, typed);
    if (!pupil) {
        return failed(pupils::unknownPupilMessage(typed, known));
    }
    if (known.size() == 1) {
        return failed(QStringLiteral("The pupil %1 is the only one and is not removed.")
                          .arg(quoted(pupil->name)));
    }
    if (pupil->folder.isEmpty()) {
        return failed(QStringLiteral("The pupil %1 is the first one, whose files are at the top "
                                     "of %2; they are not removed.")
                          .arg(quoted(pupil->name), roster.dataFolder()));
    }
    // Were they chosen last, the next start finds no such pupil and starts with the first one.
    if (auto failure = roster.moveToTrash(*pupil)) {
        return fileFailed(QStringLiteral("The pupil's folder could not be moved to the trash"),
                          *failure);
    }
    return done(QStringLiteral("The folder of the pupil %1 was moved to the trash.")
                    .arg(quoted(pupil->name)));
}

}  // namespace

CommandOutcome runPupilCommand(const PupilCommand& command, const QString& dataFolder) {
    const pupils::Roster roster(dataFolder);
    // Without a data folder no copy can be open on it, and a list makes none.
    if (command.kind == PupilCommand::Kind::List && !QDir(roster.dataFolder()).exists()) {
        return list(roster);
    }
    // Commands take turns on a folder. Once this one's turn has come, the folder's other lock
    // can only be held by an open program. A folder that cannot be written to takes no lock;
    // the command then says what fails.
    QDir().mkpath(roster.dataFolder());
    QLockFile turn(roster.dataFolder() + QLatin1String(kCommandLockFileName));
    turn.setStaleLockTime(0);
    if (!turn.tryLock(kCommandWaitMilliseconds) && turn.error() == QLockFile::LockFailedError) {
        return failed(QStringLiteral("Another pupils' command is running on %1. Please try "
                                     "again in a moment.")
                          .arg(roster.dataFolder()));
    }
    const SingleInstance instance(roster.dataFolder());
    if (instance.anotherCopyRuns()) {
        return failed(QStringLiteral("The program is open on %1. Please close it first.")
                          .arg(roster.dataFolder()));
    }
    switch (command.kind) {
        case PupilCommand::Kind::Add:
            return add(roster, command.names.value(0));
        case PupilCommand::Kind::Rename:
            return rename(roster, command.names.value(0), command.names.value(1));
        case PupilCommand::Kind::Remove:
            return remove(roster, command.names.value(0));
        case PupilCommand::Kind::List:
            return list(roster);
    }
    return list(roster);
}

#pragma once

#include <optional>
#include <variant>
#include <vector>

#include <QString>

#include "persistence/ProgressFiles.h"

namespace pupils {

// The longest name, in characters (code points), after trimming.
inline constexpr int kLongestName = 40;

// One pupil of a data folder. The first pupil's files are the ones at the top of the data
// folder; every further pupil has a folder of their own under pupils/.
struct Pupil {
    QString folder;  // the folder's name under pupils/; empty for the first pupil
    QString name;    // the name shown: the kept one, or the folder's name when that is damaged
    bool operator==(const Pupil&) const = default;
};

enum class NameProblem { None, Empty, TooLong, Unprintable, Taken };

// What a typed name is kept as: without spaces at either end, and without the characters that
// change the direction of writing, which would show the name's letters in another order.
QString keptName(const QString& typed);

// Whether two names look the same: in Unicode normal form C, ignoring case and the characters
// that are never seen (zero-width joiners and spaces and other format characters).
bool sameName(const QString& a, const QString& b);

// Why a kept name cannot be a pupil's name among these pupils (by sameName). A pupil being
// renamed (by folder) does not count as taking the name. A name with no visible character is
// empty.
NameProblem nameProblem(const QString& name, const std::vector<Pupil>& pupils,
                        const std::optional<QString>& renamedFolder = std::nullopt);

// The pupil a typed name stands for (by sameName, after keptName).
std::optional<Pupil> findPupil(const std::vector<Pupil>& pupils, const QString& typed);

// For the command line: "There is no pupil NAME", followed by the names there are, one a line.
QString unknownPupilMessage(const QString& typed, const std::vector<Pupil>& pupils);

// The account's full name, or its login name when it has none.
QString accountName();

// The pupils of a data folder and the last choice among them. Nothing is written and nothing
// beyond the check that pupils/ is missing is read while there is one pupil only.
class Roster {
  public:
    // dataFolder ends in a separator. firstName: the first pupil's name until it is renamed.
    explicit Roster(QString dataFolder, QString firstName = accountName());

    const QString& dataFolder() const { return dataFolder_; }

    // Every pupil: the first one first, then the others by name, ignoring case.
    std::vector<Pupil> pupils() const;
    // The folder that holds a pupil's progress files, ending in a separator.
    QString folderOf(const Pupil& pupil) const;

    // The pupil chosen last among these, or the first pupil when the choice names none of them.
    Pupil lastChosen(const std::vector<Pupil>& pupils) const;
    // Keeps the choice for the next start. Writes nothing while there is one pupil only.
    std::optional<persistence::FileFailure> setLastChosen(const Pupil& pupil) const;

    // Makes a folder for a new pupil with a name that nameProblem accepts. Its number was never
    // given before, also not to a pupil since removed: the highest number given is kept in
    // pupils/, so that a choice kept for a removed pupil opens no one else.
    std::variant<Pupil, persistence::FileFailure> add(const QString& name) const;
    std::optional<persistence::FileFailure> rename(const Pupil& pupil, const QString& name) const;
    // Moves a further pupil's folder to the desktop's trash; the first pupil's files stay.
    std::optional<persistence::FileFailure> moveToTrash(const Pupil& pupil) const;

    // Removes what killed writes left in the pupils' folders, and nothing outside the data
    // folder: a pupil's folder that is a symbolic link is left alone. Call it only while holding
    // the data folder's lock.
    void removeUnfinishedWrites() const;

  private:
    QString pupilsFolder() const;
    QString nameFilePath(const Pupil& pupil) const;
    QString choiceFilePath() const;
    QString numberFilePath() const;
    QString readName(const QString& path, const QString& fallback) const;

    QString dataFolder_;
    QString firstName_;
};

}  // namespace pupils

#pragma once

#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include "persistence/ProgressRecord.h"

namespace persistence {

// Save.dat and the error file of an operation (save2.dat, save3.dat) inside a data folder that
// ends in a separator.
QString progressFilePath(const QString& folder);
QString errorFilePath(const QString& folder, int operation);
// All three of a pupil's progress files in the folder: Save.dat, save2.dat, save3.dat.
QStringList progressFilePaths(const QString& folder);

// A file that could not be read or written, and the system's reason.
struct FileFailure {
    QString path;
    QString reason;
};

// Hands the bytes to the device; returns how many it took, or -1. Tests pass one that fails
// part-way, the way a full disk does.
using DeviceWrite = std::function<qint64(QIODevice& device, const QByteArray& bytes)>;

// Replaces the file with the bytes in one step: the new content goes to a temporary file in the
// same folder, which is renamed over the old file only when it was written whole. A failure or a
// crash at any moment leaves the old file as it was.
std::optional<FileFailure> writeFileAtomically(const QString& path, const QByteArray& bytes,
                                               const DeviceWrite& write = {});

// The bytes of a file, read only from a regular file (a symbolic link is followed) and never more
// than `limit` of them: a pipe, a device or a folder in its place is a failure rather than a wait
// or a read without end. `more` tells that the file holds bytes beyond the limit.
struct BoundedContent {
    QByteArray bytes;
    bool more = false;
};
// A missing file reads as nullopt; one that exists but cannot be read is a failure.
std::variant<std::optional<BoundedContent>, FileFailure> readRegularFile(const QString& path,
                                                                         qint64 limit);

// The most an error file can hold: every wrong answer the tables can be given is a record of
// its own. A longer file is no error file and is not read.
inline constexpr qint64 kLongestErrorFile = 10 * 10 * 256 * Terror::kSize;

// A file whose length holds no whole record (or not all whole records) is moved aside under a
// name that says it is damaged and when it was found, so that nothing is lost.
struct SetAside {
    QString originalName;
    QString newName;  // empty when the file could not be moved
    qint64 length = 0;
};

struct ErrorFileContent {
    std::vector<Terror> records;      // the whole records, in file order
    std::optional<SetAside> damaged;  // set when the length was not a multiple of 12
};

struct ProgressFileContent {
    std::optional<ProgressRecord> record;  // empty for a missing, empty or damaged file
    std::optional<SetAside> damaged;       // set for a file shorter than one record
};

// A missing file reads as empty content; a file that exists but cannot be read is a failure.
// `moment` (days since 1899-12-30) goes into the name of a damaged file that is moved aside.
std::variant<ErrorFileContent, FileFailure> readErrorFile(const QString& path, double moment);
std::variant<ProgressFileContent, FileFailure> readProgressFile(const QString& path, double moment);

// The same, read without moving or changing anything: a damaged file is reported in `damaged`
// (with no new name) and stays where it is. For readers that must leave the folder as it is.
std::variant<ErrorFileContent, FileFailure> readErrorFileInPlace(const QString& path);
std::variant<ProgressFileContent, FileFailure> readProgressFileInPlace(const QString& path);

// The record of a Save.dat that holds one, read without moving anything: for a look at the stored
// settings by a copy of the program that must leave the folder as it is.
std::optional<ProgressRecord> peekProgressRecord(const QString& path);

// The temporary file a write of the file goes to before it is renamed over the file. A write
// that was killed leaves it beside the old file, which is still whole.
QString unfinishedWritePath(const QString& path);

// Removes what killed writes left of the progress files in the folder. Call it only while no
// other process writes there.
void removeUnfinishedWrites(const QString& folder);

// Removes what a killed write of the file left, if anything.
void removeUnfinishedWrite(const QString& path);

// The names of the folders in `folder` that are not hidden (do not start with a dot), in the
// order of their names' UTF-16 code units; a symbolic link to a folder counts when `links` says
// so. None when the folder is not there or cannot be read.
enum class FolderLinks { Followed, Left };
QStringList folderNames(const QString& folder, FolderLinks links);

// Moves a damaged file of `length` bytes aside under damagedFileName.
SetAside moveDamagedAside(const QString& path, qint64 length, double moment);

// The name a damaged file is moved to: "<name>.damaged-YYYYMMDD-HHMMSS", with "-2", "-3", ...
// appended when that name is already taken.
QString damagedFileName(const QString& path, double moment);

}  // namespace persistence

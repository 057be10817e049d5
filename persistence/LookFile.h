#pragma once

#include <optional>

#include <QString>

#include "persistence/ProgressFiles.h"
#include "ui/Look.h"

namespace persistence {

// The look a pupil chose, kept in a small text file of its own in the pupil's folder, beside
// (never inside) Save.dat: a pupil who never chooses a look has no such file.
inline constexpr const char* kLookFileName = "look.txt";
inline constexpr qint64 kLongestLookFile = 64;

QString lookFilePath(const QString& folder);

// The look the folder's file names; the default look where there is no file, or it cannot be
// read or names no look.
ui::Look readLookFile(const QString& folder);

// Writes the look's file atomically.
std::optional<FileFailure> writeLookFile(const QString& folder, ui::Look look);

}  // namespace persistence

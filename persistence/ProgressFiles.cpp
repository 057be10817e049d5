#include "persistence/ProgressFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTime>

namespace persistence {

QString progressFilePath(const QString& folder) {
    return folder + QStringLiteral("Save.dat");
}

QString errorFilePath(const QString& folder, int operation) {
    return folder + QStringLiteral("save") + QString::number(operation) + QStringLiteral(".dat");
}

QStringList progressFilePaths(const QString& folder) {
    return {progressFilePath(folder), errorFilePath(folder, kMultiplication),
            errorFilePath(folder, kDivision)};
}

QString unfinishedWritePath(const QString& path) {
    return path + QStringLiteral(".writing");
}

namespace {

FileFailure failedWrite(QFile& file, const QString& path, const QString& reason) {
    file.close();
    file.remove();
    return FileFailure{path, reason};
}

}  // namespace

std::optional<FileFailure> writeFileAtomically(const QString& path, const QByteArray& bytes,
                                               const DeviceWrite& write) {
    // A fixed temporary name, unlike QSaveFile's random one, lets the next start find and remove
    // what a killed write left, and nothing else.
    QFile file(unfinishedWritePath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return FileFailure{path, file.errorString()};
    }
    const qint64 written = write ? write(file, bytes) : file.write(bytes);
    if (written != bytes.size()) {
        return failedWrite(file, path,
                           file.error() != QFileDevice::NoError
                               ? file.errorString()
                               : QStringLiteral("only %1 of %2 bytes could be written")
                                     .arg(std::max<qint64>(written, 0))
                                     .arg(bytes.size()));
    }
    // On the disk before the rename, so that a power cut leaves the old content or the new.
    if (!file.flush() || ::fdatasync(file.handle()) != 0) {
        return failedWrite(
            file, path,
            file.error() != QFileDevice::NoError ? file.errorString() : qt_error_string(errno));
    }
    file.close();
    if (::rename(QFile::encodeName(file.fileName()).constData(),
                 QFile::encodeName(path).constData()) != 0) {
        return failedWrite(file, path, qt_error_string(errno));
    }
    return std::nullopt;
}

QString damagedFileName(const QString& path, double moment) {
    const auto day = static_cast<qint64>(std::floor(moment));
    const auto millisecond = static_cast<int>(std::llround((moment - day) * 86400000.0));
    const QDateTime when(QDate(1899, 12, 30).addDays(day),
                         QTime::fromMSecsSinceStartOfDay(std::min(millisecond, 86399999)));
    const QString stem =
        path + QStringLiteral(".damaged-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = stem;
    for (int n = 2; QFileInfo::exists(name); ++n) {
        name = stem + QStringLiteral("-%1").arg(n);
    }
    return name;
}

namespace {

// The content of a progress file that exists, up to `limit` bytes; nullopt when there is none.
std::variant<std::optional<QByteArray>, FileFailure> readWholeFile(const QString& path,
                                                                   qint64 limit) {
    auto read = readRegularFile(path, limit);
    if (auto* failure = std::get_if<FileFailure>(&read)) {
        return *failure;
    }
    auto& content = std::get<std::optional<BoundedContent>>(read);
    if (!content) {
        return std::optional<QByteArray>{};
    }
    return std::optional<QByteArray>{std::move(content->bytes)};
}

}  // namespace

std::variant<std::optional<BoundedContent>, FileFailure> readRegularFile(const QString& path,
                                                                         qint64 limit) {
    // Opened without waiting, so that a pipe with no writer cannot hold the program, then
    // looked at before a byte is read.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ENOENT) {
            return std::optional<BoundedContent>{};
        }
        return FileFailure{path, qt_error_string(errno)};
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int reason = errno;
        ::close(descriptor);
        return FileFailure{path, qt_error_string(reason)};
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return FileFailure{path, S_ISDIR(status.st_mode)
                                     ? QStringLiteral("it is a folder, not a file")
                                     : QStringLiteral("it is not a regular file")};
    }
    BoundedContent content;
    // One byte past the limit tells whether there is more.
    content.bytes.resize(std::min<qint64>(limit + 1, std::max<qint64>(status.st_size, 0) + 1));
    qint64 filled = 0;
    for (;;) {
        if (filled == content.bytes.size()) {
            if (filled > limit) {
                break;
            }
            // The file grew since it was looked at: read on in steps, up to the limit.
            content.bytes.resize(std::min<qint64>(limit + 1, filled + 4096));
        }
        const ssize_t got = ::read(descriptor, content.bytes.data() + filled,
                                   static_cast<size_t>(content.bytes.size() - filled));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int reason = errno;
            ::close(descriptor);
            return FileFailure{path, qt_error_string(reason)};
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    ::close(descriptor);
    content.more = filled > limit;
    content.bytes.truncate(std::min(filled, limit));
    return std::optional<BoundedContent>{std::move(content)};
}

SetAside moveDamagedAside(const QString& path, qint64 length, double moment) {
    SetAside aside{QFileInfo(path).fileName(), {}, length};
    const QString target = damagedFileName(path, moment);
    if (QFile::rename(path, target)) {
        aside.newName = QFileInfo(target).fileName();
    }
    return aside;
}

namespace {

template <std::size_t N>
std::array<std::uint8_t, N> recordAt(const QByteArray& bytes, qsizetype offset) {
    std::array<std::uint8_t, N> record{};
    for (std::size_t i = 0; i < N; ++i) {
        record[i] = static_cast<std::uint8_t>(bytes[offset + static_cast<qsizetype>(i)]);
    }
    return record;
}

}  // namespace

std::variant<ErrorFileContent, FileFailure> readErrorFileInPlace(const QString& path) {
    auto read = readWholeFile(path, kLongestErrorFile + 1);
    if (auto* failure = std::get_if<FileFailure>(&read)) {
        return *failure;
    }
    ErrorFileContent content;
    const auto& bytes = std::get<std::optional<QByteArray>>(read);
    if (!bytes) {
        return content;
    }
    if (bytes->size() > kLongestErrorFile) {
        return FileFailure{path, QStringLiteral("it is longer than an error file can be (more "
                                                "than %1 bytes)")
                                     .arg(kLongestErrorFile)};
    }
    const qsizetype whole = bytes->size() / Terror::kSize;
    content.records.reserve(static_cast<std::size_t>(whole));
    for (qsizetype i = 0; i < whole; ++i) {
        content.records.push_back(decodeTerror(recordAt<Terror::kSize>(*bytes, i * Terror::kSize)));
    }
    if (bytes->size() % Terror::kSize != 0) {
        content.damaged = SetAside{QFileInfo(path).fileName(), {}, bytes->size()};
    }
    return content;
}

std::variant<ErrorFileContent, FileFailure> readErrorFile(const QString& path, double moment) {
    auto read = readErrorFileInPlace(path);
    if (auto* content = std::get_if<ErrorFileContent>(&read); content && content->damaged) {
        content->damaged = moveDamagedAside(path, content->damaged->length, moment);
    }
    return read;
}

std::variant<ProgressFileContent, FileFailure> readProgressFileInPlace(const QString& path) {
    // Bytes after the first record are not read.
    auto read = readWholeFile(path, ProgressRecord::kSize);
    if (auto* failure = std::get_if<FileFailure>(&read)) {
        return *failure;
    }
    ProgressFileContent content;
    const auto& bytes = std::get<std::optional<QByteArray>>(read);
    if (!bytes || bytes->isEmpty()) {
        return content;
    }
    if (bytes->size() < ProgressRecord::kSize) {
        content.damaged = SetAside{QFileInfo(path).fileName(), {}, bytes->size()};
        return content;
    }
    content.record = decodeProgressRecord(recordAt<ProgressRecord::kSize>(*bytes, 0));
    return content;
}

std::variant<ProgressFileContent, FileFailure> readProgressFile(const QString& path,
                                                                double moment) {
    auto read = readProgressFileInPlace(path);
    if (auto* content = std::get_if<ProgressFileContent>(&read); content && content->damaged) {
        content->damaged = moveDamagedAside(path, content->damaged->length, moment);
    }
    return read;
}

std::optional<ProgressRecord> peekProgressRecord(const QString& path) {
    const auto read = readWholeFile(path, ProgressRecord::kSize);
    const auto* bytes = std::get_if<std::optional<QByteArray>>(&read);
    if (bytes == nullptr || !*bytes || (*bytes)->size() < ProgressRecord::kSize) {
        return std::nullopt;
    }
    return decodeProgressRecord(recordAt<ProgressRecord::kSize>(**bytes, 0));
}

// The clean-up runs at every start for every pupil, and most of the time there is nothing to
// remove: one system call for each, no file object.
void removeUnfinishedWrite(const QString& path) {
    ::unlink(QFile::encodeName(unfinishedWritePath(path)).constData());
}

void removeUnfinishedWrites(const QString& folder) {
    for (const QString& path : progressFilePaths(folder)) {
        removeUnfinishedWrite(path);
    }
}

QStringList folderNames(const QString& folder, FolderLinks links) {
    QStringList names;
    DIR* listing = ::opendir(QFile::encodeName(folder).constData());
    if (listing == nullptr) {
        return names;
    }
    const int descriptor = ::dirfd(listing);
    while (const dirent* entry = ::readdir(listing)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        bool isFolder = entry->d_type == DT_DIR;
        const bool look = entry->d_type == DT_UNKNOWN ||
                          (entry->d_type == DT_LNK && links == FolderLinks::Followed);
        if (look) {
            struct stat status {};
            isFolder = ::fstatat(descriptor, entry->d_name, &status,
                                 links == FolderLinks::Followed ? 0 : AT_SYMLINK_NOFOLLOW) == 0 &&
                       S_ISDIR(status.st_mode);
        }
        if (isFolder) {
            names.append(QFile::decodeName(entry->d_name));
        }
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace persistence

#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "ui/Fonts.h"

namespace fuzz {

namespace {

// Never destroyed: libFuzzer ends the process from inside its loop, and an application torn down
// by the exit handlers after Qt's own would crash.
QGuiApplication* application = nullptr;
std::unique_ptr<QTemporaryDir> workFolder;

struct DirectoryEntry {
    ino64_t ino;
    off64_t off;
    unsigned short reclen;
    unsigned char type;
    char name[1];
};

bool dotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Calls `each(name, folder)` for every entry of the folder open as `descriptor`, "." and ".."
// left out. The entries are listed into a buffer on the stack: opendir's buffer alone would cost
// more under AddressSanitizer than the reading it surrounds. False when the folder cannot be
// listed or `each` says so.
// `whole` tells that a listing that leaves room in the buffer for another entry has them all, as
// it has on tmpfs: one system call less for each folder.
template <typename Each>
bool eachEntry(int descriptor, Each each, bool whole = false) {
    alignas(8) char buffer[8192];
    // Room for an entry with the longest name.
    constexpr long kLongestEntry = sizeof(DirectoryEntry) + 256;
    for (bool done = false; !done;) {
        const long got = ::syscall(SYS_getdents64, descriptor, buffer, sizeof buffer);
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        for (long at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const DirectoryEntry*>(buffer + at);
            at += entry->reclen;
            if (dotOrDotDot(entry->name)) {
                continue;
            }
            bool folder = entry->type == DT_DIR;
            if (entry->type == DT_UNKNOWN) {
                struct stat status {};
                folder = ::fstatat(descriptor, entry->name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
                         S_ISDIR(status.st_mode);
            }
            if (!each(entry->name, folder)) {
                return false;
            }
        }
        done = whole && got + kLongestEntry <= static_cast<long>(sizeof buffer);
    }
    return true;
}

bool removeFolder(int parent, const char* name);

// Empties the folder open as `folder`, folders inside it included, without following links.
// A listing cut short leaves the folder not empty, and removeFolder empties it again.
bool emptyFolder(int folder) {
    return eachEntry(
        folder,
        [folder](const char* name, bool isFolder) {
            return isFolder ? removeFolder(folder, name) : ::unlinkat(folder, name, 0) == 0;
        },
        true);
}

bool removeFolder(int parent, const char* name) {
    // Most folders the targets make are empty by the end, and go in one call.
    if (::unlinkat(parent, name, AT_REMOVEDIR) == 0) {
        return true;
    }
    if (errno != ENOTEMPTY && errno != EEXIST) {
        return false;
    }
    // Entries removed while listing may hide others from the same listing: emptied again until
    // the folder itself can go.
    for (int tries = 0; tries < 8; ++tries) {
        const int inner = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (inner < 0) {
            return false;
        }
        const bool emptied = emptyFolder(inner);
        ::close(inner);
        if (!emptied) {
            return false;
        }
        if (::unlinkat(parent, name, AT_REMOVEDIR) == 0) {
            return true;
        }
        if (errno != ENOTEMPTY) {
            return false;
        }
    }
    return false;
}

// On tmpfs a listing fills the buffer with every entry that fits: one that leaves room has them
// all. Elsewhere a listing may stop short of the end, and is asked again until it gives nothing.
bool wholeListings = false;

void listTree(int descriptor, const QString& path, std::vector<TreeEntry>& found) {
    eachEntry(
        descriptor,
        [&](const char* name, bool folder) {
            const QString entryPath = path + QFile::decodeName(name);
            found.push_back({entryPath, folder});
            if (folder) {
                const int inner =
                    ::openat(descriptor, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (inner >= 0) {
                    listTree(inner, entryPath + QLatin1Char('/'), found);
                    ::close(inner);
                }
            }
            return true;
        },
        wholeListings);
}

}  // namespace

void startApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(*argc, *argv);
    ui::loadBundledFonts();
    // In memory where there is room, so that the runs are not held up by the disk.
    const QString memory = QStringLiteral("/dev/shm");
    const QString parent = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
    workFolder = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/kestrova-fuzz-XXXXXX"));
    if (!workFolder->isValid()) {
        fail(QStringLiteral("no temporary folder"));
    }
    struct statfs system {};
    wholeListings = ::statfs(QFile::encodeName(workFolder->path()).constData(), &system) == 0 &&
                    system.f_type == TMPFS_MAGIC;
}

// The files are small and the runs many: plain system calls, which cost a fraction of Qt's
// directory iterators and buffered files under the sanitizers.
QString freshDataFolder() {
    static const QString folder = workFolder->path() + QStringLiteral("/Kestrova/");
    static const QByteArray name = QFile::encodeName(workFolder->path());
    static const int parent = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0 || ((!removeFolder(parent, "Kestrova") && errno != ENOENT) ||
                       ::mkdirat(parent, "Kestrova", 0700) != 0)) {
        fail(QStringLiteral("cannot empty ") + folder);
    }
    return folder;
}

bool makeFolder(const QString& path) {
    struct stat status {};
    const QByteArray name = QFile::encodeName(path);
    return ::mkdir(name.constData(), 0700) == 0 ||
           (errno == EEXIST && ::stat(name.constData(), &status) == 0 && S_ISDIR(status.st_mode));
}

std::vector<TreeEntry> treeOf(const QString& folder) {
    std::vector<TreeEntry> found;
    const int descriptor = ::open(QFile::encodeName(folder).constData(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor >= 0) {
        listTree(descriptor, folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'),
                 found);
        ::close(descriptor);
    }
    std::sort(found.begin(), found.end(),
              [](const TreeEntry& a, const TreeEntry& b) { return a.path < b.path; });
    return found;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    qsizetype written = 0;
    while (descriptor >= 0 && written < bytes.size()) {
        const ssize_t n = ::write(descriptor, bytes.constData() + written,
                                  static_cast<size_t>(bytes.size() - written));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += n;
    }
    if (descriptor < 0 || ::close(descriptor) != 0 || written != bytes.size()) {
        fail(QStringLiteral("cannot write ") + path);
    }
}

QByteArray readFile(const QString& path) {
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return QByteArray();
    }
    QByteArray bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        bytes.append(buffer, n);
    }
    ::close(descriptor);
    return bytes;
}

void fail(const QString& what) {
    std::fprintf(stderr, "FAULT: %s\n", qPrintable(what));
    std::abort();
}

}  // namespace fuzz

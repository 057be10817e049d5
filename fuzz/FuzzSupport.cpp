#include "fuzz/FuzzSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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

// Empties the folder open as `folder`, folders inside it included, without following links.
// The entries are listed into a buffer on the stack: opendir's buffer alone would cost more
// under AddressSanitizer than the rest of a start's reading.
bool emptyFolder(int folder) {
    struct Entry {
        ino64_t ino;
        off64_t off;
        unsigned short reclen;
        unsigned char type;
        char name[1];
    };
    alignas(8) char buffer[8192];
    // Entries removed while listing may hide others from the same listing: list until a whole
    // listing finds nothing to remove.
    for (bool removed = true; removed;) {
        removed = false;
        ::lseek(folder, 0, SEEK_SET);
        for (;;) {
            const long got = ::syscall(SYS_getdents64, folder, buffer, sizeof buffer);
            if (got < 0) {
                return false;
            }
            if (got == 0) {
                break;
            }
            for (long at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const Entry*>(buffer + at);
                at += entry->reclen;
                const char* name = entry->name;
                if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
                    continue;
                }
                removed = true;
                if (::unlinkat(folder, name, 0) == 0) {
                    continue;
                }
                if (errno != EISDIR) {
                    return false;
                }
                const int inner =
                    ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                const bool emptied = inner >= 0 && emptyFolder(inner);
                if (inner >= 0) {
                    ::close(inner);
                }
                if (!emptied || ::unlinkat(folder, name, AT_REMOVEDIR) != 0) {
                    return false;
                }
            }
        }
    }
    return true;
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
}

// The files are small and the runs many: plain system calls, which cost a fraction of Qt's
// directory iterators and buffered files under the sanitizers.
QString freshDataFolder() {
    static const QString folder = workFolder->path() + QStringLiteral("/Kestrova/");
    static const QByteArray name = QFile::encodeName(folder);
    const int open = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (open < 0 && errno == ENOENT && ::mkdir(name.constData(), 0700) == 0) {
        return folder;
    }
    const bool emptied = open >= 0 && emptyFolder(open);
    if (open >= 0) {
        ::close(open);
    }
    if (!emptied) {
        fail(QStringLiteral("cannot empty ") + folder);
    }
    return folder;
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

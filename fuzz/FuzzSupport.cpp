#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

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

QString freshDataFolder() {
    const QString folder = workFolder->path() + QStringLiteral("/Kestrova/");
    QDir(folder).removeRecursively();
    if (!QDir().mkpath(folder)) {
        fail(QStringLiteral("cannot make ") + folder);
    }
    return folder;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        fail(QStringLiteral("cannot write ") + path);
    }
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fail(const QString& what) {
    std::fprintf(stderr, "FAULT: %s\n", qPrintable(what));
    std::abort();
}

}  // namespace fuzz

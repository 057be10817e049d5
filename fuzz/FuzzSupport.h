#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <QByteArray>
#include <QString>

// What every fuzz target shares: a headless Qt application with the bundled fonts, and one data
// folder of its own that each input starts from empty.
namespace fuzz {

// Call once from LLVMFuzzerInitialize.
void startApplication(int* argc, char*** argv);

// An empty data folder (ending in a separator) for the next input.
QString freshDataFolder();

// Makes the folder; true when it is there, made now or before. A file of its name is left.
bool makeFolder(const QString& path);

// Every file and folder under the folder, links not followed, in the order of their paths.
struct TreeEntry {
    QString path;
    bool folder = false;
    bool operator==(const TreeEntry&) const = default;
};
std::vector<TreeEntry> treeOf(const QString& folder);

void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

inline QByteArray bytesOf(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A fault the loaders must never show: printed, then the target stops so that libFuzzer keeps
// the input.
[[noreturn]] void fail(const QString& what);

// The moment the targets load at (days since 1899-12-30): the name of a damaged file has it.
constexpr double kMoment = 46000.5;

}  // namespace fuzz

// Arbitrary bytes as an error file, read the way the program reads it.
#include <QFileInfo>

#include "fuzz/FuzzSupport.h"
#include "persistence/ProgressFiles.h"

using namespace persistence;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = fuzz::freshDataFolder();
    const QString path = errorFilePath(folder, kMultiplication);
    const QByteArray bytes = fuzz::bytesOf(data, size);
    fuzz::writeFile(path, bytes);

    const auto read = readErrorFile(path, fuzz::kMoment);
    const auto* content = std::get_if<ErrorFileContent>(&read);
    if (content == nullptr) {
        fuzz::fail(QStringLiteral("a readable error file was not read"));
    }

    // Every whole record is kept, in order, with all its bytes.
    if (content->records.size() != static_cast<std::size_t>(bytes.size() / Terror::kSize)) {
        fuzz::fail(QStringLiteral("%1 records from %2 bytes")
                       .arg(content->records.size())
                       .arg(bytes.size()));
    }
    QByteArray written;
    for (const Terror& record : content->records) {
        const auto encoded = encode(record);
        written.append(reinterpret_cast<const char*>(encoded.data()), Terror::kSize);
    }
    if (written != bytes.left(written.size())) {
        fuzz::fail(QStringLiteral("the records do not write back to the bytes they came from"));
    }

    const bool partial = bytes.size() % Terror::kSize != 0;
    if (content->damaged.has_value() != partial) {
        fuzz::fail(QStringLiteral("a file of %1 bytes is judged wrongly").arg(bytes.size()));
    }
    if (content->damaged &&
        (content->damaged->newName.isEmpty() ||
         fuzz::readFile(folder + content->damaged->newName) != bytes || QFileInfo::exists(path))) {
        fuzz::fail(QStringLiteral("a damaged error file was not kept aside whole"));
    }
    return 0;
}

// Arbitrary bytes as Save.dat, read the way the program reads it.
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
    const QString path = progressFilePath(folder);
    const QByteArray bytes = fuzz::bytesOf(data, size);
    fuzz::writeFile(path, bytes);

    const auto peeked = peekProgressRecord(path);
    const auto read = readProgressFile(path, fuzz::kMoment);
    const auto* content = std::get_if<ProgressFileContent>(&read);
    if (content == nullptr) {
        fuzz::fail(QStringLiteral("a readable Save.dat was not read"));
    }

    // Every byte of the record, padding included, is kept as it was read; a look at the file
    // reads the same record.
    auto bytesOfRecord = [](const std::optional<ProgressRecord>& record) {
        if (!record) {
            return QByteArray();
        }
        const auto encoded = encode(*record);
        return QByteArray(reinterpret_cast<const char*>(encoded.data()), ProgressRecord::kSize);
    };
    if (content->record && bytesOfRecord(content->record) != bytes.left(ProgressRecord::kSize)) {
        fuzz::fail(QStringLiteral("the record does not write back to the bytes it came from"));
    }
    if (bytesOfRecord(peeked) != bytesOfRecord(content->record)) {
        fuzz::fail(QStringLiteral("a look at the file reads another record than the loader"));
    }

    // An empty file reads as none, a short one is damaged, a longer one gives its first record.
    const bool tooShort = !bytes.isEmpty() && bytes.size() < ProgressRecord::kSize;
    const bool whole = bytes.size() >= ProgressRecord::kSize;
    if (content->damaged.has_value() != tooShort || content->record.has_value() != whole) {
        fuzz::fail(QStringLiteral("a file of %1 bytes is judged wrongly").arg(bytes.size()));
    }
    if (content->damaged) {
        // Nothing is lost: the damaged file is kept whole under its new name.
        if (content->damaged->newName.isEmpty() ||
            fuzz::readFile(folder + content->damaged->newName) != bytes ||
            QFileInfo::exists(path)) {
            fuzz::fail(QStringLiteral("a damaged Save.dat was not kept aside whole"));
        }
    }
    return 0;
}

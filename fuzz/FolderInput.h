#pragma once

#include <vector>

#include <QByteArray>
#include <QDir>
#include <QString>

// A whole data folder as one fuzz input: the first pupil's files at the top, the roster's files
// in pupils/, and a few further pupils' folders with files of their own. Each file is a byte
// choosing its place, its length in two bytes (little-endian), and its bytes. The place byte's
// low three bits choose the pupil (0 the first, k the folder pupils/pupil-(k+1)), the next three
// the file; a file given twice keeps the last bytes.
namespace fuzz {

struct FolderInput {
    struct File {
        int pupil = 0;  // 0: the first pupil; k: pupils/pupil-(k+1)
        int kind = 0;   // an index into kFileNames
        QByteArray bytes;
    };
    std::vector<File> files;

    static constexpr int kPupils = 8;
    // Each pupil's files; the last two are the roster's, in pupils/ whoever is chosen.
    static constexpr const char* kFileNames[] = {"Save.dat", "save2.dat",  "save3.dat",
                                                 "name.txt", "chosen.txt", "last-number.txt"};
    static constexpr int kKinds = sizeof kFileNames / sizeof kFileNames[0];

    // The file's path under the data folder.
    static QString pathOf(int pupil, int kind) {
        const QString name = QString::fromLatin1(kFileNames[kind]);
        if (kind >= 4) {
            return QStringLiteral("pupils/") + name;
        }
        return pupil == 0 ? name : QStringLiteral("pupils/pupil-%1/%2").arg(pupil + 1).arg(name);
    }

    static FolderInput parse(const QByteArray& bytes) {
        FolderInput input;
        for (qsizetype at = 0; at + 3 <= bytes.size();) {
            const auto place = static_cast<unsigned char>(bytes[at]);
            const qsizetype length = static_cast<unsigned char>(bytes[at + 1]) |
                                     (static_cast<unsigned char>(bytes[at + 2]) << 8);
            at += 3;
            input.files.push_back(
                {place % kPupils, (place / kPupils) % kKinds, bytes.mid(at, length)});
            at += length;
        }
        return input;
    }

    QByteArray serialise() const {
        QByteArray bytes;
        for (const File& file : files) {
            bytes.append(static_cast<char>(file.pupil + kPupils * file.kind));
            bytes.append(static_cast<char>(file.bytes.size() & 0xFF));
            bytes.append(static_cast<char>((file.bytes.size() >> 8) & 0xFF));
            bytes.append(file.bytes.left(0xFFFF));
        }
        return bytes;
    }

    // The files of a data folder (ending in a separator) that this input can hold.
    static FolderInput of(const QString& folder) {
        FolderInput input;
        for (int pupil = 0; pupil < kPupils; ++pupil) {
            for (int kind = 0; kind < kKinds; ++kind) {
                if (kind >= 4 && pupil > 0) {
                    continue;
                }
                QFile file(folder + pathOf(pupil, kind));
                if (file.open(QIODevice::ReadOnly)) {
                    input.files.push_back({pupil, kind, file.readAll()});
                }
            }
        }
        return input;
    }
};

}  // namespace fuzz

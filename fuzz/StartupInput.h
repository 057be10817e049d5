#pragma once

#include <algorithm>
#include <optional>

#include <QByteArray>

namespace fuzz {

// The files of one start: a flags byte (bit 0 Save.dat exists, bit 1 save2.dat exists), the
// length of Save.dat in two bytes (little-endian), Save.dat's bytes, then save2.dat's bytes.
struct StartupInput {
    std::optional<QByteArray> saveDat;
    std::optional<QByteArray> errorFile;

    static StartupInput parse(const QByteArray& bytes) {
        StartupInput input;
        if (bytes.size() < 3) {
            return input;
        }
        const auto flags = static_cast<unsigned char>(bytes[0]);
        const qsizetype length =
            static_cast<unsigned char>(bytes[1]) | (static_cast<unsigned char>(bytes[2]) << 8);
        const QByteArray rest = bytes.mid(3);
        if (flags & 1) {
            input.saveDat = rest.left(length);
        }
        if (flags & 2) {
            input.errorFile = rest.mid(std::min(length, rest.size()));
        }
        return input;
    }

    QByteArray serialise() const {
        const qsizetype length = saveDat ? saveDat->size() : 0;
        QByteArray bytes;
        bytes.append(static_cast<char>((saveDat ? 1 : 0) | (errorFile ? 2 : 0)));
        bytes.append(static_cast<char>(length & 0xFF));
        bytes.append(static_cast<char>((length >> 8) & 0xFF));
        bytes.append(saveDat.value_or(QByteArray()));
        bytes.append(errorFile.value_or(QByteArray()));
        return bytes;
    }
};

}  // namespace fuzz

#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

// A data folder's roster as one fuzz input: the first pupil's name.txt, pupils/chosen.txt,
// pupils/last-number.txt, and the further pupils' folders with their name.txt, each part after a
// record separator (0x1E), a folder's name and its name file apart by a unit separator (0x1F).
namespace fuzz {

struct RosterInput {
    struct Folder {
        QString name;
        QByteArray nameFile;
    };
    QByteArray firstNameFile;  // empty: no name.txt
    QByteArray choiceFile;     // empty: no chosen.txt
    QByteArray numberFile;     // empty: no last-number.txt
    std::vector<Folder> folders;

    static constexpr char kPart = 0x1E;
    static constexpr char kUnit = 0x1F;
    // Few folders are enough to meet every way of listing them.
    static constexpr std::size_t kMostFolders = 8;

    static RosterInput parse(const QByteArray& bytes) {
        RosterInput input;
        const QList<QByteArray> parts = bytes.split(kPart);
        input.firstNameFile = parts.value(0);
        input.choiceFile = parts.value(1);
        input.numberFile = parts.value(2);
        for (qsizetype i = 3; i < parts.size() && input.folders.size() < kMostFolders; ++i) {
            const qsizetype unit = parts[i].indexOf(kUnit);
            // A folder's name is what a file system takes: no separator, no NUL, not . or ..
            QString name = QString::fromUtf8(unit < 0 ? parts[i] : parts[i].left(unit)).left(60);
            name.remove(QLatin1Char('/'));
            name.remove(QChar(0));
            if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
                continue;
            }
            input.folders.push_back({name, unit < 0 ? QByteArray() : parts[i].mid(unit + 1)});
        }
        return input;
    }

    QByteArray serialise() const {
        QByteArray bytes = firstNameFile + kPart + choiceFile + kPart + numberFile;
        for (const Folder& folder : folders) {
            bytes += kPart + folder.name.toUtf8() + kUnit + folder.nameFile;
        }
        return bytes;
    }
};

}  // namespace fuzz

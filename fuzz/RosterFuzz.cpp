// Arbitrary name files, choices, numbers given and pupils' folders, read the way the program
// reads its roster:
// every pupil is listed under a name that can be told apart or under their folder's, the choice
// names one of them, a new pupil gets a number never given, and the clean-up removes only what
// killed writes left.
#include <algorithm>

#include <QFileInfo>
#include <QStringDecoder>

#include "fuzz/FuzzSupport.h"
#include "fuzz/RosterInput.h"
#include "persistence/ProgressFiles.h"
#include "pupils/Roster.h"

namespace {

const QString kFirstName = QStringLiteral("Anna");

QStringList everythingUnder(const QString& folder) {
    QStringList found;
    for (const fuzz::TreeEntry& entry : fuzz::treeOf(folder)) {
        found << entry.path;
    }
    return found;
}

bool isFolder(const QString& path) {
    return QFileInfo(path).isDir();
}

qint64 numberOf(const QString& folder) {
    bool ok = false;
    const qint64 n = folder.startsWith(QLatin1String("pupil-")) ? folder.mid(6).toLongLong(&ok) : 0;
    return ok ? n : 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString folder = fuzz::freshDataFolder();
    const fuzz::RosterInput input = fuzz::RosterInput::parse(fuzz::bytesOf(data, size));
    if (!input.firstNameFile.isEmpty()) {
        fuzz::writeFile(folder + "name.txt", input.firstNameFile);
    }
    fuzz::makeFolder(folder + "pupils");
    if (!input.choiceFile.isEmpty()) {
        fuzz::writeFile(folder + "pupils/chosen.txt", input.choiceFile);
    }
    if (!input.numberFile.isEmpty()) {
        fuzz::writeFile(folder + "pupils/last-number.txt", input.numberFile);
    }
    // A folder named as one of the roster's files given is not made: the file has the name.
    for (const auto& f : input.folders) {
        if (fuzz::makeFolder(folder + "pupils/" + f.name) && !f.nameFile.isEmpty()) {
            fuzz::writeFile(folder + "pupils/" + f.name + "/name.txt", f.nameFile);
        }
    }

    const pupils::Roster roster(folder, kFirstName);
    const std::vector<pupils::Pupil> all = roster.pupils();
    if (all.empty() || !all.front().folder.isEmpty()) {
        fuzz::fail(QStringLiteral("the first pupil is not listed first"));
    }
    // A name is one a pupil could be given, kept as read; else the folder's (or the account's).
    for (const pupils::Pupil& pupil : all) {
        const QString fallback = pupil.folder.isEmpty() ? kFirstName : pupil.folder;
        const bool given = pupils::nameProblem(pupil.name, {}) == pupils::NameProblem::None &&
                           pupils::keptName(pupil.name) == pupil.name;
        if (pupil.name != fallback && !given) {
            fuzz::fail(QStringLiteral("the pupil in %1 is listed as \"%2\"")
                           .arg(pupil.folder, pupil.name));
        }
        // A folder's name shown in place of a damaged name may be none a pupil could type.
        if (given && !pupils::findPupil(all, pupil.name)) {
            fuzz::fail(QStringLiteral("\"%1\" is listed but not found").arg(pupil.name));
        }
    }
    const pupils::Pupil chosen = roster.lastChosen(all);
    if (std::find(all.begin(), all.end(), chosen) == all.end()) {
        fuzz::fail(QStringLiteral("the choice names no listed pupil"));
    }

    // A new pupil under the last folder's name file, read as a typed name.
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString typed = input.folders.empty() ? QString() : decode(input.folders.back().nameFile);
    const QString name = pupils::keptName(typed);
    // A folder where the number is kept, or where it is written before, leaves no place to keep
    // it: no pupil can be made.
    const QString numberPath = folder + "pupils/last-number.txt";
    const bool numberBlocked =
        isFolder(numberPath) || isFolder(persistence::unfinishedWritePath(numberPath));
    if (pupils::nameProblem(name, all) == pupils::NameProblem::None && !numberBlocked) {
        const auto added = roster.add(name);
        const auto* pupil = std::get_if<pupils::Pupil>(&added);
        if (pupil == nullptr) {
            fuzz::fail(QStringLiteral("\"%1\" could not be added").arg(name));
        }
        for (const auto& f : input.folders) {
            if (numberOf(f.name) > 0 && numberOf(f.name) < (qint64{1} << 53) &&
                numberOf(pupil->folder) <= numberOf(f.name)) {
                fuzz::fail(QStringLiteral("%1 given beside %2").arg(pupil->folder, f.name));
            }
        }
        // A number kept as given is never given again, and the new one is kept.
        QStringDecoder strict(QStringDecoder::Utf8);
        const QString keptText = QString(strict(input.numberFile)).trimmed();
        bool keptRead = false;
        const qint64 kept = keptText.toLongLong(&keptRead);
        if (input.numberFile.size() <= 32 && !strict.hasError() && keptRead && kept > 0 &&
            kept <= (qint64{1} << 53) && numberOf(pupil->folder) <= kept) {
            fuzz::fail(
                QStringLiteral("%1 given after number %2 was kept").arg(pupil->folder).arg(kept));
        }
        if (fuzz::readFile(folder + "pupils/last-number.txt").trimmed().toLongLong() !=
            numberOf(pupil->folder)) {
            fuzz::fail(QStringLiteral("the number of %1 was not kept").arg(pupil->folder));
        }
        const auto found = pupils::findPupil(roster.pupils(), typed);
        if (!found || found->folder != pupil->folder || found->name != name) {
            fuzz::fail(QStringLiteral("the new pupil \"%1\" is not found as typed").arg(name));
        }
    }

    // What the clean-up removes is what killed writes left, and nothing else.
    // A folder of that name was made by hand: it is not the program's to remove.
    const QString left = persistence::unfinishedWritePath(folder + "pupils/chosen.txt");
    const bool leftIsFolder = isFolder(left);
    if (!leftIsFolder) {
        fuzz::writeFile(left, "x");
    }
    const QStringList before = everythingUnder(folder);
    roster.removeUnfinishedWrites();
    QStringList expected = before;
    if (!leftIsFolder) {
        expected.removeAll(left);
    }
    if (everythingUnder(folder) != expected) {
        fuzz::fail(QStringLiteral("the clean-up removed more or less than the unfinished write"));
    }
    return 0;
}

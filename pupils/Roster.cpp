#include "pupils/Roster.h"

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace pupils {

namespace {

const QString kPupilsFolder = QStringLiteral("pupils");
const QString kNameFile = QStringLiteral("name.txt");
const QString kChoiceFile = QStringLiteral("chosen.txt");
// Further pupils' folders are numbered; the first pupil is number 1.
const QString kFolderPrefix = QStringLiteral("pupil-");
// A name file longer than this holds no name of at most 40 characters.
constexpr qint64 kLongestNameFile = 1024;

bool unprintable(char32_t c) {
    switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return false;
    }
}

// The number of a folder named "pupil-N", or 0.
int folderNumber(const QString& folder) {
    if (!folder.startsWith(kFolderPrefix)) {
        return 0;
    }
    bool ok = false;
    const int n = folder.mid(kFolderPrefix.size()).toInt(&ok);
    return ok && n > 0 ? n : 0;
}

QByteArray nameBytes(const QString& name) {
    return name.toUtf8() + '\n';
}

}  // namespace

QString keptName(const QString& typed) {
    return typed.trimmed();
}

NameProblem nameProblem(const QString& name, const std::vector<Pupil>& pupils,
                        const std::optional<QString>& renamedFolder) {
    if (name.isEmpty()) {
        return NameProblem::Empty;
    }
    if (!name.isValidUtf16()) {
        return NameProblem::Unprintable;
    }
    const QList<uint> characters = name.toUcs4();
    if (characters.size() > kLongestName) {
        return NameProblem::TooLong;
    }
    if (std::any_of(characters.begin(), characters.end(),
                    [](uint c) { return unprintable(static_cast<char32_t>(c)); })) {
        return NameProblem::Unprintable;
    }
    for (const Pupil& pupil : pupils) {
        if (renamedFolder && pupil.folder == *renamedFolder) {
            continue;
        }
        if (pupil.name.compare(name, Qt::CaseInsensitive) == 0) {
            return NameProblem::Taken;
        }
    }
    return NameProblem::None;
}

QString accountName() {
    if (const passwd* account = ::getpwuid(::getuid())) {
        // The full name is the first field of the comment; the others hold an office or a phone.
        const QString fullName =
            QString::fromLocal8Bit(account->pw_gecos).section(QLatin1Char(','), 0, 0).trimmed();
        if (!fullName.isEmpty()) {
            return fullName;
        }
        const QString login = QString::fromLocal8Bit(account->pw_name).trimmed();
        if (!login.isEmpty()) {
            return login;
        }
    }
    const QString login = qEnvironmentVariable("USER").trimmed();
    return login.isEmpty() ? QStringLiteral("1") : login;
}

Roster::Roster(QString dataFolder, QString firstName)
    : dataFolder_(std::move(dataFolder)), firstName_(std::move(firstName)) {
    if (!dataFolder_.endsWith(QLatin1Char('/'))) {
        dataFolder_ += QLatin1Char('/');
    }
}

QString Roster::pupilsFolder() const {
    return dataFolder_ + kPupilsFolder + QLatin1Char('/');
}

QString Roster::folderOf(const Pupil& pupil) const {
    return pupil.folder.isEmpty() ? dataFolder_ : pupilsFolder() + pupil.folder + QLatin1Char('/');
}

QString Roster::nameFilePath(const Pupil& pupil) const {
    return folderOf(pupil) + kNameFile;
}

QString Roster::choiceFilePath() const {
    return pupilsFolder() + kChoiceFile;
}

// A name file that is missing, unreadable, not UTF-8 or holds no name a pupil could be given
// shows the fallback instead.
QString Roster::readName(const QString& path, const QString& fallback) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLongestNameFile) {
        return fallback;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString name = keptName(decode(bytes));
    if (decode.hasError() || nameProblem(name, {}) != NameProblem::None) {
        return fallback;
    }
    return name;
}

std::vector<Pupil> Roster::pupils() const {
    std::vector<Pupil> found{{QString(), firstName_}};
    // One pupil alone has no name file and no pupils/ folder: this one look is all it costs.
    if (QFileInfo::exists(dataFolder_ + kNameFile)) {
        found.front().name = readName(dataFolder_ + kNameFile, firstName_);
    }
    const QDir folder(pupilsFolder());
    if (!folder.exists()) {
        return found;
    }
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        found.push_back(
            {name, readName(pupilsFolder() + name + QLatin1Char('/') + kNameFile, name)});
    }
    std::stable_sort(found.begin() + 1, found.end(), [](const Pupil& a, const Pupil& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return found;
}

Pupil Roster::lastChosen(const std::vector<Pupil>& pupils) const {
    if (pupils.size() > 1) {
        QFile file(choiceFilePath());
        if (file.open(QIODevice::ReadOnly) && file.size() <= kLongestNameFile) {
            const QString folder = QString::fromUtf8(file.readAll()).trimmed();
            for (const Pupil& pupil : pupils) {
                if (pupil.folder == folder) {
                    return pupil;
                }
            }
        }
    }
    return pupils.front();
}

std::optional<persistence::FileFailure> Roster::setLastChosen(const Pupil& pupil) const {
    if (!QFileInfo(pupilsFolder()).isDir()) {
        return std::nullopt;
    }
    return persistence::writeFileAtomically(choiceFilePath(), pupil.folder.toUtf8() + '\n');
}

std::variant<Pupil, persistence::FileFailure> Roster::add(const QString& name) const {
    const QString parent = pupilsFolder();
    if (!QDir().mkpath(parent)) {
        return persistence::FileFailure{parent, QStringLiteral("the folder cannot be created")};
    }
    int number = 1;
    for (const QString& folder : QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        number = std::max(number, folderNumber(folder));
    }
    Pupil pupil{kFolderPrefix + QString::number(number + 1), name};
    while (!QDir(parent).mkdir(pupil.folder)) {
        if (!QFileInfo::exists(parent + pupil.folder)) {
            return persistence::FileFailure{parent + pupil.folder,
                                            QStringLiteral("the folder cannot be created")};
        }
        pupil.folder = kFolderPrefix + QString::number(++number + 1);
    }
    if (auto failure = persistence::writeFileAtomically(nameFilePath(pupil), nameBytes(name))) {
        QDir(parent).rmdir(pupil.folder);
        return *failure;
    }
    return pupil;
}

std::optional<persistence::FileFailure> Roster::rename(const Pupil& pupil,
                                                       const QString& name) const {
    return persistence::writeFileAtomically(nameFilePath(pupil), nameBytes(name));
}

std::optional<persistence::FileFailure> Roster::moveToTrash(const Pupil& pupil) const {
    const QString folder = folderOf(pupil);
    if (pupil.folder.isEmpty()) {
        return persistence::FileFailure{folder,
                                        QStringLiteral("the first pupil's files are not removed")};
    }
    QFile moved(folder.chopped(1));
    if (!moved.moveToTrash()) {
        return persistence::FileFailure{folder, moved.errorString()};
    }
    return std::nullopt;
}

void Roster::removeUnfinishedWrites() const {
    QFile::remove(persistence::unfinishedWritePath(dataFolder_ + kNameFile));
    const QDir folder(pupilsFolder());
    if (!folder.exists()) {
        return;
    }
    QFile::remove(persistence::unfinishedWritePath(choiceFilePath()));
    for (const QString& name : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const Pupil pupil{name, name};
        persistence::removeUnfinishedWrites(folderOf(pupil));
        QFile::remove(persistence::unfinishedWritePath(nameFilePath(pupil)));
    }
}

}  // namespace pupils

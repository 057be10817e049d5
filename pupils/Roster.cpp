#include "pupils/Roster.h"

#include <algorithm>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace pupils {

namespace {

const QString kPupilsFolder = QStringLiteral("pupils");
const QString kNameFile = QStringLiteral("name.txt");
const QString kChoiceFile = QStringLiteral("chosen.txt");
// The highest folder number given so far.
const QString kNumberFile = QStringLiteral("last-number.txt");
// Further pupils' folders are numbered; the first pupil is number 1.
const QString kFolderPrefix = QStringLiteral("pupil-");
// A name file longer than this holds no name of at most 40 characters.
constexpr qint64 kLongestNameFile = 1024;
// Folder numbers beyond this are not counted: no roster gets near them, and the next number
// stays far from the end of the integers.
constexpr qint64 kHighestFolderNumber = qint64{1} << 53;

// The characters that set or change the direction of writing (embeddings, overrides, isolates
// and marks): inside a name they show its letters in another order than they are typed.
bool directionControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// A character that shows nothing of its own where it stands.
bool invisible(char32_t c) {
    switch (QChar::category(c)) {
        case QChar::Other_Format:
        case QChar::Other_Control:
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return true;
        default:
            return false;
    }
}

// What two names that look the same have in common.
QString lookOf(const QString& name) {
    QList<uint> characters = name.normalized(QString::NormalizationForm_C).toUcs4();
    characters.removeIf([](uint c) { return QChar::category(c) == QChar::Other_Format; });
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(characters.constData()),
                             characters.size())
        .toCaseFolded();
}

// A small text file of the roster: regular, at most `limit` bytes, UTF-8; nullopt otherwise.
std::optional<QString> readSmallText(const QString& path, qint64 limit) {
    const auto read = persistence::readRegularFile(path, limit);
    const auto* content = std::get_if<std::optional<persistence::BoundedContent>>(&read);
    if (content == nullptr || !*content || (*content)->more) {
        return std::nullopt;
    }
    QStringDecoder decode(QStringDecoder::Utf8);
    const QString text = decode((*content)->bytes);
    if (decode.hasError()) {
        return std::nullopt;
    }
    return text;
}

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
qint64 folderNumber(const QString& folder) {
    if (!folder.startsWith(kFolderPrefix)) {
        return 0;
    }
    bool ok = false;
    const qint64 n = folder.mid(kFolderPrefix.size()).toLongLong(&ok);
    return ok && n > 0 && n <= kHighestFolderNumber ? n : 0;
}

QByteArray nameBytes(const QString& name) {
    return name.toUtf8() + '\n';
}

}  // namespace

QString keptName(const QString& typed) {
    // They are all in the basic plane: taken out unit by unit, a broken surrogate stays for
    // nameProblem to refuse.
    QString kept = typed;
    kept.removeIf([](QChar c) { return directionControl(c.unicode()); });
    return kept.trimmed();
}

QString unknownPupilMessage(const QString& typed, const std::vector<Pupil>& pupils) {
    QString message = QStringLiteral("There is no pupil \"%1\". The pupils are:").arg(typed);
    for (const Pupil& pupil : pupils) {
        message += QLatin1Char('\n') + pupil.name;
    }
    return message;
}

bool sameName(const QString& a, const QString& b) {
    return lookOf(a) == lookOf(b);
}

std::optional<Pupil> findPupil(const std::vector<Pupil>& pupils, const QString& typed) {
    const QString name = keptName(typed);
    for (const Pupil& pupil : pupils) {
        if (sameName(pupil.name, name)) {
            return pupil;
        }
    }
    return std::nullopt;
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
    if (std::any_of(characters.begin(), characters.end(), [](uint c) {
            return unprintable(static_cast<char32_t>(c)) || directionControl(c);
        })) {
        return NameProblem::Unprintable;
    }
    if (std::all_of(characters.begin(), characters.end(),
                    [](uint c) { return invisible(static_cast<char32_t>(c)); })) {
        return NameProblem::Empty;
    }
    for (const Pupil& pupil : pupils) {
        if (renamedFolder && pupil.folder == *renamedFolder) {
            continue;
        }
        if (sameName(pupil.name, name)) {
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

QString Roster::numberFilePath() const {
    return pupilsFolder() + kNumberFile;
}

// A name file that is missing, unreadable, not UTF-8 or holds no name a pupil could be given
// shows the fallback instead.
QString Roster::readName(const QString& path, const QString& fallback) const {
    const auto text = readSmallText(path, kLongestNameFile);
    if (!text) {
        return fallback;
    }
    const QString name = keptName(*text);
    return nameProblem(name, {}) == NameProblem::None ? name : fallback;
}

std::vector<Pupil> Roster::pupils() const {
    std::vector<Pupil> found{{QString(), firstName_}};
    // One pupil alone has no name file and no pupils/ folder: this one look is all it costs.
    if (QFileInfo::exists(dataFolder_ + kNameFile)) {
        found.front().name = readName(dataFolder_ + kNameFile, firstName_);
    }
    for (const QString& name :
         persistence::folderNames(pupilsFolder(), persistence::FolderLinks::Followed)) {
        found.push_back(
            {name, readName(pupilsFolder() + name + QLatin1Char('/') + kNameFile, name)});
    }
    if (found.size() > 2) {
        // In the order a person reads a list: "Pupil 2" before "Pupil 10", "Ёжик" beside "Егор",
        // capitals mixed in. The same order on every machine, whatever its locale.
        QCollator order{QLocale(QLocale::English)};
        order.setNumericMode(true);
        order.setCaseSensitivity(Qt::CaseInsensitive);
        std::stable_sort(found.begin() + 1, found.end(), [&order](const Pupil& a, const Pupil& b) {
            return order.compare(a.name, b.name) < 0;
        });
    }
    return found;
}

Pupil Roster::lastChosen(const std::vector<Pupil>& pupils) const {
    if (pupils.size() > 1) {
        if (const auto text = readSmallText(choiceFilePath(), kLongestNameFile)) {
            const QString folder = text->trimmed();
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
    // The highest number given: kept, or seen among the folders (also those made by hand).
    qint64 number = 1;
    if (const auto text = readSmallText(numberFilePath(), 32)) {
        bool ok = false;
        const qint64 kept = text->trimmed().toLongLong(&ok);
        if (ok && kept > 0 && kept <= kHighestFolderNumber) {
            number = kept;
        }
    }
    for (const QString& folder :
         persistence::folderNames(parent, persistence::FolderLinks::Followed)) {
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
    // The number is kept before the pupil is: a pupil whose number might be given again is not
    // made.
    auto failure =
        persistence::writeFileAtomically(numberFilePath(), QByteArray::number(number + 1) + '\n');
    if (!failure) {
        failure = persistence::writeFileAtomically(nameFilePath(pupil), nameBytes(name));
    }
    if (failure) {
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
    // Qt 6.4 reports a trash it cannot set up (no data home, or no room for its Trash folder)
    // as a move done: it has moved the folder into files/ under the working folder, named
    // relative to it. The folder comes back, with the note Qt wrote beside it gone.
    const QString landed = moved.fileName();
    if (QFileInfo(landed).isRelative()) {
        const QString back = folder.chopped(1);
        const bool returned = QDir().rename(landed, back);
        if (returned) {
            const QString files = QFileInfo(landed).path();
            const QString info = files + QStringLiteral("/../info");
            QFile::remove(info + QLatin1Char('/') + QFileInfo(landed).fileName() +
                          QStringLiteral(".trashinfo"));
            // The folders Qt made for it, when nothing else is in them.
            QDir().rmdir(info);
            QDir().rmdir(files);
        }
        return persistence::FileFailure{
            folder, returned ? QStringLiteral("the desktop's trash cannot be used")
                             : QStringLiteral("the desktop's trash cannot be used; the folder "
                                              "was moved to %1")
                                   .arg(QFileInfo(landed).absoluteFilePath())};
    }
    return std::nullopt;
}

void Roster::removeUnfinishedWrites() const {
    persistence::removeUnfinishedWrite(dataFolder_ + kNameFile);
    // pupils/ or a pupil's folder that is a symbolic link leads out of the data folder.
    struct stat status {};
    if (::lstat(QFile::encodeName(pupilsFolder().chopped(1)).constData(), &status) != 0 ||
        !S_ISDIR(status.st_mode)) {
        return;
    }
    persistence::removeUnfinishedWrite(choiceFilePath());
    persistence::removeUnfinishedWrite(numberFilePath());
    for (const QString& name :
         persistence::folderNames(pupilsFolder(), persistence::FolderLinks::Left)) {
        const Pupil pupil{name, name};
        persistence::removeUnfinishedWrites(folderOf(pupil));
        persistence::removeUnfinishedWrite(nameFilePath(pupil));
    }
}

}  // namespace pupils

#include "report/Figures.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <QDir>
#include <QFileInfo>

#include "persistence/LookFile.h"
#include "persistence/ProgressFiles.h"
#include "pupils/Roster.h"

namespace report {

namespace {

// Exercises answered fewer times than this say too little to be practised next.
constexpr std::uint16_t kFewAnswers = 3;
constexpr std::size_t kPractiseCount = 5;
constexpr std::size_t kMissedCount = 10;

struct Found {
    pupils::Pupil pupil;
    QString folder;      // the pupil's own folder
    QString dataFolder;  // the data folder that holds it
};

// True when a folder holds a pupil's files or the folder of further pupils.
bool isDataFolder(const QString& folder) {
    return QFileInfo::exists(persistence::progressFilePath(folder)) ||
           QFileInfo::exists(persistence::errorFilePath(folder, persistence::kMultiplication)) ||
           QFileInfo::exists(persistence::errorFilePath(folder, persistence::kDivision)) ||
           QFileInfo(folder + QStringLiteral("pupils")).isDir();
}

// The data folders a given folder stands for: itself, or the data folders directly inside it
// (a teacher's copies from several computers), in the order of their names. Each ends in a
// separator. Empty when there are none.
QStringList dataFoldersIn(const QString& folder) {
    if (isDataFolder(folder)) {
        return {folder};
    }
    QStringList found;
    const QStringList names =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        const QString inside = folder + name + QLatin1Char('/');
        if (isDataFolder(inside)) {
            found << inside;
        }
    }
    return found;
}

QString withoutClosingSeparator(const QString& folder) {
    return folder.size() > 1 && folder.endsWith(QLatin1Char('/')) ? folder.chopped(1) : folder;
}

// Pupils of the same name are told apart by their data folder's name.
void nameTheShown(std::vector<PupilFigures>& pupils) {
    for (PupilFigures& pupil : pupils) {
        const auto same = std::count_if(pupils.begin(), pupils.end(), [&](const PupilFigures& p) {
            return p.name.compare(pupil.name, Qt::CaseInsensitive) == 0;
        });
        pupil.shown = same > 1
                          ? QStringLiteral("%1 (%2)").arg(pupil.name, QDir(pupil.folder).dirName())
                          : pupil.name;
    }
}

}  // namespace

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

OperationFigures figuresOf(int operation, const persistence::ProgressRecord& record,
                           const std::vector<Terror>& records) {
    OperationFigures f;
    f.operation = operation;
    f.periodStarted = record.PeriodStarted[operation] == 1;
    f.periodStart = record.PeriodStart[operation];
    f.periodEnd = record.PeriodEnd[operation];
    f.counts = record.ExerciseCount[operation];
    f.marks = record.MarkHistory[operation];
    f.markCounts = record.MarkHistoryLength[operation];
    // The screen's own log: the records in elements 1..count.
    std::vector<Terror> log;
    if (!records.empty()) {
        log.reserve(records.size() + 1);
        log.emplace_back();
        log.insert(log.end(), records.begin(), records.end());
    }
    f.errors = statistics::summariseErrors(log, static_cast<int>(records.size()));
    f.totals = statistics::numberTotals(f.counts);
    return f;
}

void readPupil(const Found& found, Collected& collected) {
    const QString name = found.pupil.name;
    const QString from = withoutClosingSeparator(found.dataFolder);
    const QString savePath = persistence::progressFilePath(found.folder);
    const auto progress = persistence::readProgressFileInPlace(savePath);
    if (const auto* failure = std::get_if<persistence::FileFailure>(&progress)) {
        collected.skipped.push_back({name, savePath, failure->reason, from});
        return;
    }
    const auto& content = std::get<persistence::ProgressFileContent>(progress);
    if (content.damaged) {
        collected.skipped.push_back({name, savePath, {}, from});
        return;
    }
    const persistence::ProgressRecord record =
        content.record.value_or(persistence::ProgressRecord{});
    PupilFigures pupil;
    pupil.name = name;
    pupil.folder = from;
    pupil.language = languageOfCode(record.LanguageCode);
    pupil.look = persistence::readLookFile(found.folder);
    for (int operation : kOperations) {
        const QString path = persistence::errorFilePath(found.folder, operation);
        const auto errors = persistence::readErrorFileInPlace(path);
        if (const auto* failure = std::get_if<persistence::FileFailure>(&errors)) {
            collected.skipped.push_back({name, path, failure->reason, from, operation});
            continue;
        }
        const auto& log = std::get<persistence::ErrorFileContent>(errors);
        // Error rates from part of a log would look better than they are: the operation is left
        // out rather than shown wrong.
        if (log.damaged) {
            collected.skipped.push_back({name, path, {}, from, operation});
            continue;
        }
        pupil.operations.push_back(figuresOf(operation, record, log.records));
    }
    collected.pupils.push_back(std::move(pupil));
}

std::variant<Collected, QString> collect(const Request& request) {
    std::vector<Found> all;
    std::vector<pupils::Pupil> known;
    QStringList folders;
    QStringList seen;  // canonical paths: a folder given twice, or by two paths, counts once
    for (const QString& given : request.dataFolders) {
        const QFileInfo info(withoutClosingSeparator(given));
        if (!info.exists()) {
            return QStringLiteral("The folder %1 does not exist.")
                .arg(quoted(QDir::toNativeSeparators(given)));
        }
        if (!info.isDir()) {
            return QStringLiteral(
                       "%1 is a file, not a folder: give the data folder that holds "
                       "the pupils' files.")
                .arg(quoted(QDir::toNativeSeparators(given)));
        }
        const QStringList inside = dataFoldersIn(given);
        if (inside.isEmpty()) {
            return QStringLiteral(
                       "The folder %1 holds no pupils' data: give a data folder (one "
                       "holding Save.dat or pupils) or a folder of such folders.")
                .arg(quoted(QDir::toNativeSeparators(given)));
        }
        for (const QString& folder : inside) {
            const QString canonical = QFileInfo(folder).canonicalFilePath();
            if (!seen.contains(canonical)) {
                seen << canonical;
                folders << folder;
            }
        }
    }
    for (const QString& folder : folders) {
        // The first pupil of a folder copied from another computer is not this account's user:
        // without a name of their own they are called after the folder.
        QString firstName = request.firstPupilName;
        if (firstName.isEmpty() && request.foldersOfOthers) {
            firstName = QDir(folder).dirName();
        }
        const pupils::Roster roster =
            firstName.isEmpty() ? pupils::Roster(folder) : pupils::Roster(folder, firstName);
        for (const pupils::Pupil& pupil : roster.pupils()) {
            all.push_back({pupil, roster.folderOf(pupil), folder});
            known.push_back(pupil);
        }
    }
    std::vector<Found> chosen;
    if (request.pupils.isEmpty()) {
        chosen = all;
    } else {
        for (const QString& typed : request.pupils) {
            if (!pupils::findPupil(known, typed)) {
                return pupils::unknownPupilMessage(typed, known);
            }
        }
        // In the folders' order; a name found in several folders is every one of those pupils.
        for (const Found& found : all) {
            const bool asked = std::any_of(
                request.pupils.begin(), request.pupils.end(), [&](const QString& typed) {
                    const auto match = pupils::findPupil({found.pupil}, typed);
                    return match.has_value();
                });
            if (asked) {
                chosen.push_back(found);
            }
        }
    }
    Collected collected;
    for (const Found& found : chosen) {
        readPupil(found, collected);
    }
    nameTheShown(collected.pupils);
    collected.folders = static_cast<int>(folders.size());
    return collected;
}

// The exercises with the highest error rate among those answered at least a few times.
std::vector<Exercise> practiseNext(const OperationFigures& f) {
    std::vector<Exercise> found;
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        for (int j = 1; j <= 10; ++j) {
            const float weight = f.errors.weights[i][j];
            if (f.counts[i][j] >= kFewAnswers && weight > 0) {
                found.push_back({i, j, weight, f.counts[i][j]});
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Exercise& a, const Exercise& b) {
        return a.rate() != b.rate() ? a.rate() > b.rate() : a.errors > b.errors;
    });
    if (found.size() > kPractiseCount) {
        found.resize(kPractiseCount);
    }
    return found;
}

ClassFigures classFigures(const std::vector<PupilFigures>& pupils, int operation) {
    ClassFigures c;
    c.weights.fill({});
    for (const PupilFigures& pupil : pupils) {
        const OperationFigures* f = pupil.operation(operation);
        if (f == nullptr) {
            continue;
        }
        for (int i = kFirstNumber; i <= kLastNumber; ++i) {
            for (int j = 1; j <= 10; ++j) {
                c.answers[i][j] += f->counts[i][j];
                c.weights[i][j] += f->errors.weights[i][j];
            }
        }
    }
    return c;
}

// The class's sums as the table's counts and weights. A sum beyond what one pupil's count can hold
// is brought down with its errors in the same proportion, which keeps the rate the mark shows.
void classTable(const ClassFigures& c, ExerciseCountTable& counts, WeightTable& weights) {
    weights = c.weights;
    for (int i = 1; i <= 10; ++i) {
        for (int j = 1; j <= 10; ++j) {
            counts[i][j] = 0;
        }
    }
    constexpr long long kMost = std::numeric_limits<std::uint16_t>::max();
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        for (int j = 1; j <= 10; ++j) {
            const long long n = c.answers[i][j];
            if (n > kMost) {
                weights[i][j] = static_cast<float>(static_cast<double>(weights[i][j]) * kMost / n);
            }
            counts[i][j] = static_cast<std::uint16_t>(std::min(n, kMost));
        }
    }
}

std::vector<Exercise> mostMissed(const ClassFigures& c) {
    std::vector<Exercise> found;
    for (int i = kFirstNumber; i <= kLastNumber; ++i) {
        for (int j = 1; j <= 10; ++j) {
            if (c.weights[i][j] > 0) {
                found.push_back({i, j, c.weights[i][j],
                                 static_cast<int>(std::min<long long>(
                                     c.answers[i][j], std::numeric_limits<int>::max()))});
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Exercise& a, const Exercise& b) {
        return a.errors != b.errors ? a.errors > b.errors : a.rate() > b.rate();
    });
    if (found.size() > kMissedCount) {
        found.resize(kMissedCount);
    }
    return found;
}

QString exerciseText(int operation, int number, int factor) {
    if (operation == persistence::kMultiplication) {
        return QStringLiteral("%1x%2").arg(number).arg(factor);
    }
    return QStringLiteral("%1:%2").arg(number * factor).arg(number);
}

QString weightText(double weight, Language language) {
    return std::isfinite(weight) ? localeOf(language).toString(weight, 'f', 0)
                                 : QStringLiteral("—");
}

double ratePercent(double errors, double answers) {
    if (!(answers > 0) || !(errors > 0)) {
        return 0;
    }
    return errors >= answers ? 100.0 : errors / answers * 100.0;
}

QString percentText(double rate, Language language) {
    return localeOf(language).toString(ratePercent(rate, 1.0), 'f', 0) + QStringLiteral(" %");
}

}  // namespace report

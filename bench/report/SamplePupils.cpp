// Writes a data folder of pupils with full statistics in both operations, for the report's
// samples and its benchmark: kestrova_sample_pupils FOLDER COUNT [SEED].
#include <cstdio>
#include <random>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include "app/Texts.h"
#include "persistence/ProgressFiles.h"
#include "pupils/Roster.h"

namespace {

const char* const kNames[] = {
    "Anna",  "Boris",  "Мария",  "Tom",    "Ольга",  "Emily", "Дмитрий", "Jack",
    "Sofia", "Иван",   "Oliver", "Полина", "Grace",  "Артём", "Harry",   "Елена",
    "Noah",  "Кирилл", "Isla",   "Алиса",  "Leo",    "Вера",  "Mia",     "Глеб",
    "Oscar", "Дарья",  "Lily",   "Семён",  "Amelia", "Юлия",  "Ethan",   "Ника",
};

bool writeFile(const QString& path, const QByteArray& bytes) {
    if (auto failure = persistence::writeFileAtomically(path, bytes)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(failure->path), qPrintable(failure->reason));
        return false;
    }
    return true;
}

// One pupil's files: every exercise answered, errors where the pupil is weak, ten marks a number.
bool writePupil(const QString& folder, int index, std::mt19937& random) {
    const int languageCodes[] = {kLanguageCodeRussian, kLanguageCodeBritish, kLanguageCodeAmerican};
    persistence::ProgressRecord record;
    record.LanguageCode = static_cast<std::uint8_t>(languageCodes[index % 3]);
    record.TimeSetting = 3;
    record.CountSetting = 25;
    // A weaker pupil misses more: a share of wrong answers from 2 % to 30 %.
    const double weakness = 0.02 + 0.28 * (index % 7) / 6.0;
    for (int operation : {persistence::kMultiplication, persistence::kDivision}) {
        record.PeriodStarted[operation] = 1;
        record.PeriodStart[operation] = 46000 - 60 + index % 5;
        record.PeriodEnd[operation] = 46000 - index % 3;
        std::vector<persistence::Terror> errors;
        for (int i = 2; i <= 9; ++i) {
            for (int j = 1; j <= 10; ++j) {
                const int answers = std::uniform_int_distribution<int>(5, 60)(random);
                record.ExerciseCount[operation][i][j] = static_cast<std::uint16_t>(answers);
                // Harder exercises (larger numbers) are missed more often.
                const double share = weakness * (0.4 + (i + j) / 19.0);
                const int wrong =
                    std::binomial_distribution<int>(answers, std::min(share, 0.9))(random);
                // As the program records them: one record per wrong answer given, its weight the
                // times it was given; the answer a product for multiplication, a quotient (near
                // the factor) for division. At most two different wrong answers an exercise.
                const bool multiplying = operation == persistence::kMultiplication;
                const int wrongAnswers[] = {
                    multiplying ? i * j + i : j + 1,
                    multiplying ? (j > 1 ? i * j - i : i * j + 1) : (j > 1 ? j - 1 : j + 2)};
                const int weights[] = {(wrong + 1) / 2, wrong / 2};
                for (int k = 0; k < 2; ++k) {
                    if (weights[k] == 0) {
                        continue;
                    }
                    persistence::Terror error;
                    error.z1 = static_cast<std::uint8_t>(i);
                    error.Z2 = static_cast<std::uint8_t>(j);
                    error.res = static_cast<std::uint8_t>(wrongAnswers[k]);
                    error.error = static_cast<float>(weights[k]);
                    errors.push_back(error);
                }
            }
        }
        for (int row = 1; row <= 9; ++row) {
            record.MarkHistoryLength[operation][row] = 10;
            for (int slot = 1; slot <= 10; ++slot) {
                const double draw = std::uniform_real_distribution<double>(0, 1)(random);
                const int mark = 5 - static_cast<int>(draw * weakness * 20);
                record.MarkHistory[operation][row][slot] =
                    static_cast<std::uint8_t>(std::max(1, std::min(5, mark)));
            }
        }
        QByteArray bytes;
        for (const persistence::Terror& error : errors) {
            const auto encoded = persistence::encode(error);
            bytes.append(reinterpret_cast<const char*>(encoded.data()),
                         static_cast<qsizetype>(encoded.size()));
        }
        if (!writeFile(persistence::errorFilePath(folder, operation), bytes)) {
            return false;
        }
    }
    const auto encoded = persistence::encode(record);
    return writeFile(persistence::progressFilePath(folder),
                     QByteArray(reinterpret_cast<const char*>(encoded.data()),
                                static_cast<qsizetype>(encoded.size())));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int count = arguments.size() > 2 ? arguments[2].toInt() : 0;
    if (count < 1 || count > static_cast<int>(std::size(kNames))) {
        std::fprintf(stderr, "usage: kestrova_sample_pupils FOLDER COUNT(1..%zu) [SEED]\n",
                     std::size(kNames));
        return 1;
    }
    const QString folder = QDir::cleanPath(arguments[1]) + QLatin1Char('/');
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
        return 1;
    }
    std::mt19937 random(arguments.size() > 3 ? arguments[3].toUInt() : 1u);
    const pupils::Roster roster(folder, QString::fromUtf8(kNames[0]));
    if (!writePupil(folder, 0, random) ||
        roster.rename(roster.pupils().front(), roster.pupils().front().name)) {
        return 1;
    }
    for (int index = 1; index < count; ++index) {
        const auto added = roster.add(QString::fromUtf8(kNames[index]));
        const auto* pupil = std::get_if<pupils::Pupil>(&added);
        if (pupil == nullptr || !writePupil(roster.folderOf(*pupil), index, random)) {
            std::fprintf(stderr, "cannot add pupil %d\n", index);
            return 1;
        }
    }
    return 0;
}

#include <algorithm>
#include <cstdio>

#include <QStringList>

#include "app/Form.h"
#include "app/Texts.h"
#include "persistence/ProgressFiles.h"

namespace {

using persistence::FileFailure;
using persistence::SetAside;

// A save that did not reach the disk. The close handler words its message differently, since
// after closing there is no next save.
class SaveError : public ui::IoError {
  public:
    SaveError(const QString& message, FileFailure failure)
        : ui::IoError(message), failure(std::move(failure)) {}
    FileFailure failure;
};

bool inEnglish(std::uint8_t languageRow) {
    return languageRow == 2;
}

QString saveFailureMessage(std::uint8_t languageRow, const FileFailure& f) {
    if (inEnglish(languageRow)) {
        return QStringLiteral(
                   "The progress could not be saved to %1 (%2). It is kept in the program and "
                   "will be saved at the next save; please check that this folder exists and can "
                   "be written to.")
            .arg(f.path, f.reason);
    }
    return QStringLiteral(
               "Не удалось сохранить результаты в файл %1 (%2). Они остаются в программе и "
               "будут сохранены при следующей записи; проверьте, что эта папка существует и "
               "доступна для записи.")
        .arg(f.path, f.reason);
}

QString closeFailureMessage(std::uint8_t languageRow, const FileFailure& f) {
    if (inEnglish(languageRow)) {
        return QStringLiteral(
                   "The progress could not be saved to %1 (%2). The changes since the last save "
                   "are lost.")
            .arg(f.path, f.reason);
    }
    return QStringLiteral(
               "Не удалось сохранить результаты в файл %1 (%2). Изменения после последнего "
               "сохранения потеряны.")
        .arg(f.path, f.reason);
}

QString readFailureMessage(std::uint8_t languageRow, const FileFailure& f) {
    if (inEnglish(languageRow)) {
        return QStringLiteral("The file %1 could not be read (%2).").arg(f.path, f.reason);
    }
    return QStringLiteral("Не удалось прочитать файл %1 (%2).").arg(f.path, f.reason);
}

QString keptAsideSentence(std::uint8_t languageRow, const SetAside& aside) {
    if (inEnglish(languageRow)) {
        return aside.newName.isEmpty()
                   ? QStringLiteral("it could not be renamed and was left as it is")
                   : QStringLiteral("it was kept aside as %1").arg(aside.newName);
    }
    return aside.newName.isEmpty()
               ? QStringLiteral("переименовать его не удалось, он оставлен как есть")
               : QStringLiteral("он сохранён под именем %1").arg(aside.newName);
}

QString damagedProgressMessage(std::uint8_t languageRow, const SetAside& aside) {
    if (inEnglish(languageRow)) {
        return QStringLiteral(
                   "The file %1 is damaged (%2 bytes, too short for the settings and "
                   "statistics): %3. The program goes on without it.")
            .arg(aside.originalName)
            .arg(aside.length)
            .arg(keptAsideSentence(languageRow, aside));
    }
    return QStringLiteral(
               "Файл %1 повреждён (%2 байт, слишком мало для настроек и статистики): %3. "
               "Программа продолжает работу без него.")
        .arg(aside.originalName)
        .arg(aside.length)
        .arg(keptAsideSentence(languageRow, aside));
}

QString damagedErrorFileMessage(std::uint8_t languageRow, const SetAside& aside,
                                std::size_t wholeRecords) {
    if (inEnglish(languageRow)) {
        return QStringLiteral(
                   "The file %1 is damaged (%2 bytes, an incomplete record at its end): %3. "
                   "Its %4 complete records were kept and will be saved again.")
            .arg(aside.originalName)
            .arg(aside.length)
            .arg(keptAsideSentence(languageRow, aside))
            .arg(wholeRecords);
    }
    return QStringLiteral(
               "Файл %1 повреждён (%2 байт, неполная запись в конце): %3. Его целые записи "
               "(%4) загружены и будут сохранены снова.")
        .arg(aside.originalName)
        .arg(aside.length)
        .arg(keptAsideSentence(languageRow, aside))
        .arg(wholeRecords);
}

void requireOperation(int operation) {
    if (operation != persistence::kMultiplication && operation != persistence::kDivision) {
        ui::throwRangeError(operation, persistence::kMultiplication, persistence::kDivision);
    }
}

void writeOrThrow(std::uint8_t languageRow, const QString& path, const QByteArray& bytes) {
    if (auto failure = persistence::writeFileAtomically(path, bytes)) {
        throw SaveError(saveFailureMessage(languageRow, *failure), *failure);
    }
}

template <typename Content>
Content takeContent(std::variant<Content, FileFailure> read, std::uint8_t languageRow) {
    if (auto* failure = std::get_if<FileFailure>(&read)) {
        throw ui::IoError(readFailureMessage(languageRow, *failure));
    }
    return std::get<Content>(std::move(read));
}

}  // namespace

std::variant<TForm3::PupilFiles, FileFailure> TForm3::readPupilFiles(const QString& folder,
                                                                     int operation) const {
    requireOperation(operation);
    PupilFiles files;
    auto errors = persistence::readErrorFileInPlace(persistence::errorFilePath(folder, operation));
    if (auto* failure = std::get_if<FileFailure>(&errors)) {
        return *failure;
    }
    files.errors = std::get<persistence::ErrorFileContent>(std::move(errors));
    auto progress = persistence::readProgressFileInPlace(persistence::progressFilePath(folder));
    if (auto* failure = std::get_if<FileFailure>(&progress)) {
        return *failure;
    }
    files.progress = std::get<persistence::ProgressFileContent>(std::move(progress));
    return files;
}

void TForm3::LoadProgress(int operation) {
    requireOperation(operation);
    ErrorLogCount = 0;
    ErrorLog.clear();
    applyPupilFiles(takeContent(readPupilFiles(DataFolder, operation), LanguageRow), operation);
}

void TForm3::applyPupilFiles(PupilFiles files, int operation) {
    const double moment = clock_.now();
    // A damaged file goes out of its place once what it holds is taken in.
    auto& errors = files.errors;
    if (errors.damaged) {
        errors.damaged = persistence::moveDamagedAside(
            persistence::errorFilePath(DataFolder, operation), errors.damaged->length, moment);
    }
    auto& progress = files.progress;
    if (progress.damaged) {
        progress.damaged = persistence::moveDamagedAside(persistence::progressFilePath(DataFolder),
                                                         progress.damaged->length, moment);
    }

    ErrorLogCount = 0;
    ErrorLog.clear();
    if (!errors.records.empty()) {
        ErrorLog.reserve(errors.records.size() + 1);
        ErrorLog.emplace_back();
        ErrorLog.insert(ErrorLog.end(), errors.records.begin(), errors.records.end());
        ErrorLogCount = ui::checkedCast<int>(errors.records.size());
    }
    if (errors.damaged) {
        // The damaged file is gone from its place: the next save writes the whole records back.
        ErrorLogDirty = 1;
    }
    if (progress.record) {
        Progress = *progress.record;
    }

    const Language language = languageOfCode(Progress.LanguageCode);
    LanguageRow = static_cast<std::uint8_t>(languageRowOf(language));
    AmericanEnglish = isAmerican(language) ? 1 : 0;
    ComboBox1.setTag(1);
    ComboBox1.setItemIndex(AmericanEnglish == 1 ? kLanguageItemAmerican : LanguageRow - 1);
    ComboBox1.setTag(0);

    // The track bars hold a stored value outside their range at the nearest bound. While error
    // correction borrows them they keep its values; the pupil's come back when it ends.
    if (!TrackBarsBorrowed) {
        TrackBar1.setValue(Progress.TimeSetting);
        TrackBar2.setValue(Progress.CountSetting);
    }
    // What the track bars wrote back is what the file holds, as far as the close is concerned.
    storedProgress_ = Progress;

    QStringList damaged;
    if (progress.damaged) {
        damaged << damagedProgressMessage(LanguageRow, *progress.damaged);
    }
    if (errors.damaged) {
        damaged << damagedErrorFileMessage(LanguageRow, *errors.damaged, errors.records.size());
    }
    if (!damaged.isEmpty()) {
        reporter_.report(damaged.join(QLatin1Char('\n')));
    }
}

void TForm3::SaveProgress(int operation, std::int32_t statisticsMode, std::int32_t errorLogMode,
                          std::int32_t marksMode) {
    requireOperation(operation);

    // Each flag is cleared only once its file is on disk, so a failed write is tried again by
    // the next save.
    if (errorLogMode != 0) {
        QByteArray bytes;
        if (errorLogMode != -1) {
            const auto elements = static_cast<long long>(ErrorLog.size());
            if (ErrorLogCount < 0 || (ErrorLogCount > 0 && ErrorLogCount >= elements)) {
                ui::throwRangeError(ErrorLogCount, 0, std::max(elements - 1, 0LL));
            }
            bytes.reserve(ErrorLogCount * Terror::kSize);
            for (int i = 1; i <= ErrorLogCount; ++i) {
                const auto record = persistence::encode(ErrorLog[static_cast<std::size_t>(i)]);
                bytes.append(reinterpret_cast<const char*>(record.data()), Terror::kSize);
            }
        }
        writeOrThrow(LanguageRow, persistence::errorFilePath(DataFolder, operation), bytes);
        if (errorLogMode == -1) {
            ErrorLogCount = 0;
            ErrorLog.clear();
        } else {
            ErrorLogDirty = 0;
        }
    }

    if (statisticsMode != 0) {
        // The record changes in memory only once it is written, so a failed reset leaves the
        // statistics as the pupil sees them.
        ProgressRecord updated = Progress;
        if (statisticsMode == -1) {
            for (auto& row : updated.ExerciseCount[operation]) {
                row.fill(0);
            }
            updated.PeriodStarted[operation] = 0;
            for (auto& marks : updated.MarkHistory[operation]) {
                marks.fill(0);
            }
            updated.MarkHistoryLength[operation].fill(0);
        } else {
            if (updated.PeriodStarted[operation] == 0) {
                updated.PeriodStart[operation] = clock_.now();
                updated.PeriodStarted[operation] = 1;
            }
            updated.PeriodEnd[operation] = clock_.now();
        }
        storeProgress(updated);
    }

    if (marksMode == -1) {
        for (auto& marks : Progress.MarkHistory[operation]) {
            marks.fill(0);
        }
        Progress.MarkHistoryLength[operation].fill(0);
    }
}

void TForm3::storeProgress(const ProgressRecord& record) {
    const auto bytes = persistence::encode(record);
    writeOrThrow(LanguageRow, persistence::progressFilePath(DataFolder),
                 QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    Progress = record;
    storedProgress_ = record;
    ProgressDirty = 0;
}

// Only practice moves the statistics period: a close after answers writes them and stamps the
// period as the end of a run would; a close after a change of the settings or the language
// alone writes it with the period as it was; a close after neither leaves Save.dat untouched.
void TForm3::saveUnwritten() {
    const persistence::RecordChange change =
        ProgressDirty == 0 ? persistence::RecordChange::None
                           : persistence::changeBetween(storedProgress_, Progress);
    const bool practised = change == persistence::RecordChange::Practice;
    SaveProgress(Operation, practised ? ProgressDirty : 0, ErrorLogDirty, 0);
    if (change == persistence::RecordChange::SettingsOnly) {
        storeProgress(Progress);
    }
}

void TForm3::FormClose() {
    try {
        saveUnwritten();
    } catch (const SaveError& e) {
        reporter_.report(closeFailureMessage(LanguageRow, e.failure));
    } catch (const std::exception& e) {
        reporter_.report(QString::fromStdString(e.what()));
    }
}

void TForm3::saveAtExit() {
    try {
        saveUnwritten();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
}

// The program's start over arbitrary Save.dat and save2.dat.
//
// Every input goes through the start's reading of the files: a fresh form loads them the way the
// start does, and what it loaded and what is left on disk are checked. One input in 256 starts
// the whole window on them instead: the start draws what it loaded, a run's first answers are
// given over it and the statistics screen opens. That costs some forty times the reading alone.
// A hash of the whole input chooses, so that the same input always takes the same way and any
// mutation may draw, however the corpus grows.
//
// An input is one byte saying which files exist (bit 0 Save.dat, bit 1 save2.dat), two bytes
// (little-endian) with the length of Save.dat, Save.dat's bytes, and save2.dat's bytes.
#include <algorithm>

#include <QFileInfo>

#include "app/Form.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/StartupInput.h"
#include "persistence/ProgressFiles.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

// The first answers of a run: exercises chosen by the loaded counts, a wrong answer looked up
// among the loaded errors and weighed onto them, and the column redrawn.
void answerFirstExercises(TForm3& form, const ui::CollectingErrorReporter& reporter) {
    auto handle = [&](const std::function<void()>& handler) {
        if (!form.dispatch(handler)) {
            fuzz::fail(QStringLiteral("a run over loaded files failed: ") +
                       reporter.messages.join('\n'));
        }
    };
    handle([&form] { form.Button12Click(); });
    handle([&form] { press(form, wrongAnswer(form)); });
    handle([&form] { press(form, form.ExpectedAnswer); });
}

// Screens that draw what was loaded, opened after the start. The statistics screen (the error
// rates of the loaded error file, with NaN, infinite and huge weights, and the loaded counts)
// comes in through Button14Click.
void openScreensDrawnFromLoadedData(TForm3& form) {
    form.dispatch([&form] { form.Button14Click(); });
}

void checkFileKept(const QString& path, const std::optional<QByteArray>& stored, bool damaged) {
    if (!stored || damaged) {
        return;
    }
    if (fuzz::readFile(path) != *stored || !QFileInfo::exists(path)) {
        fuzz::fail(QStringLiteral("the start changed %1").arg(path));
    }
}

// One input in this many starts the whole window.
constexpr std::uint32_t kWholeStartEvery = 256;

// FNV-1a: the same input always takes the same way, so that a kept input shows its fault again.
bool startsWholeWindow(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ data[i]) * 16777619u;
    }
    return hash % kWholeStartEvery == 0;
}

void checkLoadedForm(const TForm3& form, const fuzz::StartupInput& input) {
    const qsizetype errorBytes = input.errorFile ? input.errorFile->size() : 0;
    const int records = static_cast<int>(errorBytes / persistence::Terror::kSize);
    if (form.ErrorLogCount != records ||
        form.ErrorLog.size() != static_cast<std::size_t>(records == 0 ? 0 : records + 1)) {
        fuzz::fail(QStringLiteral("%1 errors loaded from %2 bytes")
                       .arg(form.ErrorLogCount)
                       .arg(errorBytes));
    }
    if (form.TrackBar1.value() < 1 || form.TrackBar1.value() > 10 || form.TrackBar2.value() < 10 ||
        form.TrackBar2.value() > 50) {
        fuzz::fail(QStringLiteral("settings outside the track bars' ranges"));
    }
    if (form.LanguageRow != 1 && form.LanguageRow != 2) {
        fuzz::fail(QStringLiteral("language row %1").arg(form.LanguageRow));
    }
}

void checkStartedForm(const TForm3& form, const fuzz::StartupInput& input) {
    checkLoadedForm(form, input);
    const QImage column = form.Panel3Viewer.picture();
    if (column.isNull()) {
        fuzz::fail(QStringLiteral("no exercise column was drawn"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::StartupInput input = fuzz::StartupInput::parse(fuzz::bytesOf(data, size));
    const QString folder = fuzz::freshDataFolder();
    const QString saveDat = persistence::progressFilePath(folder);
    const QString errorFile = persistence::errorFilePath(folder, persistence::kMultiplication);
    if (input.saveDat) {
        fuzz::writeFile(saveDat, *input.saveDat);
    }
    if (input.errorFile) {
        fuzz::writeFile(errorFile, *input.errorFile);
    }

    ui::FixedClock clock(fuzz::kMoment);
    ui::ScriptedRandom random({3, 1, 4, 1, 5, 9, 2, 6});
    ui::CollectingErrorReporter reporter;
    TForm3 form(folder, clock, random, reporter);
    const bool whole = startsWholeWindow(data, size);
    // Whatever the files hold, the program starts: a damaged file is set aside with a message.
    const bool started = whole ? form.dispatch([&form] { form.FormCreate(); })
                               : form.dispatch([&form] { form.loadAsAtStart(); });
    if (!started) {
        fuzz::fail(QStringLiteral("the start failed: ") + reporter.messages.join('\n'));
    }
    if (whole) {
        checkStartedForm(form, input);
    } else {
        checkLoadedForm(form, input);
    }
    const bool saveDatDamaged = input.saveDat && !input.saveDat->isEmpty() &&
                                input.saveDat->size() < persistence::ProgressRecord::kSize;
    const bool errorFileDamaged =
        input.errorFile && input.errorFile->size() % persistence::Terror::kSize != 0;
    checkFileKept(saveDat, input.saveDat, saveDatDamaged);
    checkFileKept(errorFile, input.errorFile, errorFileDamaged);

    if (whole) {
        answerFirstExercises(form, reporter);
        openScreensDrawnFromLoadedData(form);
    }
    return 0;
}

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "persistence/ProgressFiles.h"
#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

constexpr double kLater = 46001.25;  // the next day, 06:00

QByteArray bytesOf(const ProgressRecord& record) {
    const auto bytes = persistence::encode(record);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), ProgressRecord::kSize);
}

QByteArray bytesOf(const Terror& error) {
    const auto bytes = persistence::encode(error);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), Terror::kSize);
}

Terror terror(std::uint8_t z1, std::uint8_t z2, std::uint8_t res) {
    Terror e;
    e.z1 = z1;
    e.Z2 = z2;
    e.error = 1.0f;
    e.res = res;
    return e;
}

ProgressRecord storedRecord(std::uint8_t time, std::uint8_t count, std::uint8_t language) {
    ProgressRecord r;
    r.RecordMark = 1;
    r.TimeSetting = time;
    r.CountSetting = count;
    r.LanguageCode = language;
    r.PeriodStarted[2] = 1;
    r.PeriodStart[2] = 45000;
    r.PeriodEnd[2] = 45500;
    r.ExerciseCount[3][4][5] = 12;
    return r;
}

class ProgressStorage : public FormFixture {
  protected:
    ProgressRecord savedRecord() const {
        const QByteArray bytes = readDataFile("Save.dat");
        EXPECT_EQ(bytes.size(), ProgressRecord::kSize);
        persistence::ProgressBytes raw{};
        std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), raw.size()), raw.begin());
        return persistence::decodeProgressRecord(raw);
    }

    // Puts a plain file where the data folder was, so every save into it fails, also for root.
    void breakDataFolder() {
        ASSERT_TRUE(QDir(dataFolder()).removeRecursively());
        QFile blocker(folder_.path() + "/Kestrova");
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    void mendDataFolder() {
        ASSERT_TRUE(QFile::remove(folder_.path() + "/Kestrova"));
        ASSERT_TRUE(QDir().mkpath(dataFolder()));
    }
};

TEST_F(ProgressStorage, ASwitchWithUnwrittenChangesWritesThemThenReadsTheOtherOperation) {
    writeDataFile("save3.dat", bytesOf(terror(6, 3, 17)) + bytesOf(terror(4, 2, 1)));
    TForm3& f = start();
    ASSERT_EQ(f.ProgressDirty, 1) << "the stored defaults moved the track bars";
    f.ErrorLog = {Terror{}, terror(7, 8, 54)};
    f.ErrorLogCount = 1;
    f.ErrorLogDirty = 1;
    clock.set(kLater);

    f.Button11.click();

    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
    EXPECT_EQ(readDataFile("save2.dat"), bytesOf(terror(7, 8, 54)));
    const ProgressRecord saved = savedRecord();
    EXPECT_EQ(saved.PeriodEnd[2], kLater);
    EXPECT_EQ(saved.PeriodEnd[3], kStartMoment) << "only the previous operation is stamped";
    EXPECT_EQ(saved.TimeSetting, 3);
    EXPECT_EQ(f.ProgressDirty, 0);
    EXPECT_EQ(f.ErrorLogDirty, 0);
    EXPECT_EQ(f.Operation, 3);
    ASSERT_EQ(f.ErrorLogCount, 2);
    ASSERT_EQ(f.ErrorLog.size(), 3u);
    EXPECT_EQ(f.ErrorLog[1], terror(6, 3, 17));
    EXPECT_EQ(f.ErrorLog[2], terror(4, 2, 1));
    EXPECT_EQ(f.Label4.text(), QString::fromUtf8("Деление"));
    EXPECT_TRUE(f.Button11.selected());
    EXPECT_FALSE(f.Button10.selected());
}

TEST_F(ProgressStorage, ASwitchWithCleanFlagsWritesNothingAndRereadsTheFiles) {
    writeDataFile("Save.dat", bytesOf(storedRecord(1, 10, 1)));
    TForm3& f = start();
    ASSERT_EQ(f.ProgressDirty, 0)
        << "1 minute and 10 exercises leave the track bars where they were";
    f.Progress.CountSetting = 40;  // a change nobody marked as unwritten is read over

    f.Button11.click();

    EXPECT_EQ(readDataFile("Save.dat"), bytesOf(storedRecord(1, 10, 1)));
    EXPECT_FALSE(QFileInfo::exists(dataFile("save2.dat")));
    EXPECT_FALSE(QFileInfo::exists(dataFile("save3.dat")));
    EXPECT_EQ(f.Progress.CountSetting, 10);
    EXPECT_EQ(f.ErrorLogCount, 0);
    EXPECT_TRUE(f.ErrorLog.empty());
    EXPECT_EQ(f.Operation, 3);
}

TEST_F(ProgressStorage, ADamagedSaveDatIsKeptAsideAndTheProgramStartsOnDefaults) {
    const QByteArray damaged(100, '\x07');
    writeDataFile("Save.dat", damaged);

    TForm3& f = start();

    const QString aside = "Save.dat.damaged-20251209-120000";
    EXPECT_EQ(readDataFile(aside), damaged);
    EXPECT_FALSE(QFileInfo::exists(dataFile("Save.dat")));
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains(aside));
    EXPECT_TRUE(reporter.messages[0].contains("100"));
    EXPECT_EQ(f.Progress.TimeSetting, 3);
    EXPECT_EQ(f.Progress.CountSetting, 25);
    EXPECT_EQ(f.LanguageRow, 1);
    EXPECT_EQ(f.Button10.text(), QString::fromUtf8("Умножение"));
}

TEST_F(ProgressStorage, ADamagedErrorFileKeepsItsWholeRecordsAndWritesThemBack) {
    const QByteArray damaged = bytesOf(terror(7, 8, 54)) + bytesOf(terror(3, 3, 10)) + "xyz";
    writeDataFile("save2.dat", damaged);
    writeDataFile("Save.dat", bytesOf(storedRecord(1, 10, 2)));

    TForm3& f = start();

    EXPECT_EQ(f.ErrorLogCount, 2);
    EXPECT_EQ(f.ErrorLog[2], terror(3, 3, 10));
    EXPECT_EQ(f.ErrorLogDirty, 1);
    EXPECT_EQ(readDataFile("save2.dat.damaged-20251209-120000"), damaged);
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains("save2.dat.damaged-20251209-120000"));
    EXPECT_TRUE(reporter.messages[0].startsWith("The file")) << "told in the stored language";

    f.FormClose();
    EXPECT_EQ(readDataFile("save2.dat"), damaged.left(24));
}

TEST_F(ProgressStorage, ASaveThatCannotBeWrittenReportsAndKeepsEverythingForTheNextSave) {
    TForm3& f = start();
    f.ErrorLog = {Terror{}, terror(5, 6, 31)};
    f.ErrorLogCount = 1;
    f.ErrorLogDirty = 1;
    breakDataFolder();

    EXPECT_FALSE(f.dispatch([&] { f.Button11Click(); }));

    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains("save2.dat"));
    EXPECT_EQ(f.ProgressDirty, 1);
    EXPECT_EQ(f.ErrorLogDirty, 1);
    EXPECT_EQ(f.Operation, 2) << "the window stays on the operation whose errors it holds";
    EXPECT_EQ(f.ErrorLogCount, 1);

    // Closing cannot write either, and says so.
    f.FormClose();
    ASSERT_EQ(reporter.messages.size(), 2);
    EXPECT_EQ(f.ErrorLogDirty, 1);

    mendDataFolder();
    f.Button11.click();
    EXPECT_EQ(reporter.messages.size(), 2);
    EXPECT_EQ(readDataFile("save2.dat"), bytesOf(terror(5, 6, 31)));
    EXPECT_EQ(savedRecord().TimeSetting, 3);
    EXPECT_EQ(f.Operation, 3);
}

TEST_F(ProgressStorage, AResetThatCannotBeWrittenLeavesTheStatisticsAsTheyWere) {
    TForm3& f = start();
    f.Progress.ExerciseCount[2][3][4] = 9;
    // A folder where the file should be: the save cannot replace it.
    ASSERT_TRUE(QDir(dataFolder()).mkdir("Save.dat"));

    EXPECT_THROW(f.SaveProgress(2, -1, 0, 0), ui::IoError);
    EXPECT_EQ(f.Progress.ExerciseCount[2][3][4], 9);
    EXPECT_EQ(f.Progress.PeriodStarted[2], 1);
    EXPECT_EQ(f.ProgressDirty, 1);
}

TEST_F(ProgressStorage, AResetEmptiesTheOperationsFilesAndStatisticsOnly) {
    writeDataFile("save3.dat", bytesOf(terror(6, 3, 17)));
    TForm3& f = start();
    f.Button11.click();
    f.Progress.ExerciseCount[3][2][2] = 5;
    f.Progress.ExerciseCount[2][2][2] = 6;
    f.Progress.MarkHistory[3][4][1] = 5;
    f.Progress.MarkHistoryLength[3][4] = 1;
    f.Progress.MarkHistoryLength[2][4] = 1;
    clock.set(kLater);

    f.SaveProgress(3, -1, -1, -1);

    EXPECT_TRUE(QFileInfo::exists(dataFile("save3.dat")));
    EXPECT_EQ(readDataFile("save3.dat").size(), 0);
    EXPECT_EQ(f.ErrorLogCount, 0);
    const ProgressRecord saved = savedRecord();
    EXPECT_EQ(saved.ExerciseCount[3][2][2], 0);
    EXPECT_EQ(saved.MarkHistory[3][4][1], 0);
    EXPECT_EQ(saved.MarkHistoryLength[3][4], 0);
    EXPECT_EQ(saved.PeriodStarted[3], 0);
    EXPECT_EQ(saved.PeriodEnd[3], kStartMoment) << "a reset keeps the dates";
    EXPECT_EQ(saved.ExerciseCount[2][2][2], 6);
    EXPECT_EQ(saved.MarkHistoryLength[2][4], 1);
    EXPECT_EQ(f.ProgressDirty, 0);

    // The next stamping write starts a new period.
    f.SaveProgress(3, 1, 0, 0);
    EXPECT_EQ(savedRecord().PeriodStarted[3], 1);
    EXPECT_EQ(savedRecord().PeriodStart[3], kLater);
}

TEST_F(ProgressStorage, TheMarksModeClearsTheOperationsMarksAfterWriting) {
    TForm3& f = start();
    f.Progress.MarkHistory[2][5][1] = 4;
    f.Progress.MarkHistoryLength[2][5] = 1;
    f.Progress.MarkHistoryLength[3][5] = 1;

    f.SaveProgress(2, 1, 0, -1);

    EXPECT_EQ(savedRecord().MarkHistoryLength[2][5], 1);
    EXPECT_EQ(f.Progress.MarkHistoryLength[2][5], 0);
    EXPECT_EQ(f.Progress.MarkHistory[2][5][1], 0);
    EXPECT_EQ(f.Progress.MarkHistoryLength[3][5], 1);
}

TEST_F(ProgressStorage, StoredLanguageAndSettingsAreShownWithoutRunningTheLanguageHandler) {
    struct Case {
        std::uint8_t code, time, count;
        int row, american, item;
        const char* button10;
        const char* minutes;
        const char* exercises;
    };
    const Case cases[] = {
        {102, 4, 30, 2, 1, 2, "Multiplication", "4", "30"},
        {2, 10, 50, 2, 0, 1, "Multiplication", "10", "50"},
        {1, 1, 10, 1, 0, 0, "Умножение", "1", "10"},
        // An unknown language reads as Russian; settings out of range show the nearest bound.
        {7, 0, 200, 1, 0, 0, "Умножение", "1", "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const QByteArray stored = bytesOf(storedRecord(c.time, c.count, c.code));
        writeDataFile("Save.dat", stored);
        TForm3 f(dataFolder(), clock, random, reporter);
        f.FormCreate();
        EXPECT_EQ(f.LanguageRow, c.row);
        EXPECT_EQ(f.AmericanEnglish, c.american);
        EXPECT_EQ(f.ComboBox1.itemIndex(), c.item);
        EXPECT_EQ(f.ComboBox1.tag(), 0);
        EXPECT_EQ(f.Button10.text(), QString::fromUtf8(c.button10));
        EXPECT_EQ(f.Label6.text(), c.minutes);
        EXPECT_EQ(f.Label8.text(), c.exercises);
        EXPECT_EQ(readDataFile("Save.dat"), stored) << "start-up writes nothing";
    }
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ProgressStorage, ChoosingAmericanEnglishIsWrittenAtOnceAndComesBackAtTheNextStart) {
    TForm3& f = start();
    clock.set(kLater);

    f.ComboBox1.setItemIndex(2);

    EXPECT_EQ(readDataFile("Save.dat").at(640), char(102));
    EXPECT_EQ(savedRecord().PeriodEnd[2], kLater);
    EXPECT_EQ(f.Button10.text(), "Multiplication");
    EXPECT_EQ(f.Label1.text(), "by 2");
    EXPECT_EQ(f.Label22.text(), "number  1-7");
    EXPECT_EQ(f.ProgressDirty, 0);
    f.FormClose();

    TForm3 again(dataFolder(), clock, random, reporter);
    again.FormCreate();
    EXPECT_EQ(again.ComboBox1.itemIndex(), 2);
    EXPECT_EQ(again.ComboBox1.items()[2], "ENGLISH American");
    EXPECT_EQ(again.Button14.text(), "Statistics");
    EXPECT_EQ(again.uiText(34), "Set to nil");
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ProgressStorage, ALanguageChangeThatCannotBeWrittenStaysUnwritten) {
    TForm3& f = start();
    f.SaveProgress(2, 1, 0, 0);
    ASSERT_EQ(f.ProgressDirty, 0);
    breakDataFolder();

    EXPECT_FALSE(f.dispatch([&] { f.ComboBox1.setItemIndex(1); }));

    EXPECT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].startsWith("The progress")) << "in the chosen language";
    EXPECT_EQ(f.ProgressDirty, 1);
    mendDataFolder();
    f.FormClose();
    EXPECT_EQ(savedRecord().LanguageCode, 2);
}

TEST_F(ProgressStorage, ClosingWritesOnlyWhatIsUnwritten) {
    writeDataFile("Save.dat", bytesOf(storedRecord(1, 10, 1)));
    TForm3& f = start();
    f.FormClose();
    EXPECT_EQ(readDataFile("Save.dat"), bytesOf(storedRecord(1, 10, 1)));
    EXPECT_FALSE(QFileInfo::exists(dataFile("save2.dat")));

    f.TrackBar1.setValue(6);
    clock.set(kLater);
    f.FormClose();
    EXPECT_EQ(savedRecord().TimeSetting, 6);
    EXPECT_EQ(savedRecord().PeriodEnd[2], 45500) << "a new setting is no practice";
    EXPECT_EQ(savedRecord().ExerciseCount[3][4][5], 12);
    EXPECT_EQ(f.ProgressDirty, 0);
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ProgressStorage, OpeningAndClosingWithoutPracticeLeavesEveryFileAsItWas) {
    using Action = void (*)(TForm3&);
    const struct {
        const char* what;
        const char* stored;  // nullptr: no files at all
        Action action;
    } cases[] = {
        {"a first start", nullptr, [](TForm3&) {}},
        // The stored settings move the track bars at start, which marks the record unwritten.
        {"the default settings", "3 25 1", [](TForm3&) {}},
        {"American English, numbers chosen", "7 40 102",
         [](TForm3& f) {
             f.Button1.click();
             f.Button7.click();
         }},
        {"the operation chosen again", "1 10 2", [](TForm3& f) { f.Button10.click(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(dataFolder()).removeRecursively();
        clock.set(kStartMoment);
        QByteArray stored;
        if (c.stored != nullptr) {
            const QStringList settings = QString(c.stored).split(' ');
            stored = bytesOf(
                storedRecord(settings[0].toUInt(), settings[1].toUInt(), settings[2].toUInt()));
            writeDataFile("Save.dat", stored);
            writeDataFile("save2.dat", bytesOf(terror(7, 8, 54)));
        }
        TForm3 f(dataFolder(), clock, random, reporter);
        f.FormCreate();
        c.action(f);
        clock.set(kLater + 10);

        f.FormClose();

        EXPECT_EQ(QFileInfo::exists(dataFile("Save.dat")), c.stored != nullptr);
        EXPECT_EQ(readDataFile("Save.dat"), stored);
        EXPECT_EQ(readDataFile("save2.dat"), c.stored ? bytesOf(terror(7, 8, 54)) : QByteArray());
        EXPECT_FALSE(QFileInfo::exists(dataFile("save3.dat")));
    }
    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
}

TEST_F(ProgressStorage, ACloseAfterAnswersSavesThemAndStampsThePeriodAsARunsEndWould) {
    for (int i = 0; i < 100; ++i) {
        random.push(i * 7 % 10);
    }
    writeDataFile("Save.dat", bytesOf(storedRecord(3, 25, 1)));
    TForm3& f = start();
    f.Button12Click();
    const int a = f.SelectedNumber;
    const int b = f.SecondOperand;
    press(f, wrongAnswer(f));
    f.Button12Click();  // Stop: a run without a mark saves nothing of itself
    ASSERT_FALSE(QFileInfo::exists(dataFile("save2.dat")));
    clock.set(kLater);

    f.FormClose();

    const ProgressRecord saved = savedRecord();
    EXPECT_EQ(saved.ExerciseCount[2][a][b], 1);
    EXPECT_EQ(saved.PeriodStart[2], 45000);
    EXPECT_EQ(saved.PeriodEnd[2], kLater);
    EXPECT_EQ(saved.PeriodEnd[3], 0) << "only the practised operation is stamped";
    EXPECT_EQ(saved.TimeSetting, 3);
    EXPECT_EQ(saved.CountSetting, 25);
    const QByteArray errors = readDataFile("save2.dat");
    ASSERT_EQ(errors.size(), Terror::kSize);
    EXPECT_EQ(errors.at(0), char(a));
    EXPECT_EQ(errors.at(1), char(b));
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ProgressStorage, ACloseDuringErrorCorrectionKeepsThePupilsOwnSettings) {
    writeDataFile("Save.dat", bytesOf(storedRecord(3, 25, 1)));
    TForm3& f = start();
    // Error correction shows its own time and count on the track bars.
    for (int k = 0; k < 14; ++k) {
        f.CurrentErrors[2].push_back(Ter{6, 7});
    }
    f.Button13Click();
    ASSERT_EQ(f.Button13.tag(), 1);
    ASSERT_EQ(f.TrackBar1.value(), 8);
    ASSERT_EQ(f.Progress.TimeSetting, 3);
    clock.set(kLater);

    f.FormClose();
    EXPECT_EQ(readDataFile("Save.dat"), bytesOf(storedRecord(3, 25, 1)));

    // With an answer given in the mode, the practice is saved with the pupil's settings.
    f.Progress.ExerciseCount[2][6][7] += 1;
    f.ProgressDirty = 1;
    f.FormClose();
    EXPECT_EQ(savedRecord().ExerciseCount[2][6][7], 1);
    EXPECT_EQ(savedRecord().TimeSetting, 3);
    EXPECT_EQ(savedRecord().CountSetting, 25);
    EXPECT_EQ(savedRecord().PeriodEnd[2], kLater);
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include <QFileInfo>

#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"
#include "trainer/ErrorCorrection.h"

namespace {

class ErrorCorrection : public FormFixture {
  protected:
    ErrorCorrection() {
        for (int i = 0; i < 1000; ++i) {
            random.push(i * 7 % 10);
        }
        start();
    }

    // The pupil's own settings, moved on the track bars.
    void setPupilSettings(int minutes, int exercises) {
        form().TrackBar1.setValue(minutes);
        form().TrackBar2.setValue(exercises);
    }

    // Wrong answers to the same exercise, as a run would have recorded them.
    void recordErrors(int operation, int count, Ter exercise = {6, 7}) {
        for (int i = 0; i < count; ++i) {
            form().CurrentErrors[operation].push_back(exercise);
        }
    }

    // The byte of Save.dat at an offset, or -1 when the file is missing.
    int savedByte(int offset) const {
        const QByteArray bytes = readDataFile("Save.dat");
        return bytes.size() > offset ? static_cast<std::uint8_t>(bytes[offset]) : -1;
    }

    bool running() { return form().Button12.tag() == 1; }
    bool modeOn() { return form().Button13.tag() == 1; }
};

TEST(ErrorCorrectionMinutes, OneMoreThanHalfTheErrorsAtMostTen) {
    const std::pair<int, int> cases[] = {{1, 1},   {4, 3},   {5, 3},   {17, 9},
                                         {18, 10}, {19, 10}, {20, 10}, {300, 10}};
    for (const auto& [errors, minutes] : cases) {
        EXPECT_EQ(trainer::errorCorrectionMinutes(errors), minutes) << errors;
    }
}

TEST_F(ErrorCorrection, TheRunIsSetUpForTheErrorsAndTheSettingsComeBackAfterwards) {
    const struct {
        int errors;
        double minutes, barCount, barMaximum;
        bool endedByANumberButton;  // before any run; else by Stop
    } cases[] = {
        {5, 3, 10, 50, false},  // the count bar keeps its minimum of 10
        {4, 3, 10, 50, true},
        {18, 10, 18, 50, false},
        {60, 10, 60, 60, true},  // the count bar's maximum is raised
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.errors);
        TForm3& f = form();
        f.Button1.click();  // all numbers, to come back to
        setPupilSettings(4, 30);
        recordErrors(2, c.errors);

        f.Button13.click();
        EXPECT_TRUE(modeOn());
        EXPECT_EQ(f.NumberMode, 2);
        EXPECT_EQ(f.Label9.text(), QString::fromUtf8("Умножение:"));
        EXPECT_EQ(f.Label5.text(), QString::fromUtf8("количество ошибок - %1").arg(c.errors));
        EXPECT_TRUE(f.Label5.visible() && f.Label9.visible());
        EXPECT_EQ(f.Label1.text(), f.Button13.text());
        EXPECT_EQ(f.Label1.fontSize(), 16);
        EXPECT_EQ(f.Label8.text(), QString::number(c.errors));
        EXPECT_EQ(f.Label6.text(), QString::number(c.minutes));
        EXPECT_DOUBLE_EQ(f.TrackBar1.value(), c.minutes);
        EXPECT_DOUBLE_EQ(f.TrackBar2.value(), c.barCount);
        EXPECT_DOUBLE_EQ(f.TrackBar2.maximum(), c.barMaximum);
        EXPECT_DOUBLE_EQ(f.ProgressBar2.maximum(), c.minutes * 60);
        EXPECT_DOUBLE_EQ(f.ProgressBar1.maximum(), c.barCount);
        EXPECT_TRUE(f.Button13.selected() && f.Button10.selected());
        EXPECT_FALSE(f.Button1.selected());
        EXPECT_EQ(f.Progress.TimeSetting, 4) << "the pupil's settings stay in the record";
        EXPECT_EQ(f.Progress.CountSetting, 30);

        if (c.endedByANumberButton) {
            f.Button1.click();
        } else {
            f.Button12.click();
            EXPECT_EQ(f.ExercisesInRun, c.errors);
            f.Button12.click();  // Stop
        }

        EXPECT_FALSE(modeOn());
        EXPECT_EQ(f.NumberMode, 1);
        EXPECT_EQ(f.SelectedNumber, 1);
        EXPECT_TRUE(f.Button1.selected());
        EXPECT_DOUBLE_EQ(f.TrackBar1.maximum(), 10);
        EXPECT_DOUBLE_EQ(f.TrackBar2.maximum(), 50);
        EXPECT_DOUBLE_EQ(f.TrackBar1.value(), 4);
        EXPECT_DOUBLE_EQ(f.TrackBar2.value(), 30);
        EXPECT_EQ(f.Label6.text(), "4");
        EXPECT_EQ(f.Label8.text(), "30");
        EXPECT_EQ(f.Progress.TimeSetting, 4);
        EXPECT_EQ(f.Progress.CountSetting, 30);
        f.CurrentErrors[2].clear();
    }
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ErrorCorrection, AsksTheDaysWrongAnswersNewestFirstUntilEachIsRight) {
    TForm3& f = form();
    f.TrackBar2.setValue(10);
    f.Button12.click();
    std::vector<std::pair<int, int>> missed;
    for (int i = 1; i <= 10; ++i) {
        if (i == 2 || i == 5 || i == 9) {
            missed.emplace_back(f.SelectedNumber, f.SecondOperand);
            press(f, wrongAnswer(f));
        } else {
            press(f, f.ExpectedAnswer);
        }
    }
    ASSERT_FALSE(running());
    const QByteArray savedRecord = readDataFile("Save.dat");
    const int errorRecords = f.ErrorLogCount;

    f.Button13.click();
    f.Button12.click();
    for (auto exercise = missed.rbegin(); exercise != missed.rend(); ++exercise) {
        ASSERT_TRUE(running());
        EXPECT_EQ(f.Label7.text(), QString("2 x %1 =").arg(exercise->second));
        const std::uint16_t answered = f.Progress.ExerciseCount[2][2][exercise->second];
        // A wrong press shows the crimson sign and keeps the exercise.
        press(f, wrongAnswer(f));
        press(f, wrongAnswer(f));
        EXPECT_TRUE(f.Label16.visible());
        EXPECT_EQ(f.Label7.text(), QString("2 x %1 =").arg(exercise->second));
        EXPECT_EQ(f.Progress.ExerciseCount[2][2][exercise->second], answered + 2);
        press(f, f.ExpectedAnswer);
        EXPECT_FALSE(f.Label16.visible());
    }
    EXPECT_FALSE(running());
    EXPECT_FALSE(modeOn());
    EXPECT_EQ(f.WrongAnswers, 0);
    EXPECT_EQ(f.ErrorLogCount, errorRecords) << "no error is recorded in error correction";
    EXPECT_TRUE(f.CurrentErrors[2].empty());
    EXPECT_EQ(f.Progress.MarkHistoryLength[2][2], 1) << "no mark for error correction";
    EXPECT_EQ(readDataFile("Save.dat"), savedRecord) << "nothing is saved";
    EXPECT_EQ(f.SelectedNumber, 2);
    EXPECT_TRUE(f.Button2.selected());
}

TEST_F(ErrorCorrection, TheSameExerciseMissedTwiceIsAskedTwice) {
    TForm3& f = form();
    recordErrors(2, 2, Ter{3, 4});
    f.Button13.click();
    f.Button12.click();
    EXPECT_EQ(f.ExercisesInRun, 2);
    for (int asked = 1; asked <= 2; ++asked) {
        ASSERT_TRUE(running()) << asked;
        EXPECT_EQ(f.Label7.text(), "3 x 4 =");
        press(f, 12);
    }
    EXPECT_FALSE(running());
}

TEST_F(ErrorCorrection, StopLeavesTheErrorsNotYetAskedForALaterRun) {
    TForm3& f = form();
    f.CurrentErrors[2] = {{3, 4}, {5, 6}, {7, 8}};
    f.Button13.click();
    f.Button12.click();
    EXPECT_EQ(f.Label7.text(), "7 x 8 =");
    press(f, 56);
    EXPECT_EQ(f.Label7.text(), "5 x 6 =");
    press(f, 31);
    EXPECT_TRUE(f.Label16.visible());
    f.Button12.click();
    EXPECT_FALSE(modeOn());
    EXPECT_FALSE(f.Label16.visible()) << "the sign goes with the run";
    EXPECT_EQ(f.CurrentErrors[2], (std::vector<Ter>{{3, 4}})) << "asked errors are gone";

    f.Button13.click();
    EXPECT_EQ(f.Label5.text(), QString::fromUtf8("количество ошибок - 1"));
}

TEST_F(ErrorCorrection, ARunWhoseListRunsOutAfterASwitchOfOperationEnds) {
    TForm3& f = form();
    recordErrors(2, 3);
    f.CurrentErrors[3] = {{4, 5}};
    f.Button13.click();
    f.Button11.click();
    EXPECT_TRUE(modeOn()) << "a switch of operation leaves the mode on";
    EXPECT_EQ(f.Label8.text(), "3");

    f.Button12.click();
    EXPECT_EQ(f.ExercisesInRun, 3);
    EXPECT_EQ(f.Label7.text(), "20 : 4 =");
    press(f, 5);
    EXPECT_FALSE(running()) << "nothing left to ask";
    EXPECT_FALSE(modeOn());
    EXPECT_FALSE(f.Timer1.enabled());

    // With the list already empty, Start ends the run at once.
    recordErrors(3, 1);
    f.Button13.click();
    f.CurrentErrors[3].clear();
    f.Button12.click();
    EXPECT_FALSE(running());
    EXPECT_FALSE(modeOn());
    EXPECT_FALSE(f.Label7.visible());
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ErrorCorrection, ThePupilsSettingsAreSavedWhileTheModeIsOnWithAnyNumberOfErrors) {
    TForm3& f = form();
    setPupilSettings(4, 30);
    recordErrors(2, 300);
    f.Button13.click();
    EXPECT_TRUE(modeOn());
    EXPECT_EQ(f.Label8.text(), "300");
    EXPECT_DOUBLE_EQ(f.TrackBar2.value(), 300);

    // A switch of operation saves the record and reads it again: the bars keep the mode's values.
    f.Button11.click();
    EXPECT_EQ(savedByte(638), 4);
    EXPECT_EQ(savedByte(639), 30);
    EXPECT_DOUBLE_EQ(f.TrackBar2.value(), 300);
    EXPECT_DOUBLE_EQ(f.TrackBar1.value(), 10);
    f.Button10.click();

    f.ProgressDirty = 1;
    f.FormClose();
    EXPECT_EQ(savedByte(638), 4);
    EXPECT_EQ(savedByte(639), 30);
    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
}

TEST_F(ErrorCorrection, WithoutErrorsTheModeIsRefusedWithAMessage) {
    TForm3& f = form();
    f.Button13.click();
    EXPECT_FALSE(modeOn());
    EXPECT_EQ(f.NumberMode, 0);
    EXPECT_EQ(f.Label9.text(), QString::fromUtf8("Умножение:"));
    EXPECT_EQ(f.Label5.text(), QString::fromUtf8("Текущих ошибок нет"));
    EXPECT_TRUE(f.Label5.visible());
    // The run settings take the place of the language and help controls.
    EXPECT_FALSE(f.ComboBox1.visible() || f.Button18.visible());
    EXPECT_TRUE(f.TrackBar1.visible() && f.Label8.visible());
}

TEST_F(ErrorCorrection, TheButtonDoesNothingWhileTheModeIsOnDuringARunOnStatisticsOrInTheGame) {
    TForm3& f = form();
    // Everything the button sets when it switches the mode on.
    const auto modeState = [&f] {
        return std::tuple{f.Button13.tag(),
                          f.NumberMode,
                          f.Button13.selected(),
                          f.Label1.text().toStdString(),
                          f.Label5.text().toStdString(),
                          f.Label8.text().toStdString(),
                          f.TrackBar1.value(),
                          f.TrackBar2.value(),
                          f.SavedTimeSetting,
                          f.SavedCountSetting};
    };
    const auto clickChangesNothing = [&](const char* where) {
        SCOPED_TRACE(where);
        const auto before = modeState();
        f.Button13.click();
        EXPECT_EQ(modeState(), before);
    };
    recordErrors(2, 3);

    f.Button13.click();
    ASSERT_TRUE(modeOn());
    f.CurrentErrors[2].push_back({9, 9});
    clickChangesNothing("the mode on");
    f.Button2.click();
    ASSERT_FALSE(modeOn());

    f.Button12.click();
    ASSERT_TRUE(running());
    ASSERT_EQ(f.NumberMode, 0) << "an ordinary run";
    clickChangesNothing("an ordinary run, with errors to correct");
    EXPECT_TRUE(running());
    f.Button12.click();

    f.Button14.click();
    clickChangesNothing("the statistics screen");
    f.Button14.click();

    f.Button15.click();
    clickChangesNothing("game mode");
    f.Button15.click();

    ASSERT_FALSE(f.CurrentErrors[2].empty());
    f.Button13.click();
    EXPECT_TRUE(modeOn()) << "the button works again once the window is idle";
}

}  // namespace

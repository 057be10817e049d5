#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "persistence/ProgressRecord.h"
#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

class ExerciseRun : public FormFixture {
  protected:
    ExerciseRun() {
        for (int i = 0; i < 1000; ++i) {
            random.push(i * 7 % 10);
        }
        start();
    }

    // Sets the number of exercises with the track bar, as the pupil does.
    void setExercises(int count) { form().TrackBar2.setValue(count); }

    persistence::ProgressRecord savedRecord() const {
        const QByteArray bytes = readDataFile("Save.dat");
        EXPECT_EQ(bytes.size(), persistence::ProgressRecord::kSize);
        persistence::ProgressBytes raw{};
        std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), raw.size()),
                    reinterpret_cast<char*>(raw.data()));
        return persistence::decodeProgressRecord(raw);
    }

    bool running() { return form().Button12.tag() == 1; }
};

TEST_F(ExerciseRun, StartShowsTheFirstExerciseAndTheRunSettings) {
    TForm3& f = form();
    f.Button12Click();
    EXPECT_TRUE(running());
    EXPECT_TRUE(f.Timer1.enabled());
    EXPECT_TRUE(f.Label7.visible());
    EXPECT_EQ(f.Label7.text(), QString("2 x %1 =").arg(f.SecondOperand));
    EXPECT_EQ(f.Button12.text(), QString::fromUtf8("Стоп"));
    EXPECT_EQ(f.ExercisesInRun, 25);
    EXPECT_EQ(f.ExerciseNumber, 1);
    EXPECT_EQ(f.DrawCounter, 0);
    EXPECT_DOUBLE_EQ(f.ProgressBar1.value(), 0);
    EXPECT_DOUBLE_EQ(f.ProgressBar2.value(), 0);
    EXPECT_FALSE(f.ComboBox1.visible());
    EXPECT_FALSE(f.Button18.visible());
    EXPECT_TRUE(f.TrackBar1.visible());
    EXPECT_FALSE(f.TrackBar1.enabled());
    EXPECT_TRUE(f.Button3.selected() && f.Button11.selected() && f.Button13.selected());
    EXPECT_TRUE(f.Button14.selected() && f.Button15.selected());
}

TEST_F(ExerciseRun, TheTenthPressCompletesARunOfTenAndItsMarkIsSaved) {
    TForm3& f = form();
    setExercises(10);
    f.Button12Click();
    for (int i = 1; i <= 10; ++i) {
        ASSERT_TRUE(running()) << "press " << i;
        press(f, i == 4 ? wrongAnswer(f) : f.ExpectedAnswer);
        EXPECT_DOUBLE_EQ(f.ProgressBar1.value(), i < 10 ? i : 0);
    }
    EXPECT_FALSE(running());
    EXPECT_FALSE(f.Timer1.enabled());
    EXPECT_FALSE(f.Label7.visible());
    EXPECT_EQ(f.Button12.text(), QString::fromUtf8("Старт"));
    EXPECT_EQ(f.Progress.MarkHistoryLength[2][2], 1);
    EXPECT_EQ(f.Progress.MarkHistory[2][2][1], 4);
    EXPECT_EQ(f.ProgressDirty, 0);
    EXPECT_EQ(f.ErrorLogDirty, 0);

    const persistence::ProgressRecord saved = savedRecord();
    EXPECT_EQ(saved.MarkHistoryLength[2][2], 1);
    EXPECT_EQ(saved.MarkHistory[2][2][1], 4);
    int answered = 0;
    for (int b = 1; b <= 10; ++b) {
        answered += saved.ExerciseCount[2][2][b];
    }
    EXPECT_EQ(answered, 10);
    EXPECT_EQ(readDataFile("save2.dat").size(), 12) << "the one wrong answer";
    EXPECT_EQ(f.CurrentErrors[2].size(), 1u);
}

TEST_F(ExerciseRun, AnAllNumbersRunFilesItsMarkUnderNumberOne) {
    TForm3& f = form();
    f.Button1Click();
    setExercises(10);
    f.Button12Click();
    while (running()) {
        EXPECT_GE(f.SelectedNumber, 2);
        EXPECT_LE(f.SelectedNumber, 9);
        press(f, f.ExpectedAnswer);
    }
    EXPECT_EQ(f.Progress.MarkHistoryLength[2][1], 1);
    EXPECT_EQ(f.Progress.MarkHistory[2][1][1], 5);
    EXPECT_EQ(f.SelectedNumber, 1);
    EXPECT_EQ(f.NumberMode, 1);
    EXPECT_TRUE(f.Button1.selected());
    EXPECT_FALSE(QFileInfo::exists(dataFile("save2.dat"))) << "no error to write";
}

TEST_F(ExerciseRun, TimeRunsOutOnThe181stTickAtThreeMinutes) {
    TForm3& f = form();
    f.Button12Click();
    for (int tick = 1; tick <= 180; ++tick) {
        f.Timer1.tick();
    }
    EXPECT_TRUE(running());
    EXPECT_DOUBLE_EQ(f.ProgressBar2.value(), 180);
    f.Timer1.tick();
    EXPECT_FALSE(running());
    EXPECT_FALSE(f.Timer1.enabled());
    EXPECT_TRUE(f.Label14.visible());
    EXPECT_EQ(f.Label14.text(), QString::fromUtf8("Время истекло"));
    EXPECT_EQ(f.Label14.fontColor(), 0xFF1E90FFu);
    EXPECT_DOUBLE_EQ(f.ProgressBar2.value(), 0);
    EXPECT_EQ(f.Progress.MarkHistoryLength[2][2], 0);
    EXPECT_FALSE(QFileInfo::exists(dataFile("Save.dat")));
}

TEST_F(ExerciseRun, TheTimeUpMessageSpeaksTheChosenLanguage) {
    const struct {
        int item;
        const char* message;
    } languages[] = {{1, "Time has expired"}, {2, "Time expired"}};
    for (const auto& language : languages) {
        FormFixture::form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter);
        TForm3& f = start();
        f.ComboBox1.setItemIndex(language.item);
        f.TrackBar1.setValue(1);
        f.Button12Click();
        for (int tick = 1; tick <= 61; ++tick) {
            f.Timer1.tick();
        }
        EXPECT_FALSE(running());
        EXPECT_EQ(f.Label14.text(), language.message);
    }
}

TEST_F(ExerciseRun, StopEndsAtOnceWithoutAMarkAndWritesNothing) {
    TForm3& f = form();
    f.Button12Click();
    press(f, f.ExpectedAnswer);
    press(f, wrongAnswer(f));
    f.Button12Click();
    EXPECT_FALSE(running());
    EXPECT_FALSE(f.Label14.visible());
    EXPECT_EQ(f.Progress.MarkHistoryLength[2][2], 0);
    EXPECT_EQ(f.ProgressDirty, 1) << "the answers wait for the next save";
    EXPECT_EQ(f.ErrorLogDirty, 1);
    EXPECT_FALSE(QFileInfo::exists(dataFile("Save.dat")));
    EXPECT_FALSE(QFileInfo::exists(dataFile("save2.dat")));

    // A press after the run is not judged.
    const auto before = f.RecentAnswers[2].size();
    press(f, 5);
    EXPECT_EQ(f.RecentAnswers[2].size(), before);
}

TEST_F(ExerciseRun, PressesLandInTheCellUnderThePointer) {
    TForm3& f = form();
    f.Button12Click();
    const struct {
        double x;
        double y;
        int clicked;
    } presses[] = {
        {77.2, 0, 1},           // the first cell is shown up to 78 x 0.99 = 77.22
        {77.3, 0, 2},           // the gap left of the second belongs to it
        {5, 556.5, 81},         // the last row is shown from (8 x 70 + 2) x 0.99 = 556.38
        {0.995 * 783, 10, 11},  // right of the table: column 11
        {5, 632 - 3, 91},       // below the table: row 10
        {782, 631, 101},
    };
    for (const auto& p : presses) {
        f.ImageViewer1MouseDown(p.x, p.y);
        f.ImageViewer1MouseUp(p.x, p.y);
        ASSERT_FALSE(f.RecentAnswers[2].empty());
        EXPECT_EQ(f.RecentAnswers[2].back().Clicked, p.clicked) << p.x << ", " << p.y;
    }
}

TEST_F(ExerciseRun, WrongAnswersAreRecordedOncePerExerciseAndAnswer) {
    TForm3& f = form();
    f.Button12Click();
    // Give the same wrong answer to whatever comes; records merge per exercise and answer.
    for (int i = 0; i < 12; ++i) {
        press(f, 1);
    }
    float weights = 0;
    for (int k = 1; k <= f.ErrorLogCount; ++k) {
        const Terror& e = f.ErrorLog.at(static_cast<std::size_t>(k));
        EXPECT_EQ(e.res, 1);
        EXPECT_EQ(e.z1, 2);
        for (int other = k + 1; other <= f.ErrorLogCount; ++other) {
            EXPECT_NE(f.ErrorLog.at(static_cast<std::size_t>(other)).Z2, e.Z2);
        }
        weights += e.error;
    }
    EXPECT_FLOAT_EQ(weights, 12.0f);
    EXPECT_EQ(f.CurrentErrors[2].size(), 12u);
    EXPECT_EQ(f.WrongAnswers, 12);
    EXPECT_EQ(f.RecentAnswers[2].size(), 10u) << "the list keeps the last ten";
}

TEST_F(ExerciseRun, ACountAtItsLargestValueStaysThereAndTheAnswerIsStillJudged) {
    TForm3& f = form();
    f.Button12Click();
    const int b = f.SecondOperand;
    f.Progress.ExerciseCount[2][2][b] = 65535;
    press(f, f.ExpectedAnswer);
    EXPECT_EQ(f.Progress.ExerciseCount[2][2][b], 65535);
    EXPECT_EQ(f.ExerciseNumber, 2);
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ExerciseRun, StartIsRefusedOnTheStatisticsScreen) {
    TForm3& f = form();
    f.Button14.setTag(1);
    f.Button12Click();
    EXPECT_FALSE(running());
    EXPECT_FALSE(f.Timer1.enabled());
}

}  // namespace

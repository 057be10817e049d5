#include <gtest/gtest.h>

#include <QFile>
#include <QString>

#include "tests/support/FormFixture.h"

namespace {

class ModeControls : public FormFixture {
  protected:
    // Button1..Button11 and Button13, in that order, as selected or not.
    std::vector<bool> highlighted() {
        TForm3& f = form();
        std::vector<bool> state;
        for (const ui::Button* b :
             {&f.Button1, &f.Button2, &f.Button3, &f.Button4, &f.Button5, &f.Button6, &f.Button7,
              &f.Button8, &f.Button9, &f.Button10, &f.Button11, &f.Button13}) {
            state.push_back(b->selected());
        }
        return state;
    }
};

constexpr bool X = true;
constexpr bool o = false;

TEST_F(ModeControls, StartSelectsTheNumberTwoAndMultiplication) {
    TForm3& f = start();
    EXPECT_EQ(highlighted(), (std::vector<bool>{o, X, o, o, o, o, o, o, o, X, o, o}));
    EXPECT_EQ(f.Button2.effectiveTextColor(), 0xFF000000);
    EXPECT_EQ(f.Button3.effectiveTextColor(), 0xFFE0E0E0);
    EXPECT_EQ(f.Label1.text(), QString::fromUtf8("на 2"));
    EXPECT_EQ(f.Label1.fontSize(), 24);
    EXPECT_EQ(f.Label4.text(), QString::fromUtf8("Умножение"));
    EXPECT_EQ(f.Button2.text(), QString::fromUtf8("на 2"));
}

TEST_F(ModeControls, NumberButtonsChooseAllOrOneNumber) {
    TForm3& f = start();
    f.ProgressBar1.setValue(5);

    f.Button1.click();
    EXPECT_EQ(f.Label1.text(), QString::fromUtf8("Все"));
    EXPECT_EQ(f.SelectedNumber, 1);
    EXPECT_EQ(f.NumberMode, 1);
    EXPECT_EQ(f.ProgressBar1.value(), 0);
    EXPECT_EQ(highlighted(), (std::vector<bool>{X, o, o, o, o, o, o, o, o, X, o, o}));

    f.Button7.click();
    EXPECT_EQ(f.Label1.text(), QString::fromUtf8("на 7"));
    EXPECT_EQ(f.SelectedNumber, 7);
    EXPECT_EQ(f.NumberMode, 0);
    EXPECT_EQ(highlighted(), (std::vector<bool>{o, o, o, o, o, o, X, o, o, X, o, o}));
}

TEST_F(ModeControls, EachControlDoesNothingInTheModesThatForbidIt) {
    struct Case {
        const char* flag;
        bool numbersWork, operationsWork, trackBarsWork;
    };
    const Case cases[] = {
        {"Button12", false, false, false},  // a run or a game level
        {"Button14", false, true, true},    // the statistics screen
        {"Button15", false, false, false},  // game mode
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag);
        form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter);
        TForm3& f = start();
        f.ProgressDirty = 0;
        ui::Button& flag = c.flag == QStringLiteral("Button12")   ? f.Button12
                           : c.flag == QStringLiteral("Button14") ? f.Button14
                                                                  : f.Button15;
        flag.setTag(1);

        f.Button5.click();
        EXPECT_EQ(f.SelectedNumber == 5, c.numbersWork);
        EXPECT_EQ(f.Label1.text() == QString::fromUtf8("на 5"), c.numbersWork);

        f.Button11.click();
        EXPECT_EQ(f.Operation == 3, c.operationsWork);

        f.TrackBar1.setValue(7);
        f.TrackBar2.setValue(44);
        EXPECT_EQ(f.Label6.text() == "7", c.trackBarsWork);
        EXPECT_EQ(f.Progress.TimeSetting == 7, c.trackBarsWork);
        EXPECT_EQ(f.Label8.text() == "44", c.trackBarsWork);
        EXPECT_EQ(f.Progress.CountSetting == 44, c.trackBarsWork);
        EXPECT_EQ(f.ProgressDirty == 1, c.trackBarsWork);
    }
    EXPECT_TRUE(reporter.messages.isEmpty());
}

TEST_F(ModeControls, TrackBarsShowAndStoreTheRoundedValueAndTimeTheExactOne) {
    TForm3& f = start();
    f.ProgressDirty = 0;

    f.TrackBar1.setValue(2.5);
    EXPECT_EQ(f.Label6.text(), "2") << "a half goes to the even neighbour";
    EXPECT_EQ(f.Progress.TimeSetting, 2);
    EXPECT_DOUBLE_EQ(f.ProgressBar2.maximum(), 150);
    EXPECT_EQ(f.ProgressDirty, 1);

    f.TrackBar1.setValue(3.5);
    EXPECT_EQ(f.Label6.text(), "4");
    f.TrackBar1.setValue(3.4);
    EXPECT_EQ(f.Label6.text(), "3");
    EXPECT_DOUBLE_EQ(f.ProgressBar2.maximum(), 204);

    f.TrackBar2.setValue(12.5);
    EXPECT_EQ(f.Label8.text(), "12");
    EXPECT_EQ(f.Progress.CountSetting, 12);
    EXPECT_DOUBLE_EQ(f.ProgressBar1.maximum(), 12.5);
}

TEST_F(ModeControls, ChoosingANumberEndsErrorCorrectionAndPutsTheSettingsBack) {
    TForm3& f = start();
    f.TrackBar1.setValue(4);
    f.TrackBar2.setValue(30);
    f.CurrentErrors[2].assign(60, Ter{6, 7});
    f.Button13.click();
    ASSERT_EQ(f.Button13.tag(), 1);
    ASSERT_DOUBLE_EQ(f.TrackBar2.maximum(), 60);
    ASSERT_DOUBLE_EQ(f.TrackBar2.value(), 60);
    ASSERT_DOUBLE_EQ(f.TrackBar1.value(), 10);
    EXPECT_EQ(f.Progress.CountSetting, 30) << "the mode's values are not the pupil's settings";

    f.Button3.click();

    EXPECT_EQ(f.Button13.tag(), 0);
    EXPECT_DOUBLE_EQ(f.TrackBar2.maximum(), 50);
    EXPECT_DOUBLE_EQ(f.TrackBar1.value(), 4);
    EXPECT_DOUBLE_EQ(f.TrackBar2.value(), 30);
    EXPECT_EQ(f.Label6.text(), "4");
    EXPECT_EQ(f.Label8.text(), "30");
    EXPECT_DOUBLE_EQ(f.ProgressBar2.maximum(), 240);
    EXPECT_DOUBLE_EQ(f.ProgressBar1.maximum(), 30);
    EXPECT_EQ(f.Progress.TimeSetting, 4);
    EXPECT_EQ(f.Progress.CountSetting, 30);

    // The bars are the pupil's settings again.
    f.TrackBar1.setValue(6);
    f.TrackBar2.setValue(40);
    EXPECT_EQ(f.Label6.text(), "6");
    EXPECT_EQ(f.Label8.text(), "40");
    EXPECT_EQ(f.Progress.TimeSetting, 6);
    EXPECT_EQ(f.Progress.CountSetting, 40);
}

TEST_F(ModeControls, MultiplicationsPressedLookTogglesAtEachClickBesideItsSelection) {
    TForm3& f = start();
    struct Step {
        ui::Button* clicked;
        bool pressed, selected;
    };
    const Step steps[] = {
        {&f.Button10, true, true},
        {&f.Button11, true, false},
        {&f.Button10, false, true},
        {&f.Button10, true, true},
    };
    EXPECT_FALSE(f.Button10.pressed());
    for (const Step& s : steps) {
        s.clicked->click();
        EXPECT_EQ(f.Button10.pressed(), s.pressed);
        EXPECT_EQ(f.Button10.selected(), s.selected);
        EXPECT_FALSE(f.Button11.pressed());
    }
    // While a run forbids choosing the operation, the click still toggles the look.
    f.Button12.setTag(1);
    f.Button10.click();
    EXPECT_FALSE(f.Button10.pressed());
    EXPECT_TRUE(f.Button10.selected());
}

TEST_F(ModeControls, HighlightingFollowsEachCallersArguments) {
    struct Case {
        int operation, number, keep;
        std::vector<bool> expected;
    };
    // From the start state: Button2 and Button10 selected.
    const Case cases[] = {
        {3, 0, 1, {o, X, o, o, o, o, o, o, o, o, X, o}},   // choosing division
        {0, 1, 1, {X, X, X, X, X, X, X, X, X, X, X, X}},   // a run starts
        {2, 13, 0, {o, o, o, o, o, o, o, o, o, X, o, X}},  // error correction
        {3, 1, 1, {X, X, X, X, X, X, X, X, X, o, X, X}},   // statistics of division
        {4, 6, 0, {o, o, o, o, o, X, o, o, o, X, o, o}},   // an unknown operation changes neither
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        form_ = std::make_unique<TForm3>(dataFolder(), clock, random, reporter);
        start().HighlightButtons(c.operation, c.number, c.keep);
        EXPECT_EQ(highlighted(), c.expected);
    }
    EXPECT_FALSE(form().Button12.selected()) << "there is no button 12 among the numbers";
}

TEST_F(ModeControls, CaptionsFollowTheChosenLanguage) {
    TForm3& f = start();
    EXPECT_EQ(f.Label15.text(), "Language");
    EXPECT_EQ(f.Button17.text(), QString::fromUtf8("выход"));
    EXPECT_EQ(f.Label21.text(), QString::fromUtf8("сложность"));

    f.ComboBox1.setItemIndex(1);
    EXPECT_EQ(f.Button2.text(), "by 2");
    EXPECT_EQ(f.Button9.text(), "by 9");
    EXPECT_EQ(f.Button1.text(), "All");
    EXPECT_EQ(f.Button12.text(), "Start");
    EXPECT_EQ(f.Button16.text(), "Help");
    EXPECT_EQ(f.Label2.text(), "number of exercises");
    EXPECT_EQ(f.Label3.text(), "during (min.)");
    EXPECT_EQ(f.Label20.text(), "profi");
    EXPECT_EQ(f.Label4.text(), "Multiplication");
    EXPECT_EQ(f.Label15.text(), "Language");

    f.ComboBox1.setItemIndex(2);
    EXPECT_EQ(f.Button10.text(), "Multiplication");
    EXPECT_EQ(f.Label15.text(), "Language");
    EXPECT_EQ(f.LanguageRow, 2);
    EXPECT_EQ(f.AmericanEnglish, 1);

    f.ComboBox1.setItemIndex(0);
    EXPECT_EQ(f.Button2.text(), QString::fromUtf8("на 2"));
    EXPECT_EQ(f.Label15.text(), "Language");
    EXPECT_EQ(f.Progress.LanguageCode, 1);
}

TEST_F(ModeControls, ChoosingTheLanguageAlreadyShownWritesNothing) {
    TForm3& f = start();
    f.ComboBox1.setItemIndex(0);
    EXPECT_FALSE(QFile::exists(dataFile("Save.dat")));
    f.ComboBox1.setItemIndex(1);
    EXPECT_TRUE(QFile::exists(dataFile("Save.dat")));
}

TEST_F(ModeControls, DifficultyColoursItsBandAndNamesTheNumberRange) {
    constexpr QRgb red = 0xFFFF0000;
    constexpr QRgb blue = 0xFF1E90FF;
    TForm3& f = start();
    EXPECT_EQ(f.TrackBar3.tag(), 7);
    EXPECT_EQ(f.Label22.text(), QString::fromUtf8("числа  1-7"));
    EXPECT_TRUE(f.TrackBar3.enabled());

    struct Case {
        double position;
        int difficulty;
        QRgb novice, average, profi;
    };
    const Case cases[] = {{5, 5, red, blue, blue},
                          {6, 6, blue, red, blue},
                          {8.7, 8, blue, blue, red},
                          {3, 3, red, blue, blue},
                          {10, 10, blue, blue, red}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        f.TrackBar3.setValue(c.position);
        EXPECT_EQ(f.TrackBar3.tag(), c.difficulty);
        EXPECT_EQ(f.Label18.fontColor(), c.novice);
        EXPECT_EQ(f.Label19.fontColor(), c.average);
        EXPECT_EQ(f.Label20.fontColor(), c.profi);
        EXPECT_TRUE(f.Label22.text().endsWith(" 1-" + QString::number(c.difficulty)));
    }

    f.ComboBox1.setItemIndex(1);
    EXPECT_EQ(f.Label22.text(), "number  1-10");
}

TEST_F(ModeControls, TheMarkLegendShowsFourColouredBarsOnATransparentGround) {
    TForm3& f = start();
    const QImage& legend = f.ImageViewer2.picture();
    ASSERT_EQ(legend.width(), 180);
    ASSERT_EQ(legend.height(), 56);

    EXPECT_EQ(legend.pixel(5, 28), 0xFF00BFFFu) << "the first bar, for mark 5";
    EXPECT_EQ(qAlpha(legend.pixel(10, 28)), 0) << "the first bar has no text";
    EXPECT_EQ(legend.pixel(14, 28), 0xFF7FFF00u) << "the second bar starts 9 units on";
    EXPECT_EQ(qAlpha(legend.pixel(170, 50)), 0);

    // The bars of "fair" and "bad" lie further right, after the words.
    int yellow = -1;
    int red = -1;
    for (int x = 0; x < legend.width(); ++x) {
        if (legend.pixel(x, 20) == 0xFFFFFF00u && yellow < 0) {
            yellow = x;
        }
        if (legend.pixel(x, 20) == 0xFFFF0000u && red < 0) {
            red = x;
        }
    }
    EXPECT_GT(yellow, 30);
    EXPECT_GT(red, yellow + 20);
}

}  // namespace

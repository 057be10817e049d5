#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "persistence/LookFile.h"
#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"
#include "ui/Look.h"

namespace {

class LookChoiceTest : public FormFixture {
  protected:
    ~LookChoiceTest() override { ui::setCurrentLook(ui::Look::Default); }

    void click(ui::Button& button) {
        form().dispatch([&] { button.click(); });
    }
};

// A pupil who switches the look and back stores exactly what they stored before: Save.dat is
// left byte for byte, and the look lives in a file of its own.
TEST_F(LookChoiceTest, SwitchingTheLookKeepsSaveDatAndTheLookFile) {
    TForm3& f = start();
    form().dispatch([&] { f.ComboBox1.setItemIndex(1); });  // a language: Save.dat is written
    const QByteArray saved = readDataFile(QStringLiteral("Save.dat"));
    ASSERT_EQ(saved.size(), 648);
    ASSERT_TRUE(f.LookButton.visible());

    click(f.LookButton);
    EXPECT_EQ(ui::currentLook(), ui::Look::HighContrast);
    EXPECT_TRUE(f.LookButton.pressed());
    EXPECT_EQ(readDataFile(QStringLiteral("look.txt")), QByteArray("high-contrast\n"));
    // The pictures were drawn again in the new look: the answers column's background.
    EXPECT_EQ(f.Panel3Viewer.picture().pixel(2, 2),
              ui::palette(ui::Look::HighContrast).pictureBackground);

    click(f.LookButton);
    EXPECT_EQ(ui::currentLook(), ui::Look::Default);
    EXPECT_EQ(f.Panel3Viewer.picture().pixel(2, 2), 0xFF696969u);
    EXPECT_EQ(readDataFile(QStringLiteral("Save.dat")), saved);
    EXPECT_TRUE(reporter.messages.empty());
}

// A pupil's work is stored the same in either look, and a switch between runs loses nothing:
// two pupils answer alike, one in the default look and one who switches to high contrast for the
// run and back after it; their files and marks are the same, byte for byte.
TEST_F(LookChoiceTest, EitherLookStoresTheSameProgressAndASwitchLosesNothing) {
    const auto answerARun = [](TForm3& f) {
        f.dispatch([&] { f.Button12Click(); });
        for (int answered = 0; f.Button12.tag() == 1; ++answered) {
            // Two wrong answers, which are recorded in the error file, then right ones.
            f.dispatch([&] { press(f, answered < 2 ? wrongAnswer(f) : f.ExpectedAnswer); });
        }
    };
    TForm3& inDefault = start();
    answerARun(inDefault);
    ASSERT_EQ(inDefault.Progress.MarkHistoryLength[2][2], 1);

    QTemporaryDir otherFolder;
    ui::FixedClock otherClock{kStartMoment};
    ui::ScriptedRandom otherRandom;
    ui::CollectingErrorReporter otherReporter;
    const QString otherData = otherFolder.path() + QStringLiteral("/Kestrova/");
    TForm3 switching(otherData, otherClock, otherRandom, otherReporter);
    switching.FormCreate();
    switching.dispatch([&] { switching.LookButton.click(); });
    ASSERT_EQ(ui::currentLook(), ui::Look::HighContrast);
    answerARun(switching);
    switching.dispatch([&] { switching.LookButton.click(); });
    ASSERT_EQ(ui::currentLook(), ui::Look::Default);

    const auto bytes = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
    };
    for (const QString& name : {QStringLiteral("Save.dat"), QStringLiteral("save2.dat")}) {
        EXPECT_EQ(bytes(otherData + name), bytes(dataFile(name))) << name.toStdString();
    }
    EXPECT_EQ(bytes(dataFile(QStringLiteral("Save.dat"))).size(), 648);
    EXPECT_EQ(bytes(dataFile(QStringLiteral("save2.dat"))).size(), 2 * 12);
    EXPECT_EQ(switching.Progress.MarkHistory[2][2][1], inDefault.Progress.MarkHistory[2][2][1]);
    EXPECT_EQ(switching.ErrorLogCount, inDefault.ErrorLogCount);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_TRUE(otherReporter.messages.empty());
}

TEST_F(LookChoiceTest, ThePupilsLookIsShownAtStart) {
    writeDataFile(QStringLiteral("look.txt"), "high-contrast\n");
    TForm3& f = start();
    EXPECT_EQ(ui::currentLook(), ui::Look::HighContrast);
    EXPECT_TRUE(f.LookButton.pressed());
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("Save.dat"))));
}

// Whatever lies in the look's place, the program starts in the default look.
TEST_F(LookChoiceTest, ABrokenLookFileGivesTheDefaultLook) {
    const QByteArray broken[] = {
        QByteArray("high-contrast-ish\n"),
        QByteArray("\xFF\xFE\x00h", 4),
        QByteArray(1000, 'h'),
        QByteArray("high-contrast") + QByteArray(100, ' '),
    };
    for (const QByteArray& bytes : broken) {
        ui::setCurrentLook(ui::Look::HighContrast);
        writeDataFile(QStringLiteral("look.txt"), bytes);
        EXPECT_EQ(persistence::readLookFile(dataFolder()), ui::Look::Default)
            << bytes.left(20).toStdString();
    }
    QFile::remove(dataFile(QStringLiteral("look.txt")));
    ASSERT_TRUE(QDir().mkpath(dataFile(QStringLiteral("look.txt"))));  // a folder in its place
    TForm3& f = start();
    EXPECT_EQ(ui::currentLook(), ui::Look::Default);
    EXPECT_FALSE(f.LookButton.pressed());
    EXPECT_TRUE(reporter.messages.empty());
}

// A look that cannot be kept is still shown, and the pupil is told.
TEST_F(LookChoiceTest, ALookThatCannotBeKeptIsShownAndTold) {
    TForm3& f = start();
    ASSERT_TRUE(QDir().mkpath(dataFile(QStringLiteral("look.txt"))));
    click(f.LookButton);
    EXPECT_EQ(ui::currentLook(), ui::Look::HighContrast);
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_TRUE(reporter.messages.front().contains(QStringLiteral("look.txt")));
}

TEST_F(LookChoiceTest, TheCommandLinesLookWinsOverThePupils) {
    writeDataFile(QStringLiteral("look.txt"), "default\n");
    form().forceHighContrast();
    TForm3& f = start();
    EXPECT_EQ(ui::currentLook(), ui::Look::HighContrast);
    EXPECT_TRUE(f.LookButton.pressed());
}

}  // namespace

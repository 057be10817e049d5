// Several pupils on one account, through the form: each pupil's progress stays in their own
// files, a switch keeps what was not yet written, and one pupil's damaged file touches no other.
#include <map>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "persistence/ProgressFiles.h"
#include "tests/support/FilesUnder.h"
#include "tests/support/FormFixture.h"
#include "tests/support/ScriptedNamePrompt.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

int answersCounted(const TForm3& f, int operation, int number) {
    int sum = 0;
    for (int b = 1; b <= 10; ++b) {
        sum += f.Progress.ExerciseCount[operation][number][b];
    }
    return sum;
}

class Pupils : public FormFixture {
  protected:
    Pupils() : roster(dataFolder(), QStringLiteral("Anna")) {
        // Varied draws: a run asks for a factor other than the last one.
        for (int i = 0; i < 100; ++i) {
            random.push(i * 7 % 10);
        }
        start();
        form().attachPupils(roster, roster.pupils().front(), prompt);
    }

    // A new pupil through the box's "New pupil..." item and the name dialog.
    // The box shows until the first Start: a test reaches a switch as a pupil can.
    void addThroughBox(const QString& name) {
        prompt.answers.push_back(name);
        TForm3& f = form();
        ASSERT_TRUE(f.PupilBox.visible()) << "no pupil can reach the box now";
        f.dispatch([&f] { f.PupilBox.setItemIndex(static_cast<int>(f.shownPupils().size())); });
    }

    void chooseInBox(const QString& name) {
        TForm3& f = form();
        const int item = static_cast<int>(f.PupilBox.items().indexOf(name));
        ASSERT_GE(item, 0) << name.toStdString();
        ASSERT_TRUE(f.PupilBox.visible()) << "no pupil can reach the box now";
        f.dispatch([&f, item] { f.PupilBox.setItemIndex(item); });
    }

    // The window closes and the program starts again, with the pupil chosen last.
    void restart() {
        form().FormClose();
        const pupils::Pupil last = roster.lastChosen(roster.pupils());
        form_ = std::make_unique<TForm3>(roster.folderOf(last), clock, random, reporter);
        form().FormCreate();
        form().attachPupils(roster, last, prompt);
    }

    // A run on a number with `wrong` wrong answers first, to its end.
    void runOn(int number, int wrong) {
        TForm3& f = form();
        f.SelectNumber(number);
        f.Button12Click();
        for (int i = 0; f.Button12.tag() == 1 && i < 200; ++i) {
            press(f, i < wrong ? wrongAnswer(f) : f.ExpectedAnswer);
        }
        ASSERT_EQ(f.Button12.tag(), 0) << "the run did not end";
    }

    QString pupilFolder(const QString& name) {
        for (const pupils::Pupil& p : roster.pupils()) {
            if (p.name == name) {
                return roster.folderOf(p);
            }
        }
        ADD_FAILURE() << "no pupil " << name.toStdString();
        return {};
    }

    pupils::Roster roster;
    ScriptedNamePrompt prompt;
};

TEST_F(Pupils, OnePupilSeesTheirNameAndAnIdleCloseLeavesTheFolderAsItWas) {
    TForm3& f = form();
    EXPECT_TRUE(f.PupilBox.visible());
    EXPECT_EQ(f.PupilBox.items(), QStringList({"Anna", "Новый ученик…", "Переименовать «Anna»…"}));
    EXPECT_EQ(f.PupilBox.itemIndex(), 0);
    EXPECT_EQ(f.PupilLabel.text(), "Ученик");
    f.ComboBox1.setItemIndex(2);
    EXPECT_EQ(f.PupilLabel.text(), "Student");
    EXPECT_EQ(f.PupilBox.items().at(1), "New student…");

    restart();
    const auto before = filesUnder(dataFolder());
    restart();
    form().FormClose();
    EXPECT_EQ(filesUnder(dataFolder()), before);
    EXPECT_FALSE(QDir(dataFolder() + "pupils").exists());
    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
}

TEST_F(Pupils, TheGroupIsOfferedExactlyWhileTheLanguageIs) {
    TForm3& f = form();
    f.Button12Click();
    EXPECT_FALSE(f.ComboBox1.visible());
    EXPECT_FALSE(f.PupilBox.visible());
    EXPECT_FALSE(f.PupilLabel.visible());
}

TEST_F(Pupils, EachPupilKeepsTheirOwnProgressThroughSwitchesAndRestarts) {
    addThroughBox("Boris");
    ASSERT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
    EXPECT_EQ(form().currentPupil().name, "Boris");
    EXPECT_EQ(form().PupilBox.items().value(form().PupilBox.itemIndex()), "Boris");
    // Boris practises 5 in English, with one mistake, then sets 4 minutes.
    form().ComboBox1.setItemIndex(1);
    runOn(5, 1);
    form().TrackBar1.setValue(4);
    restart();
    EXPECT_EQ(form().currentPupil().name, "Boris") << "the last pupil did not come back";

    // Anna practises 7 in Russian without mistakes.
    chooseInBox("Anna");
    runOn(7, 0);
    restart();
    EXPECT_EQ(form().currentPupil().name, "Anna");

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        TForm3& anna = form();
        EXPECT_EQ(answersCounted(anna, 2, 7), 25);
        EXPECT_EQ(answersCounted(anna, 2, 5), 0);
        EXPECT_EQ(anna.Progress.MarkHistoryLength[2][7], 1);
        EXPECT_EQ(anna.Progress.MarkHistoryLength[2][5], 0);
        EXPECT_EQ(anna.ErrorLogCount, 0);
        EXPECT_EQ(anna.LanguageRow, 1);
        EXPECT_EQ(anna.Button10.text(), "Умножение");
        EXPECT_EQ(anna.TrackBar1.value(), 3);

        chooseInBox("Boris");
        TForm3& boris = form();
        EXPECT_EQ(boris.currentPupil().name, "Boris");
        EXPECT_GE(answersCounted(boris, 2, 5), 25);
        EXPECT_EQ(answersCounted(boris, 2, 7), 0);
        EXPECT_EQ(boris.Progress.MarkHistoryLength[2][5], 1);
        EXPECT_EQ(boris.Progress.MarkHistoryLength[2][7], 0);
        EXPECT_EQ(boris.ErrorLogCount, 1);
        EXPECT_EQ(boris.LanguageRow, 2);
        EXPECT_EQ(boris.Button10.text(), "Multiplication");
        EXPECT_EQ(boris.PupilLabel.text(), "Pupil");
        EXPECT_EQ(boris.TrackBar1.value(), 4);
        EXPECT_EQ(boris.Label1.text(), "by 2")
            << "the start screen shows number 2, as a start does";
        chooseInBox("Anna");
    }
    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
}

// Before the first Start, a pupil's answers wait to be written when their error file was
// damaged: its whole records are read and written back by the next save. A switch writes them.
TEST_F(Pupils, ASwitchKeepsAnswersNotYetWritten) {
    addThroughBox("Boris");
    runOn(3, 2);
    restart();
    chooseInBox("Anna");
    const QString errors = pupilFolder("Boris") + "save2.dat";
    QFile file(errors);
    ASSERT_TRUE(file.open(QIODevice::Append));
    ASSERT_EQ(file.size(), 2 * Terror::kSize);
    file.write("torn");
    file.close();

    chooseInBox("Boris");
    TForm3& f = form();
    ASSERT_EQ(reporter.messages.size(), 1) << "the damaged file is told";
    reporter.messages.clear();
    ASSERT_EQ(f.ErrorLogCount, 2);
    ASSERT_EQ(f.ErrorLogDirty, 1);
    ASSERT_FALSE(QFile::exists(errors)) << "the damaged file was set aside";

    chooseInBox("Anna");
    EXPECT_EQ(f.currentPupil().name, "Anna");
    EXPECT_EQ(answersCounted(f, 2, 3), 0);
    EXPECT_EQ(QFileInfo(errors).size(), 2 * Terror::kSize);
    EXPECT_TRUE(f.ComboBox1.visible()) << "the other pupil gets the start screen";
    EXPECT_TRUE(f.PupilBox.visible());

    chooseInBox("Boris");
    EXPECT_GE(answersCounted(f, 2, 3), 25);
    EXPECT_EQ(f.ErrorLogCount, 2);
    EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
}

TEST_F(Pupils, ANewPupilStartsAsAFirstStartInTheLanguageInUse) {
    form().ComboBox1.setItemIndex(2);
    runOn(4, 0);
    restart();
    ASSERT_EQ(form().AmericanEnglish, 1);
    addThroughBox("  Carla  ");
    TForm3& f = form();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].title, "New student");
    EXPECT_EQ(f.currentPupil().name, "Carla");
    EXPECT_EQ(f.AmericanEnglish, 1);
    EXPECT_EQ(f.ComboBox1.itemIndex(), 2);
    EXPECT_EQ(answersCounted(f, 2, 4), 0);
    EXPECT_EQ(f.Progress.TimeSetting, 3);
    EXPECT_EQ(f.Progress.CountSetting, 25);
    EXPECT_EQ(f.PupilBox.items(),
              QStringList({"Anna", "Carla", "New student…", "Rename “Carla”…", "Remove “Carla”…"}));
    EXPECT_EQ(f.PupilBox.itemIndex(), 1);
    EXPECT_EQ(roster.lastChosen(roster.pupils()).name, "Carla");
}

TEST_F(Pupils, ACancelledOrRefusedNameLeavesEverythingAsItWas) {
    const auto before = filesUnder(dataFolder());
    prompt.answers = {std::nullopt};
    TForm3& f = form();
    f.dispatch([&f] { f.PupilBox.setItemIndex(1); });
    EXPECT_EQ(f.PupilBox.itemIndex(), 0);
    EXPECT_TRUE(reporter.messages.isEmpty());

    addThroughBox("aNNA");
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_EQ(reporter.messages[0], "Ученик с таким именем уже есть.");
    EXPECT_EQ(f.PupilBox.itemIndex(), 0);
    EXPECT_EQ(f.currentPupil().name, "Anna");
    EXPECT_EQ(filesUnder(dataFolder()), before);
    // The dialog is told why before the name is given.
    ASSERT_FALSE(prompt.asked.empty());
    EXPECT_EQ(prompt.asked.back().problem(" "), "Введите имя ученика.");
    EXPECT_EQ(prompt.asked.back().problem("Boris"), "");
}

// Renaming (the first pupil too) and removal through the box's items after the new pupil, in
// the three languages: the dialog opens on the name in use and refuses another pupil's; removal
// asks first, keeps what was unwritten in the folder it moves to the trash and goes back to the
// first pupil, who cannot be removed.
TEST_F(Pupils, APupilIsRenamedOrRemovedFromTheBoxInEveryLanguage) {
    const struct {
        int languageItem;
        QString renameItem, removeItem, renameTitle, removeQuestion;
    } languages[] = {
        {0, "Переименовать «Anna»…", "Убрать «Boris»…", "Переименование ученика",
         "Убрать ученика «Boris» в корзину? Его ответы и оценки уйдут вместе с ним, и их можно "
         "будет вернуть из корзины."},
        {1, "Rename “Anna”…", "Remove “Boris”…", "Rename pupil",
         "Move the pupil “Boris” to the wastebasket? Their answers and marks go with them and can "
         "be put back from the wastebasket."},
        {2, "Rename “Anna”…", "Remove “Boris”…", "Rename student",
         "Move the student “Boris” to the trash? Their answers and grades go with them and can be "
         "put back from the trash."},
    };
    for (const auto& language : languages) {
        SCOPED_TRACE(language.languageItem);
        // A trash of its own for each language.
        const QString xdg = folder_.path() + "/xdg" + QString::number(language.languageItem);
        ASSERT_TRUE(QDir().mkpath(xdg));
        qputenv("XDG_DATA_HOME", xdg.toUtf8());
        TForm3& f = form();
        f.ComboBox1.setItemIndex(language.languageItem);
        const int actions = static_cast<int>(f.shownPupils().size());
        // The first pupil: renamed, never removed.
        ASSERT_EQ(f.currentPupil().folder, "");
        ASSERT_EQ(f.PupilBox.items().size(), actions + 2);
        EXPECT_EQ(f.PupilBox.items().at(actions + 1), language.renameItem);
        prompt.answers = {QStringLiteral("  Marta ")};
        f.dispatch([&f, actions] { f.PupilBox.setItemIndex(actions + 1); });
        EXPECT_EQ(prompt.asked.back().title, language.renameTitle);
        EXPECT_EQ(prompt.asked.back().initial, "Anna");
        EXPECT_EQ(prompt.asked.back().problem("anna"), "") << "a pupil may keep their own name";
        EXPECT_EQ(roster.pupils().front().name, "Marta");
        EXPECT_EQ(f.PupilBox.items().front(), "Marta");
        EXPECT_EQ(f.PupilBox.itemIndex(), 0);
        prompt.answers = {QStringLiteral("Anna")};
        f.dispatch([&f, actions] { f.PupilBox.setItemIndex(actions + 1); });
        ASSERT_EQ(roster.pupils().front().name, "Anna");

        // Another pupil, with answers not yet written: renamed to a taken name, refused.
        addThroughBox("Boris");
        ASSERT_EQ(f.currentPupil().name, "Boris");
        const QString boris = f.DataFolder;
        f.SelectNumber(3);
        f.Button12Click();
        press(f, wrongAnswer(f));
        f.Button12Click();
        const int borisAnswers = answersCounted(f, 2, 3);
        ASSERT_GT(borisAnswers, 0);
        const int pupilActions = static_cast<int>(f.shownPupils().size());
        ASSERT_EQ(f.PupilBox.items().size(), pupilActions + 3);
        EXPECT_EQ(f.PupilBox.items().at(pupilActions + 2), language.removeItem);
        reporter.messages.clear();
        prompt.answers = {QStringLiteral("ANNA")};
        f.dispatch([&f, pupilActions] { f.PupilBox.setItemIndex(pupilActions + 1); });
        EXPECT_EQ(reporter.messages.size(), 1);
        EXPECT_EQ(f.currentPupil().name, "Boris");
        reporter.messages.clear();

        // A no removes nothing; a yes moves the folder, with the answers, to the trash.
        prompt.confirmations = {false};
        f.dispatch([&f, pupilActions] { f.PupilBox.setItemIndex(pupilActions + 2); });
        EXPECT_EQ(prompt.confirmAsked.back().question, language.removeQuestion);
        EXPECT_EQ(f.currentPupil().name, "Boris");
        EXPECT_TRUE(QDir(boris).exists());
        prompt.confirmations = {true};
        f.dispatch([&f, pupilActions] { f.PupilBox.setItemIndex(pupilActions + 2); });
        EXPECT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
        EXPECT_FALSE(QDir(boris).exists());
        EXPECT_EQ(roster.pupils().size(), 1u);
        EXPECT_EQ(f.currentPupil().folder, "");
        EXPECT_EQ(f.DataFolder, dataFolder());
        EXPECT_EQ(f.PupilBox.items().front(), "Anna");
        const QString trashed = xdg + "/Trash/files/" + QDir(boris).dirName();
        const auto kept = persistence::readProgressFileInPlace(trashed + "/Save.dat");
        const auto* content = std::get_if<persistence::ProgressFileContent>(&kept);
        ASSERT_TRUE(content != nullptr && content->record) << trashed.toStdString();
        int keptAnswers = 0;
        for (int b = 1; b <= 10; ++b) {
            keptAnswers += content->record->ExerciseCount[2][3][b];
        }
        EXPECT_EQ(keptAnswers, borisAnswers);
    }
    qunsetenv("XDG_DATA_HOME");
}

TEST_F(Pupils, ADamagedFileOfOnePupilLeavesTheOthersFilesAlone) {
    addThroughBox("Boris");
    runOn(6, 2);
    restart();
    chooseInBox("Anna");
    runOn(8, 1);
    restart();
    const QString boris = pupilFolder("Boris");
    QFile damaged(boris + "Save.dat");
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("short");
    damaged.close();
    // Anna's files are the ones at the top of the data folder.
    std::map<QString, QByteArray> anna;
    for (const QString& name : QDir(dataFolder()).entryList(QDir::Files)) {
        anna[name] = readDataFile(name);
    }
    ASSERT_TRUE(anna.count("Save.dat") == 1 && anna.count("save2.dat") == 1);

    chooseInBox("Boris");
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains("Save.dat")) << reporter.messages[0].toStdString();
    EXPECT_EQ(answersCounted(form(), 2, 6), 0) << "the damaged record is not read";
    EXPECT_EQ(form().ErrorLogCount, 2) << "the error file is read as it is";
    EXPECT_EQ(QDir(boris).entryList({"Save.dat.damaged-*"}, QDir::Files).size(), 1);
    chooseInBox("Anna");
    form().FormClose();
    EXPECT_EQ(QDir(dataFolder()).entryList(QDir::Files).size(),
              static_cast<qsizetype>(anna.size()));
    for (const auto& [name, bytes] : anna) {
        EXPECT_EQ(readDataFile(name), bytes) << name.toStdString();
    }
}

TEST_F(Pupils, AnUnreadableFileOfTheChosenPupilKeepsTheCurrentOne) {
    addThroughBox("Boris");
    runOn(5, 1);
    restart();
    chooseInBox("Anna");
    // A folder where an error file should be cannot be read as a file, also by root.
    ASSERT_TRUE(QFile::remove(pupilFolder("Boris") + "save2.dat"));
    ASSERT_TRUE(QDir().mkpath(pupilFolder("Boris") + "save2.dat"));
    chooseInBox("Boris");
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains("Ученик не выбран"))
        << reporter.messages[0].toStdString();
    EXPECT_EQ(form().currentPupil().name, "Anna");
    EXPECT_EQ(form().PupilBox.itemIndex(), 0);
    EXPECT_EQ(roster.lastChosen(roster.pupils()).name, "Anna");
}

// A switch is all or nothing. Whichever of its steps fails (reading one of the other pupil's
// files, where the file opens and its first read fails; writing what the current pupil has not
// yet written; keeping the choice), the form stays on the current pupil with their record and
// their unwritten answers, and no later save writes over the other pupil's files.
struct SwitchStep {
    const char* name;
    // The file or folder put in the way, under the data folder; Boris's files are in pupil-2.
    const char* inTheWay;
    bool unreadable;  // a link to a file whose first read fails, else a folder that cannot be
                      // written
};

void PrintTo(const SwitchStep& step, std::ostream* out) {
    *out << step.name;
}

class SwitchFault : public Pupils, public ::testing::WithParamInterface<SwitchStep> {};

TEST_P(SwitchFault, AFailureAtAnyStepLeavesTheFormOnTheCurrentPupil) {
    const SwitchStep& step = GetParam();
    addThroughBox("Boris");
    runOn(5, 1);
    restart();
    chooseInBox("Anna");
    runOn(7, 1);
    restart();
    // Anna's one error waits to be written again: her error file was torn.
    {
        QFile errors(dataFile("save2.dat"));
        ASSERT_TRUE(errors.open(QIODevice::Append));
        errors.write("torn");
    }
    restart();
    reporter.messages.clear();
    TForm3& anna = form();
    ASSERT_EQ(anna.ErrorLogDirty, 1);
    ASSERT_EQ(pupilFolder("Boris"), dataFile("pupils/pupil-2/"));
    const auto borisBefore = filesUnder(pupilFolder("Boris"));

    const QString inTheWay = dataFile(QString::fromUtf8(step.inTheWay));
    const bool existed = QFileInfo::exists(inTheWay);
    if (step.unreadable) {
        ASSERT_TRUE(!existed || QFile::rename(inTheWay, inTheWay + ".kept"));
        ASSERT_TRUE(QFile::link("/proc/self/mem", inTheWay));
    } else {
        ASSERT_TRUE(QDir().mkpath(inTheWay));
    }
    chooseInBox("Boris");
    TForm3& f = form();
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains(QFileInfo(inTheWay).fileName().section('.', 0, 1)))
        << reporter.messages[0].toStdString();
    EXPECT_EQ(f.currentPupil().name, "Anna");
    EXPECT_EQ(f.DataFolder, dataFolder());
    EXPECT_EQ(f.PupilBox.items().value(f.PupilBox.itemIndex()), "Anna");
    EXPECT_GE(answersCounted(f, 2, 7), 25);
    EXPECT_EQ(answersCounted(f, 2, 5), 0);
    EXPECT_EQ(f.ErrorLogCount, 1);
    EXPECT_EQ(roster.lastChosen(roster.pupils()).name, "Anna");

    // The fault mended, the close writes Anna's and nothing of Boris's.
    if (step.unreadable) {
        ASSERT_TRUE(QFile::remove(inTheWay));
        ASSERT_TRUE(!existed || QFile::rename(inTheWay + ".kept", inTheWay));
    } else {
        ASSERT_TRUE(QDir(inTheWay).removeRecursively());
    }
    f.FormClose();
    EXPECT_EQ(filesUnder(pupilFolder("Boris")), borisBefore);
    EXPECT_EQ(readDataFile("save2.dat").size(), Terror::kSize);

    chooseInBox("Boris");
    EXPECT_EQ(f.currentPupil().name, "Boris");
    EXPECT_GE(answersCounted(f, 2, 5), 25);
    EXPECT_EQ(answersCounted(f, 2, 7), 0);
}

const SwitchStep kSwitchSteps[] = {
    {"Boris's error file", "pupils/pupil-2/save2.dat", true},
    {"Boris's Save.dat", "pupils/pupil-2/Save.dat", true},
    {"Boris's division errors", "pupils/pupil-2/save3.dat", true},
    {"Anna's unwritten errors", "save2.dat.writing", false},
    {"the choice", "pupils/chosen.txt.writing", false},
};

INSTANTIATE_TEST_SUITE_P(Steps, SwitchFault, ::testing::ValuesIn(kSwitchSteps),
                         [](const ::testing::TestParamInfo<SwitchStep>& info) {
                             QString name = QString::fromUtf8(info.param.name);
                             name.remove(QLatin1Char('\''));
                             name.replace(QLatin1Char(' '), QLatin1Char('_'));
                             name.replace(QLatin1Char('.'), QLatin1Char('_'));
                             return name.toStdString();
                         });

// The pupil chosen last whose files cannot be read does not keep the others from practising:
// the program starts with the first pupil and says why.
TEST_F(Pupils, AnUnreadableFileOfThePupilChosenLastStartsTheFirstPupil) {
    addThroughBox("Boris");
    runOn(4, 0);
    restart();
    ASSERT_EQ(form().currentPupil().name, "Boris");
    form().FormClose();
    const QString saveDat = pupilFolder("Boris") + "Save.dat";
    ASSERT_TRUE(QFile::remove(saveDat));
    ASSERT_TRUE(QDir().mkpath(saveDat));

    const pupils::Pupil last = roster.lastChosen(roster.pupils());
    ASSERT_EQ(last.name, "Boris");
    form_ = std::make_unique<TForm3>(roster.folderOf(last), clock, random, reporter);
    TForm3& f = form();
    EXPECT_TRUE(f.dispatch([&] { f.startWithPupils(roster, last, prompt); }));
    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].contains(saveDat)) << reporter.messages[0].toStdString();
    EXPECT_TRUE(reporter.messages[0].contains("Anna")) << reporter.messages[0].toStdString();
    EXPECT_EQ(f.currentPupil().name, "Anna");
    EXPECT_EQ(f.DataFolder, dataFolder());
    EXPECT_EQ(f.PupilBox.items().value(f.PupilBox.itemIndex()), "Anna");
    EXPECT_TRUE(f.Button12.visible());
    EXPECT_EQ(answersCounted(f, 2, 4), 0);
}

}  // namespace

// The pupils' folders, names and last choice on disk.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "persistence/ProgressFiles.h"
#include "pupils/Roster.h"
#include "tests/support/NotAFile.h"

namespace {

using pupils::NameProblem;
using pupils::Pupil;
using pupils::Roster;

class RosterTest : public ::testing::Test {
  protected:
    QString folder() const { return dir.path() + QStringLiteral("/Kestrova/"); }

    void write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    Pupil added(const QString& name) {
        const auto result = roster.add(name);
        EXPECT_TRUE(std::holds_alternative<Pupil>(result)) << name.toStdString();
        return std::holds_alternative<Pupil>(result) ? std::get<Pupil>(result) : Pupil{};
    }

    QStringList allFiles() const {
        QStringList files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            files << it.next();
        }
        files.sort();
        return files;
    }

    QTemporaryDir dir;
    Roster roster{folder(), QStringLiteral("Anna")};
};

TEST_F(RosterTest, EveryNameIsRefusedWithItsReasonOrKeptAndReadBackExactly) {
    struct Case {
        QString typed;
        NameProblem problem;
        QString kept;
    };
    const QString forty(40, QLatin1Char('x'));
    const QString emoji = QString::fromUtf8("Миша 🦊");
    const Case cases[] = {
        {"", NameProblem::Empty, ""},
        {"   \t ", NameProblem::Empty, ""},
        {forty + "y", NameProblem::TooLong, ""},
        {"  " + forty + "  ", NameProblem::None, forty},
        {"aNNA", NameProblem::Taken, ""},
        {"a\nb", NameProblem::Unprintable, ""},
        {"a\x07"
         "b",
         NameProblem::Unprintable, ""},
        {"a\u2028b", NameProblem::Unprintable, ""},
        {QString(QChar(0xD800)) + "x", NameProblem::Unprintable, ""},
        {"../x", NameProblem::None, "../x"},
        {"CON", NameProblem::None, "CON"},
        {"Petya/Vasya", NameProblem::None, "Petya/Vasya"},
        {".hidden", NameProblem::None, ".hidden"},
        {QString::fromUtf8("Ёжик Ўрик"), NameProblem::None, QString::fromUtf8("Ёжик Ўрик")},
        {emoji, NameProblem::None, emoji},
        // Forty characters that take two UTF-16 units each are forty, not eighty.
        {QString::fromUtf8("🦊").repeated(40), NameProblem::None,
         QString::fromUtf8("🦊").repeated(40)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const QString name = pupils::keptName(c.typed);
        const NameProblem problem = pupils::nameProblem(name, roster.pupils());
        EXPECT_EQ(problem, c.problem);
        if (problem == NameProblem::None) {
            EXPECT_EQ(name, c.kept);
            const Pupil pupil = added(name);
            const Roster again(folder(), QStringLiteral("Anna"));
            const auto all = again.pupils();
            EXPECT_NE(std::find(all.begin(), all.end(), pupil), all.end());
            // The folder's name is safe on any file system whatever the name.
            EXPECT_TRUE(QRegularExpression("^pupil-[0-9]+$").match(pupil.folder).hasMatch())
                << pupil.folder.toStdString();
            EXPECT_TRUE(QFileInfo(again.folderOf(pupil)).isDir());
        }
    }
}

TEST_F(RosterTest, OnePupilAloneIsTheFirstAndNothingIsWritten) {
    ASSERT_TRUE(QDir().mkpath(folder()));
    write(folder() + "Save.dat", QByteArray(648, '\1'));
    const QStringList before = allFiles();
    const auto all = roster.pupils();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0], (Pupil{"", "Anna"}));
    EXPECT_EQ(roster.folderOf(all[0]), folder());
    EXPECT_EQ(roster.lastChosen(all), all[0]);
    EXPECT_FALSE(roster.setLastChosen(all[0]).has_value());
    EXPECT_EQ(allFiles(), before);
}

TEST_F(RosterTest, TheListIsRebuiltFromTheFoldersInOrderOfName) {
    added("boris");
    added("Clara");
    added("Alla");
    write(folder() + "pupils/copied-in/Save.dat", QByteArray(648, '\0'));
    const Roster again(folder(), QStringLiteral("Zoe"));
    QStringList names;
    for (const Pupil& p : again.pupils()) {
        names << p.name;
    }
    EXPECT_EQ(names, QStringList({"Zoe", "Alla", "boris", "Clara", "copied-in"}));

    // Numbers count as numbers, and a letter with marks stays beside its plain letter.
    for (const char* name : {"Pupil 10", "Pupil 2", "Ёжик", "Жанна", "Егор", "pupil 3"}) {
        added(name);
    }
    names.clear();
    for (const Pupil& p : Roster(folder(), QStringLiteral("Zoe")).pupils()) {
        names << p.name;
    }
    EXPECT_EQ(names, QStringList({"Zoe", "Alla", "boris", "Clara", "copied-in", "Pupil 2",
                                  "pupil 3", "Pupil 10", "Егор", "Ёжик", "Жанна"}));
}

TEST_F(RosterTest, ADamagedOrMissingNameShowsTheFoldersName) {
    const struct {
        const char* what;
        QByteArray bytes;
    } damaged[] = {
        {"not UTF-8", QByteArray("\xff\xfe\x41")},      {"empty", QByteArray()},
        {"a line break inside", QByteArray("Bo\nris")}, {"too long", QByteArray(41, 'x')},
        {"far too long", QByteArray(100000, 'x')},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.what);
        const Pupil pupil = added("Boris");
        write(roster.folderOf(pupil) + "name.txt", d.bytes);
        const auto all = roster.pupils();
        ASSERT_EQ(all.size(), 2u);
        EXPECT_EQ(all[1].name, pupil.folder);
        ASSERT_TRUE(QDir(roster.folderOf(pupil)).removeRecursively());
    }
    const Pupil nameless = added("Boris");
    QFile::remove(roster.folderOf(nameless) + "name.txt");
    EXPECT_EQ(roster.pupils()[1].name, nameless.folder);
    // The first pupil's damaged name shows the account's name.
    write(folder() + "name.txt", "\x01");
    EXPECT_EQ(roster.pupils()[0].name, "Anna");
    write(folder() + "name.txt", "Ann\n");
    EXPECT_EQ(roster.pupils()[0].name, "Ann");
}

TEST_F(RosterTest, TheLastChoiceComesBackAndAChoiceOfNoPupilIsTheFirst) {
    const Pupil boris = added("Boris");
    const Pupil clara = added("Clara");
    EXPECT_EQ(roster.lastChosen(roster.pupils()).name, "Anna");
    ASSERT_FALSE(roster.setLastChosen(clara).has_value());
    EXPECT_EQ(roster.lastChosen(roster.pupils()), clara);
    ASSERT_FALSE(roster.setLastChosen(roster.pupils().front()).has_value());
    EXPECT_EQ(roster.lastChosen(roster.pupils()).name, "Anna");

    for (const QByteArray& choice :
         {QByteArray("pupil-99\n"), QByteArray("../pupils/" + boris.folder.toUtf8()),
          QByteArray("\xff")}) {
        write(folder() + "pupils/chosen.txt", choice);
        EXPECT_EQ(roster.lastChosen(roster.pupils()).name, "Anna") << choice.toStdString();
    }
}

TEST_F(RosterTest, ARemovedPupilGoesToTheTrashAndTheFirstStays) {
    const QString home = dir.path() + "/home-data";
    ASSERT_TRUE(QDir().mkpath(home));
    qputenv("XDG_DATA_HOME", home.toUtf8());
    const Pupil boris = added("Boris");
    write(roster.folderOf(boris) + "Save.dat", QByteArray(648, '\2'));
    ASSERT_FALSE(roster.moveToTrash(boris).has_value());
    EXPECT_FALSE(QFileInfo::exists(roster.folderOf(boris)));
    EXPECT_TRUE(QFileInfo::exists(home + "/Trash/files/" + boris.folder + "/Save.dat"));
    EXPECT_EQ(roster.pupils().size(), 1u);

    write(folder() + "Save.dat", QByteArray(648, '\1'));
    EXPECT_TRUE(roster.moveToTrash(roster.pupils().front()).has_value());
    EXPECT_TRUE(QFileInfo::exists(folder() + "Save.dat"));
    qunsetenv("XDG_DATA_HOME");
}

// Qt reports a move to a trash it could not set up as done, having moved the folder under the
// working folder instead: the pupil must stay where they are, and the removal be refused.
TEST_F(RosterTest, ARemovalTheTrashCannotTakeIsRefusedAndThePupilStays) {
    const QString working = dir.path() + "/working";
    ASSERT_TRUE(QDir().mkpath(working));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(working));
    // A data home that does not exist holds no trash.
    qputenv("XDG_DATA_HOME", (dir.path() + "/no-such-folder").toUtf8());
    const Pupil boris = added("Boris");
    write(roster.folderOf(boris) + "Save.dat", QByteArray(648, '\2'));

    const auto failure = roster.moveToTrash(boris);

    qunsetenv("XDG_DATA_HOME");
    QDir::setCurrent(before);
    EXPECT_TRUE(failure.has_value());
    EXPECT_EQ(read(roster.folderOf(boris) + "Save.dat"), QByteArray(648, '\2'));
    EXPECT_EQ(roster.pupils().size(), 2u);
    EXPECT_TRUE(QDir(working).isEmpty()) << QDir(working).entryList().join(' ').toStdString();
}

TEST_F(RosterTest, UnfinishedWritesAreRemovedFromEveryPupilsFolder) {
    const Pupil boris = added("Boris");
    const QStringList left = {
        persistence::unfinishedWritePath(roster.folderOf(boris) + "Save.dat"),
        persistence::unfinishedWritePath(roster.folderOf(boris) + "save3.dat"),
        persistence::unfinishedWritePath(roster.folderOf(boris) + "name.txt"),
        persistence::unfinishedWritePath(folder() + "pupils/chosen.txt"),
        persistence::unfinishedWritePath(folder() + "name.txt"),
    };
    for (const QString& path : left) {
        write(path, "x");
    }
    write(roster.folderOf(boris) + "Save.dat", "kept");
    roster.removeUnfinishedWrites();
    for (const QString& path : left) {
        EXPECT_FALSE(QFileInfo::exists(path)) << path.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(roster.folderOf(boris) + "Save.dat"));
}

// Names that show alike are one name: the same letters composed or decomposed, with invisible
// characters between them, or in another case. A name of invisible characters alone is no name,
// and characters that change the direction of writing are dropped, so that a name shows its
// letters in the order typed.
TEST_F(RosterTest, NamesThatShowAlikeAreOneName) {
    const QString composed = QString::fromUtf8("\u0439ulia");          // й as one character
    const QString decomposed = QString::fromUtf8("\u0438\u0306ulia");  // и and a breve
    added(composed);
    added("Anais");
    const struct {
        QString typed;
        NameProblem problem;
        QString kept;
    } cases[] = {
        {decomposed, NameProblem::Taken, ""},
        {"Ana\u200Dis", NameProblem::Taken, ""},
        {"\u00ADANA\u200BIS\uFEFF", NameProblem::Taken, ""},
        {"\u200B", NameProblem::Empty, ""},
        {"\u200B\u200D \u2060\uFEFF", NameProblem::Empty, ""},
        {"\u202E", NameProblem::Empty, ""},
        {"abc\u202Edef", NameProblem::None, "abcdef"},
        {"\u2067abc\u2069 \u200Fdef\u061C", NameProblem::None, "abc def"},
        {QString::fromUtf8("Zoë"), NameProblem::None, QString::fromUtf8("Zoë")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const QString name = pupils::keptName(c.typed);
        EXPECT_EQ(pupils::nameProblem(name, roster.pupils()), c.problem);
        if (c.problem == NameProblem::None) {
            EXPECT_EQ(name, c.kept);
        }
    }
    // Typed as it shows, a name is found however it was stored.
    const auto all = roster.pupils();
    ASSERT_TRUE(pupils::findPupil(all, decomposed).has_value());
    EXPECT_EQ(pupils::findPupil(all, decomposed)->name, composed);
    write(roster.folderOf(all[1]) + "name.txt", "Ana\u200Dis\n");
    const auto again = roster.pupils();
    ASSERT_TRUE(pupils::findPupil(again, "anais").has_value());
    EXPECT_EQ(pupils::findPupil(again, "anais")->folder, all[1].folder);
    // A name stored with a direction change shows without it.
    write(roster.folderOf(all[1]) + "name.txt", "abc\u202Edef\n");
    EXPECT_EQ(roster.pupils()[1].name, "abcdef");
}

// A folder number is given once: not again after its pupil was removed (the choice kept for them
// then opens no one else), and the count goes on past the largest number a hand-made folder has.
TEST_F(RosterTest, AFolderNumberIsNeverGivenTwice) {
    const QString home = dir.path() + "/home-data";
    ASSERT_TRUE(QDir().mkpath(home));
    qputenv("XDG_DATA_HOME", home.toUtf8());
    added("Boris");
    const Pupil clara = added("Clara");
    ASSERT_FALSE(roster.setLastChosen(clara).has_value());
    ASSERT_FALSE(roster.moveToTrash(clara).has_value());
    const Pupil vera = added("Vera");
    EXPECT_NE(vera.folder, clara.folder);
    EXPECT_EQ(roster.lastChosen(roster.pupils()).name, "Anna")
        << "the choice of a removed pupil opened another";
    qunsetenv("XDG_DATA_HOME");

    ASSERT_TRUE(QDir().mkpath(folder() + "pupils/pupil-2147483647"));
    EXPECT_EQ(added("Dora").folder, "pupil-2147483648");
    EXPECT_EQ(added("Emil").folder, "pupil-2147483649");
    // A number beyond any count is a folder's name like another.
    ASSERT_TRUE(QDir().mkpath(folder() + "pupils/pupil-99999999999999999999"));
    EXPECT_EQ(added("Fred").folder, "pupil-2147483650");
}

// Not a file where a name or the choice should be: a pipe (which nobody writes into), a device
// or a folder reads as no name and no choice, at once.
TEST_F(RosterTest, APipeOrADeviceInPlaceOfANameOrTheChoiceIsNoNameAndNoChoice) {
    const Pupil boris = added("Boris");
    ASSERT_FALSE(roster.setLastChosen(boris).has_value());
    const QString nameFile = roster.folderOf(boris) + "name.txt";
    const QString choiceFile = folder() + "pupils/chosen.txt";
    for (const QString& path : {nameFile, choiceFile, folder() + "name.txt"}) {
        SCOPED_TRACE(path.toStdString());
        for (const char* target : {"pipe", "/dev/zero", "/"}) {
            SCOPED_TRACE(target);
            if (path == choiceFile && std::string(target) == "/") {
                continue;  // a folder in pupils/ is a pupil's
            }
            ASSERT_TRUE(QFile::remove(path) || !QFileInfo::exists(path));
            std::optional<PipeInTheWay> pipe;
            if (std::string(target) == "pipe") {
                pipe.emplace(path);
                ASSERT_TRUE(pipe->made());
            } else {
                ASSERT_TRUE(QFile::link(QString::fromUtf8(target), path));
            }
            std::vector<Pupil> all;
            Pupil chosen;
            EXPECT_LT(millisecondsOf([&] {
                          all = roster.pupils();
                          chosen = roster.lastChosen(all);
                      }),
                      1000);
            ASSERT_EQ(all.size(), 2u) << all.back().folder.toStdString();
            EXPECT_EQ(all[0].name, "Anna");
            EXPECT_EQ(all[1].name, path == nameFile ? boris.folder : "Boris");
            EXPECT_EQ(chosen.folder, path == choiceFile ? QString() : boris.folder);
            pipe.reset();
            QFile::remove(path);
        }
        if (path == nameFile) {
            write(nameFile, "Boris\n");
        } else if (path == choiceFile) {
            ASSERT_FALSE(roster.setLastChosen(boris).has_value());
        }
    }
}

// What pupils/ holds besides pupils' folders: a hidden folder, a file, links to a folder, to a
// device and to nothing. A link to a folder is a pupil's folder; nothing else is.
TEST_F(RosterTest, OnlyFoldersAndLinksToFoldersArePupils) {
    const Pupil boris = added("Boris");
    ASSERT_TRUE(QDir().mkpath(folder() + "pupils/.hidden"));
    write(folder() + "pupils/notes.txt", "Clara\n");
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/elsewhere"));
    ASSERT_TRUE(QFile::link(dir.path() + "/elsewhere", folder() + "pupils/Linked"));
    ASSERT_TRUE(QFile::link("/dev/null", folder() + "pupils/device"));
    ASSERT_TRUE(QFile::link(dir.path() + "/nowhere", folder() + "pupils/dangling"));
    std::vector<QString> listed;
    for (const Pupil& pupil : roster.pupils()) {
        listed.push_back(pupil.folder);
    }
    EXPECT_EQ(listed, (std::vector<QString>{QString(), boris.folder, "Linked"}));
}

// The clean-up of killed writes stays inside the data folder: a pupil's folder, or pupils/
// itself, that is a symbolic link to elsewhere is not followed.
TEST_F(RosterTest, TheCleanUpDeletesNothingOutsideTheDataFolder) {
    const QString elsewhere = dir.path() + "/elsewhere/";
    const QStringList outside = {
        persistence::unfinishedWritePath(elsewhere + "Save.dat"),
        persistence::unfinishedWritePath(elsewhere + "name.txt"),
        persistence::unfinishedWritePath(elsewhere + "chosen.txt"),
    };
    for (const QString& path : outside) {
        write(path, "someone else's");
    }
    added("Boris");
    ASSERT_TRUE(QFile::link(elsewhere, folder() + "pupils/pupil-9"));
    roster.removeUnfinishedWrites();
    for (const QString& path : outside) {
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    }

    ASSERT_TRUE(QDir(folder() + "pupils").removeRecursively());
    ASSERT_TRUE(QFile::link(elsewhere, folder() + "pupils"));
    roster.removeUnfinishedWrites();
    for (const QString& path : outside) {
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    }
}

}  // namespace

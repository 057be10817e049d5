// The pupils' commands of the command line, on a data folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/PupilCommands.h"
#include "app/SingleInstance.h"

namespace {

using Kind = PupilCommand::Kind;

class PupilCommands : public ::testing::Test {
  protected:
    PupilCommands() { qputenv("XDG_DATA_HOME", (dir.path() + "/data").toUtf8()); }
    ~PupilCommands() override { qunsetenv("XDG_DATA_HOME"); }

    QString folder() const { return dir.path() + "/data/Kestrova/"; }
    CommandOutcome run(Kind kind, QStringList names = {}) {
        return runPupilCommand({kind, std::move(names)}, folder());
    }
    QStringList listed() { return run(Kind::List).out.split('\n', Qt::SkipEmptyParts); }

    QTemporaryDir dir;
    const QString first = pupils::accountName();
};

TEST_F(PupilCommands, AddRenameListAndRemove) {
    EXPECT_EQ(listed(), QStringList({first}));
    EXPECT_FALSE(QFileInfo::exists(folder())) << "a list makes no data folder";

    EXPECT_EQ(run(Kind::Add, {"  Boris "}).status, 0);
    EXPECT_EQ(run(Kind::Add, {"Вера"}).status, 0);
    EXPECT_EQ(listed(), QStringList({first, "Boris", "Вера"}));

    EXPECT_EQ(run(Kind::Rename, {"boris", "Borya"}).status, 0);
    EXPECT_EQ(run(Kind::Rename, {"Borya", "BORYA"}).status, 0) << "a pupil may change case";
    EXPECT_EQ(run(Kind::Rename, {first, "Teacher"}).status, 0);
    EXPECT_EQ(listed(), QStringList({"Teacher", "BORYA", "Вера"}));

    const CommandOutcome removed = run(Kind::Remove, {"вера"});
    EXPECT_EQ(removed.status, 0) << removed.err.toStdString();
    EXPECT_EQ(listed(), QStringList({"Teacher", "BORYA"}));
    EXPECT_TRUE(QDir(dir.path() + "/data/Trash/files").exists());
    EXPECT_FALSE(QFileInfo::exists(folder() + SingleInstance::kLockFileName));
}

TEST_F(PupilCommands, RefusalsSayWhyAndChangeNothing) {
    ASSERT_EQ(run(Kind::Add, {"Boris"}).status, 0);
    const struct {
        Kind kind;
        QStringList names;
        const char* said;
    } refused[] = {
        {Kind::Add, {"bORIS"}, "There is already a pupil with this name."},
        {Kind::Add, {"   "}, "Please type the pupil's name."},
        {Kind::Add, {QString(41, 'x')}, "longer than 40 characters"},
        {Kind::Rename, {"Nobody", "X"}, "There is no pupil \"Nobody\". The pupils are:"},
        {Kind::Rename, {"Boris", first}, "There is already a pupil with this name."},
        {Kind::Remove, {"Nobody"}, "\nBoris"},
        {Kind::Remove, {first}, "is the first one"},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.said);
        const CommandOutcome outcome = run(r.kind, r.names);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.err.contains(r.said)) << outcome.err.toStdString();
    }
    EXPECT_EQ(listed(), QStringList({first, "Boris"}));

    ASSERT_EQ(run(Kind::Remove, {"Boris"}).status, 0);
    const CommandOutcome last = run(Kind::Remove, {first});
    EXPECT_EQ(last.status, 1);
    EXPECT_TRUE(last.err.contains("the only one")) << last.err.toStdString();
}

TEST_F(PupilCommands, EachRefusesWhileTheProgramIsOpen) {
    ASSERT_EQ(run(Kind::Add, {"Boris"}).status, 0);
    const SingleInstance open(folder());
    ASSERT_FALSE(open.anotherCopyRuns());
    for (const auto& [kind, names] :
         std::vector<std::pair<Kind, QStringList>>{{Kind::Add, {"Clara"}},
                                                   {Kind::Rename, {"Boris", "Bob"}},
                                                   {Kind::Remove, {"Boris"}},
                                                   {Kind::List, {}}}) {
        const CommandOutcome outcome = run(kind, names);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_TRUE(outcome.err.contains("is open")) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
    }
    EXPECT_TRUE(QDir(folder() + "pupils").entryList({"pupil-*"}, QDir::Dirs).size() == 1);
}

}  // namespace

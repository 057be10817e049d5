#include <csignal>
#include <random>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "app/SingleInstance.h"
#include "pupils/Roster.h"
#include "tests/support/FilesUnder.h"
#include "tests/support/SaveGenerations.h"

namespace {

// How many times the saving child is killed: 100 by default, more with KESTROVA_KILLS.
int killCount() {
    const int asked = qEnvironmentVariableIntValue("KESTROVA_KILLS");
    return asked > 0 ? asked : 100;
}

// A folder in memory where there is one, so that the kills land among the writes rather than in
// waits for the disk.
QString workFolderTemplate() {
    const QString memory = QStringLiteral("/dev/shm");
    const QString parent = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
    return parent + QStringLiteral("/kestrova-kill-XXXXXX");
}

// The runtime folder Qt wants, private to its owner, in the work folder; empty when it cannot be
// made.
QString privateRuntimeFolder(const QTemporaryDir& dir) {
    const QString runtimeFolder = dir.path() + QStringLiteral("/runtime");
    if (!QDir().mkpath(runtimeFolder)) {
        return QString();
    }
    QFile::setPermissions(runtimeFolder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return runtimeFolder;
}

// Starts the child on the folder and waits until it saves.
void startSaving(QProcess& child, const QString& folder, const QString& runtimeFolder,
                 const QStringList& options = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(KESTROVA_SAVE_LOOP), QStringList{folder} + options);
    ASSERT_TRUE(child.waitForStarted(10000)) << child.errorString().toStdString();
    ASSERT_TRUE(child.waitForReadyRead(60000)) << "the child did not start saving";
    ASSERT_EQ(child.readLine().trimmed(), "ready");
}

void killNow(QProcess& child) {
    ASSERT_EQ(::kill(static_cast<pid_t>(child.processId()), SIGKILL), 0);
    ASSERT_TRUE(child.waitForFinished(10000));
    ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
}

// Killed at any moment of its saves, the program leaves each file with the old content or the
// new, both loadable, and at its next start nothing but its own files in the folder.
TEST(SaveKill, AProgramKilledWhileSavingLeavesWholeFilesAndNothingElse) {
    QTemporaryDir dir(workFolderTemplate());
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/Kestrova/");
    const QString runtimeFolder = privateRuntimeFolder(dir);
    ASSERT_FALSE(runtimeFolder.isEmpty());
    const auto seed = std::random_device{}();
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> microseconds(0, 20000);
    const int kills = killCount();
    std::printf("killing %d times, seed %u\n", kills, seed);
    const QStringList ownFiles = {"Save.dat", SingleInstance::kLockFileName, "save2.dat"};

    std::int64_t lastGeneration = 0;
    int cutOffSaves = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        SCOPED_TRACE(::testing::Message() << "kill " << kill << ", seed " << seed);
        {
            QProcess child;
            startSaving(child, folder, runtimeFolder);
            ::usleep(static_cast<useconds_t>(microseconds(random)));
            killNow(child);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }

        if (QDir(folder).entryList({QStringLiteral("*.writing")}, QDir::Files).size() > 0) {
            ++cutOffSaves;
        }
        // The next start: the killed copy's lock is taken over and its unfinished write removed.
        const SingleInstance next(folder);
        ASSERT_FALSE(next.anotherCopyRuns());
        QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& name : left) {
            ASSERT_TRUE(ownFiles.contains(name)) << "left in the folder: " << name.toStdString();
        }

        ui::FixedClock clock(0);
        ui::ScriptedRandom draws;
        ui::CollectingErrorReporter reporter;
        TForm3 form(folder, clock, draws, reporter);
        ASSERT_TRUE(form.dispatch([&form] { form.FormCreate(); }));
        ASSERT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
        const auto saved = progressGeneration(form);
        const auto errors = errorLogGeneration(form);
        ASSERT_TRUE(saved.has_value()) << "Save.dat mixes two saves";
        ASSERT_TRUE(errors.has_value()) << "save2.dat mixes two saves";
        // The error file is written just before Save.dat.
        ASSERT_TRUE(*errors == *saved || *errors == *saved + 1)
            << "save2.dat holds save " << *errors << ", Save.dat save " << *saved;
        ASSERT_GE(*saved, lastGeneration) << "a save went back";
        lastGeneration = *saved;
    }
    std::printf("%d kills, %d of them in the middle of a save, the last whole save %lld\n", kills,
                cutOffSaves, static_cast<long long>(lastGeneration));
}

// The last generation the child reported saved by a finished switch, or 0.
std::int64_t lastSwitched(QProcess& child) {
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        bool ok = false;
        const qlonglong generation = line->trimmed().toLongLong(&ok);
        if (ok) {
            return generation;
        }
    }
    return 0;
}

// Killed at any moment of a switch between two pupils, the program leaves each pupil's files
// whole and what every finished switch saved on the disk; the next start finds one of the two.
TEST(SaveKill, AProgramKilledWhileSwitchingPupilsLosesNothing) {
    QTemporaryDir dir(workFolderTemplate());
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + QStringLiteral("/Kestrova/");
    const QString runtimeFolder = privateRuntimeFolder(dir);
    ASSERT_FALSE(runtimeFolder.isEmpty());
    const auto seed = std::random_device{}();
    std::mt19937 random(seed);
    // A switch takes some tens of milliseconds: the kills land across several of them.
    std::uniform_int_distribution<int> microseconds(0, 200000);
    const int kills = std::max(killCount() / 2, 1);
    std::printf("killing %d times while switching, seed %u\n", kills, seed);
    const QStringList ownFiles = {"Save.dat",
                                  "save2.dat",
                                  SingleInstance::kLockFileName,
                                  "pupils/chosen.txt",
                                  "pupils/last-number.txt",
                                  "pupils/pupil-2/Save.dat",
                                  "pupils/pupil-2/save2.dat",
                                  "pupils/pupil-2/name.txt"};

    std::int64_t switched = 0;
    std::int64_t lastSaved[2] = {0, 0};
    for (int kill = 1; kill <= kills; ++kill) {
        SCOPED_TRACE(::testing::Message() << "kill " << kill << ", seed " << seed);
        {
            QProcess child;
            startSaving(child, folder, runtimeFolder, {QStringLiteral("--switch")});
            ::usleep(static_cast<useconds_t>(microseconds(random)));
            killNow(child);
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
            switched = std::max(switched, lastSwitched(child));
        }

        const SingleInstance next(folder);
        ASSERT_FALSE(next.anotherCopyRuns());
        for (const auto& [name, bytes] : filesUnder(folder)) {
            ASSERT_TRUE(ownFiles.contains(name)) << "left in the folder: " << name.toStdString();
        }
        const pupils::Roster roster(folder, QStringLiteral("Anna"));
        const auto both = roster.pupils();
        ASSERT_EQ(both.size(), 2u);
        EXPECT_NE(std::find(both.begin(), both.end(), roster.lastChosen(both)), both.end());
        for (std::size_t p = 0; p < 2; ++p) {
            SCOPED_TRACE(both[p].name.toStdString());
            ui::FixedClock clock(0);
            ui::ScriptedRandom draws;
            ui::CollectingErrorReporter reporter;
            TForm3 form(roster.folderOf(both[p]), clock, draws, reporter);
            ASSERT_TRUE(form.dispatch([&form] { form.FormCreate(); }));
            ASSERT_TRUE(reporter.messages.isEmpty()) << reporter.messages.join('\n').toStdString();
            const auto saved = progressGeneration(form);
            const auto errors = errorLogGeneration(form);
            ASSERT_TRUE(saved.has_value()) << "Save.dat mixes two saves";
            ASSERT_TRUE(errors.has_value()) << "save2.dat mixes two saves";
            // Each pupil has generations of their own parity; the error file is written first.
            ASSERT_TRUE(*saved == 0 || *saved % 2 == static_cast<std::int64_t>(p));
            ASSERT_GE(*errors, *saved);
            ASSERT_GE(*saved, lastSaved[p]) << "a save went back";
            lastSaved[p] = *saved;
        }
        // What the last finished switch saved is on the disk.
        ASSERT_GE(lastSaved[switched % 2], switched);
    }
    std::printf("%d kills while switching, the last finished switch saved %lld\n", kills,
                static_cast<long long>(switched));
}

}  // namespace

#include <csignal>
#include <random>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "app/SingleInstance.h"
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

// Starts the child on the folder and waits until it saves.
void startSaving(QProcess& child, const QString& folder, const QString& runtimeFolder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(KESTROVA_SAVE_LOOP), {folder});
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
    const QString runtimeFolder = dir.path() + QStringLiteral("/runtime");
    ASSERT_TRUE(QDir().mkpath(runtimeFolder));
    QFile::setPermissions(runtimeFolder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
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

}  // namespace

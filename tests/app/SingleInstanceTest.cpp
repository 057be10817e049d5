#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include "app/SingleInstance.h"
#include "persistence/ProgressFiles.h"

namespace {

class SingleInstanceTest : public ::testing::Test {
  protected:
    QString folder() const { return dir.path() + QStringLiteral("/Kestrova/"); }
    QString lockPath() const { return folder() + SingleInstance::kLockFileName; }

    void write(const QString& name, const QByteArray& bytes, qint64 ageSeconds = 0) const {
        QDir().mkpath(folder());
        QFile file(folder() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
        ASSERT_TRUE(file.flush());
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                     QFileDevice::FileModificationTime));
    }
    QByteArray read(const QString& name) const {
        QFile file(folder() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList files() const {
        return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir dir;
};

QByteArray storedLanguage(std::uint8_t code) {
    persistence::ProgressRecord record;
    record.LanguageCode = code;
    const auto bytes = persistence::encode(record);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST_F(SingleInstanceTest, ASecondCopyFindsTheFirstAndChangesNothingInTheFolder) {
    auto first = std::make_unique<SingleInstance>(folder());
    ASSERT_FALSE(first->anotherCopyRuns());
    write("Save.dat.writing", "an unfinished write of the first copy");
    const QStringList before = files();
    const QByteArray lock = read(SingleInstance::kLockFileName);

    const SingleInstance second(folder());

    EXPECT_TRUE(second.anotherCopyRuns());
    EXPECT_EQ(files().join(' ').toStdString(), before.join(' ').toStdString());
    EXPECT_EQ(read(SingleInstance::kLockFileName), lock);

    // Once the first copy ends, the folder is free again and its lock file gone.
    first.reset();
    EXPECT_FALSE(QFile::exists(lockPath()));
    EXPECT_FALSE(SingleInstance(folder()).anotherCopyRuns());
}

TEST_F(SingleInstanceTest, ALockThatNoRunningCopyHoldsIsTakenOver) {
    struct Case {
        const char* name;
        QByteArray content;
        qint64 ageSeconds;
        bool anotherCopyRuns;
    };
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const Case cases[] = {
        {"a copy on this computer that has ended", "2147483000\nkestrova\n" + host + "\n", 0,
         false},
        {"a copy on another computer (a copied folder)", "4242\nkestrova\nanother-pc\n", 60, false},
        {"an empty lock left by a power cut", "", 60, false},
        {"a lock that says nothing readable", "\x01\x02garbage", 60, false},
        // A copy that is starting has made its lock but not yet written into it.
        {"an empty lock made a moment ago", "", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        write(SingleInstance::kLockFileName, c.content, c.ageSeconds);

        const SingleInstance instance(folder());

        EXPECT_EQ(instance.anotherCopyRuns(), c.anotherCopyRuns);
        if (!c.anotherCopyRuns) {
            EXPECT_TRUE(read(SingleInstance::kLockFileName)
                            .startsWith(QByteArray::number(QCoreApplication::applicationPid())))
                << "the lock now names this process";
        }
    }
}

TEST_F(SingleInstanceTest, TheCopyThatTakesTheFolderRemovesUnfinishedWritesOnly) {
    const QStringList kept = {
        "Save.dat",         "Save.dat.backup", "Save.dat.damaged-20251209-120000",
        "notes.writing",    "save2.dat",       "save2.dat.damaged-20251209-120000-2",
        "save4.dat.writing"};
    for (const QString& name : kept) {
        write(name, "kept");
    }
    for (const char* name : {"Save.dat.writing", "save2.dat.writing", "save3.dat.writing"}) {
        write(name, "unfinished");
    }

    const SingleInstance instance(folder());

    QStringList expected = kept;
    expected << SingleInstance::kLockFileName;
    expected.sort();
    EXPECT_EQ(files().join(' ').toStdString(), expected.join(' ').toStdString());
}

TEST_F(SingleInstanceTest, TheSecondCopyTellsThePupilInTheStoredLanguage) {
    const QString russian = QString::fromUtf8("Программа уже открыта");
    const QString english = QStringLiteral("The program is already open");
    struct Case {
        const char* name;
        QByteArray saveDat;  // empty: no Save.dat
        QString startsWith;
    };
    const Case cases[] = {
        {"no Save.dat", {}, russian},
        {"Russian", storedLanguage(1), russian},
        {"British English", storedLanguage(2), english},
        {"American English", storedLanguage(102), english},
        {"a damaged Save.dat", QByteArray(100, '\x02'), russian},
    };
    const SingleInstance first(folder());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(folder() + "Save.dat");
        if (!c.saveDat.isEmpty()) {
            write("Save.dat", c.saveDat);
        }

        const SingleInstance second(folder());

        ASSERT_TRUE(second.anotherCopyRuns());
        EXPECT_TRUE(second.alreadyOpenMessage().startsWith(c.startsWith))
            << second.alreadyOpenMessage().toStdString();
        EXPECT_EQ(read("Save.dat"), c.saveDat) << "even a damaged file stays where it is";
    }
}

}  // namespace

#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "persistence/ProgressFiles.h"
#include "tests/support/NotAFile.h"

using namespace persistence;

namespace {

constexpr double kMoment = 46000.5;  // 2025-12-09 12:00:00
constexpr std::uint8_t kLanguageCodeBritishForTest = 2;

class ProgressFiles : public ::testing::Test {
  protected:
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    void write(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir dir;
};

QByteArray terrorBytes(std::uint8_t z1, std::uint8_t z2, std::uint8_t res) {
    Terror e;
    e.z1 = z1;
    e.Z2 = z2;
    e.error = 1.0f;
    e.res = res;
    const auto bytes = encode(e);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), Terror::kSize);
}

// Hands over the first half of the bytes and then stops, as a full disk does.
qint64 writeHalf(QIODevice& device, const QByteArray& bytes) {
    const qint64 half = bytes.size() / 2;
    return device.write(bytes.left(half)) == half ? half : -1;
}

TEST_F(ProgressFiles, AWriteThatFailsPartWayLeavesTheOldFileWholeAndNoTemporaryFile) {
    const QByteArray old(648, '\x11');
    write("Save.dat", old);

    const auto failure = writeFileAtomically(path("Save.dat"), QByteArray(648, '\x22'), writeHalf);

    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, path("Save.dat"));
    EXPECT_FALSE(failure->reason.isEmpty());
    EXPECT_EQ(read("Save.dat"), old);
    EXPECT_EQ(files(), QStringList{"Save.dat"});
}

TEST_F(ProgressFiles, AProcessKilledInTheMiddleOfASaveLeavesTheOldFileWhole) {
    GTEST_FLAG_SET(death_test_style, "fast");
    const QByteArray old(648, '\x11');
    write("Save.dat", old);
    const QString target = path("Save.dat");

    EXPECT_EXIT(
        {
            writeFileAtomically(target, QByteArray(648, '\x22'),
                                [](QIODevice& device, const QByteArray& bytes) -> qint64 {
                                    writeHalf(device, bytes);
                                    static_cast<QFile&>(device).flush();
                                    _exit(7);
                                });
        },
        ::testing::ExitedWithCode(7), "");

    EXPECT_EQ(read("Save.dat"), old);
    EXPECT_EQ(files(), (QStringList{"Save.dat", "Save.dat.writing"}));
    // What the next start does before it reads the files.
    removeUnfinishedWrites(dir.path() + QLatin1Char('/'));
    EXPECT_EQ(files(), QStringList{"Save.dat"});
}

TEST_F(ProgressFiles, AWriteReplacesTheFileWholeAndCanEmptyIt) {
    write("save3.dat", terrorBytes(2, 3, 7));
    EXPECT_FALSE(writeFileAtomically(path("save3.dat"), QByteArray()).has_value());
    EXPECT_TRUE(QFile::exists(path("save3.dat")));
    EXPECT_EQ(read("save3.dat").size(), 0);
}

TEST_F(ProgressFiles, WritingIntoAFolderThatIsAPlainFileFails) {
    write("folder", "x");
    const auto failure = writeFileAtomically(path("folder/Save.dat"), QByteArray(648, 0));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->path, path("folder/Save.dat"));
}

TEST_F(ProgressFiles, AnErrorFileWithAPartialRecordKeepsItsWholeRecordsAndIsMovedAside) {
    const QByteArray whole = terrorBytes(7, 8, 54) + terrorBytes(3, 4, 11) + terrorBytes(9, 9, 80);
    const QByteArray damaged = whole + QByteArray("\x01\x02\x03\x04", 4);
    write("save2.dat", damaged);

    const auto content = std::get<ErrorFileContent>(readErrorFile(path("save2.dat"), kMoment));

    ASSERT_EQ(content.records.size(), 3u);
    EXPECT_EQ(content.records[0].z1, 7);
    EXPECT_EQ(content.records[0].res, 54);
    EXPECT_EQ(content.records[2].res, 80);
    ASSERT_TRUE(content.damaged.has_value());
    EXPECT_EQ(content.damaged->originalName, "save2.dat");
    EXPECT_EQ(content.damaged->newName, "save2.dat.damaged-20251209-120000");
    EXPECT_EQ(content.damaged->length, 40);
    EXPECT_FALSE(QFile::exists(path("save2.dat")));
    EXPECT_EQ(read("save2.dat.damaged-20251209-120000"), damaged) << "nothing is deleted";

    // A second damaged file found in the same second does not replace the first.
    write("save2.dat", damaged);
    const auto again = std::get<ErrorFileContent>(readErrorFile(path("save2.dat"), kMoment));
    EXPECT_EQ(again.damaged->newName, "save2.dat.damaged-20251209-120000-2");
    EXPECT_EQ(read("save2.dat.damaged-20251209-120000"), damaged);
}

TEST_F(ProgressFiles, ErrorFilesReadWholeRecordsInOrder) {
    const auto missing = std::get<ErrorFileContent>(readErrorFile(path("save3.dat"), kMoment));
    EXPECT_TRUE(missing.records.empty());
    EXPECT_FALSE(missing.damaged.has_value());

    write("save3.dat", terrorBytes(6, 2, 3) + terrorBytes(5, 5, 24));
    const auto content = std::get<ErrorFileContent>(readErrorFile(path("save3.dat"), kMoment));
    ASSERT_EQ(content.records.size(), 2u);
    EXPECT_EQ(content.records[1].z1, 5);
    EXPECT_EQ(content.records[1].res, 24);
    EXPECT_FALSE(content.damaged.has_value());
    EXPECT_TRUE(QFile::exists(path("save3.dat")));
}

TEST_F(ProgressFiles, SaveDatReadsOneRecordAndSetsAsideOneThatIsTooShort) {
    struct Case {
        const char* name;
        qsizetype length;
        bool record;
        bool damaged;
    };
    const Case cases[] = {
        {"missing", -1, false, false}, {"empty", 0, false, false},   {"short", 647, false, true},
        {"exact", 648, true, false},   {"longer", 700, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path("Save.dat"));
        QByteArray bytes(std::max<qsizetype>(c.length, 0), '\0');
        if (c.length >= 639) {
            bytes[639] = 25;  // CountSetting
        }
        if (c.length >= 0) {
            write("Save.dat", bytes);
        }
        const auto content =
            std::get<ProgressFileContent>(readProgressFile(path("Save.dat"), kMoment));
        EXPECT_EQ(content.record.has_value(), c.record);
        EXPECT_EQ(content.damaged.has_value(), c.damaged);
        if (content.record) {
            EXPECT_EQ(content.record->CountSetting, 25);
        }
        if (content.damaged) {
            EXPECT_EQ(content.damaged->length, 647);
            EXPECT_EQ(read(content.damaged->newName), bytes);
            EXPECT_FALSE(QFile::exists(path("Save.dat")));
        }
    }
}

TEST_F(ProgressFiles, AFileThatCannotBeReadIsAFailure) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Save.dat"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("save2.dat"));
    EXPECT_TRUE(std::holds_alternative<FileFailure>(readProgressFile(path("Save.dat"), kMoment)));
    EXPECT_TRUE(std::holds_alternative<FileFailure>(readErrorFile(path("save2.dat"), kMoment)));
}

// Only a regular file is read: a pipe, a device or a folder in a progress file's place (also
// behind a symbolic link) is a failure, told at once, rather than a wait or a read without end.
TEST_F(ProgressFiles, WhatIsNotARegularFileIsAFailureToldAtOnce) {
    const struct {
        const char* what;
        const char* target;  // a link to it; nullptr: a named pipe
    } cases[] = {
        {"a named pipe", nullptr},
        {"a link to /dev/zero", "/dev/zero"},
        {"a link to /dev/null", "/dev/null"},
        {"a link to a folder", "/"},
        // Opens as a file, and the first read fails.
        {"a link to /proc/self/mem", "/proc/self/mem"},
    };
    for (const auto& c : cases) {
        for (const QString name : {"Save.dat", "save2.dat"}) {
            SCOPED_TRACE(std::string(c.what) + " as " + name.toStdString());
            std::optional<PipeInTheWay> pipe;
            if (c.target == nullptr) {
                pipe.emplace(path(name));
                ASSERT_TRUE(pipe->made());
            } else {
                ASSERT_TRUE(QFile::link(QString::fromUtf8(c.target), path(name)));
            }
            bool failed = false;
            const long long took = millisecondsOf([&] {
                failed =
                    name == "Save.dat"
                        ? std::holds_alternative<FileFailure>(readProgressFile(path(name), kMoment))
                        : std::holds_alternative<FileFailure>(readErrorFile(path(name), kMoment));
            });
            EXPECT_TRUE(failed);
            EXPECT_LT(took, 1000);
            pipe.reset();
            QFile::remove(path(name));
        }
    }
}

// A file is read no further than a valid one can reach: Save.dat's one record of a huge file,
// and an error file longer than any the tables can fill is refused without reading it whole.
TEST_F(ProgressFiles, NoMoreIsReadThanAValidFileHolds) {
    QByteArray record(ProgressRecord::kSize, '\0');
    record[640] = static_cast<char>(kLanguageCodeBritishForTest);
    write("Save.dat", record);
    {
        QFile file(path("Save.dat"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(qint64{2} << 30));  // 2 GB, sparse: no disk is used
    }
    std::variant<ProgressFileContent, FileFailure> progress;
    EXPECT_LT(millisecondsOf([&] { progress = readProgressFile(path("Save.dat"), kMoment); }),
              1000);
    ASSERT_TRUE(std::holds_alternative<ProgressFileContent>(progress));
    ASSERT_TRUE(std::get<ProgressFileContent>(progress).record.has_value());
    EXPECT_EQ(std::get<ProgressFileContent>(progress).record->LanguageCode,
              kLanguageCodeBritishForTest);

    // The longest error file there can be reads whole; one byte more is no error file.
    QByteArray longest;
    while (longest.size() < kLongestErrorFile) {
        longest += terrorBytes(2, 3, 7);
    }
    ASSERT_EQ(longest.size(), kLongestErrorFile);
    write("save2.dat", longest);
    const auto whole = readErrorFileInPlace(path("save2.dat"));
    ASSERT_TRUE(std::holds_alternative<ErrorFileContent>(whole));
    EXPECT_EQ(std::get<ErrorFileContent>(whole).records.size(),
              static_cast<std::size_t>(kLongestErrorFile / Terror::kSize));
    {
        QFile file(path("save2.dat"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(qint64{2} << 30));
    }
    std::variant<ErrorFileContent, FileFailure> errors;
    EXPECT_LT(millisecondsOf([&] { errors = readErrorFile(path("save2.dat"), kMoment); }), 1000);
    ASSERT_TRUE(std::holds_alternative<FileFailure>(errors));
    EXPECT_TRUE(std::get<FileFailure>(errors).reason.contains("longer"));
    EXPECT_EQ(QFileInfo(path("save2.dat")).size(), qint64{2} << 30) << "the file stays as it is";
}

}  // namespace

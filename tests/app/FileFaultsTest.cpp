#include <sys/mount.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/SingleInstance.h"
#include "app/Texts.h"
#include "persistence/ProgressFiles.h"
#include "tests/support/FormFixture.h"
#include "tests/trainer/RunTestSupport.h"

namespace {

// The pupil's folder on a file system of its own, small enough to fill, that can be made
// read-only: a tmpfs, which only root can mount. Root writes into read-only folders of other
// file systems regardless of their permissions.
class FileFaults : public FormFixture {
  protected:
    ~FileFaults() override {
        if (mounted_) {
            ::umount2(QFile::encodeName(dataFolder()).constData(), MNT_DETACH);
        }
    }

    bool mountSmallDisk() {
        QDir().mkpath(dataFolder());
        mounted_ = ::mount("tmpfs", QFile::encodeName(dataFolder()).constData(), "tmpfs", 0,
                           "size=64k,mode=0755") == 0;
        return mounted_;
    }
    void setReadOnly(bool readOnly) {
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        ASSERT_EQ(
            ::mount(nullptr, QFile::encodeName(dataFolder()).constData(), nullptr, flags, nullptr),
            0)
            << std::strerror(errno);
    }

  public:
    // The fault and its mend, as a family computer meets them.
    void makeReadOnly() { setReadOnly(true); }
    void makeWritable() { setReadOnly(false); }
    void removeFolder() { ASSERT_TRUE(QDir(dataFolder()).removeRecursively()); }
    void makeFolderAgain() { ASSERT_TRUE(QDir().mkpath(dataFolder())); }
    void fillDisk() {
        QFile filler(dataFile("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
    }
    void freeDisk() { ASSERT_TRUE(QFile::remove(dataFile("filler"))); }

  protected:
    // A run of ten exercises, every answer wrong: a mark and recorded errors to keep.
    void runWithMistakes() {
        TForm3& f = form();
        f.TrackBar2.setValue(10);
        f.Button12.click();
        while (f.Button12.tag() == 1) {
            press(f, wrongAnswer(f));
        }
    }

    bool mounted_ = false;
};

struct Fault {
    const char* name;
    bool needsOwnDisk;
    void (FileFaults::*breakFolder)();
    void (FileFaults::*mendFolder)();
    int languageItem;
    const char* messageStart;
};

void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.name;
}

const char* const kRussian = "Не удалось сохранить результаты в файл";
const char* const kEnglish = "The progress could not be saved to";

const Fault kFaults[] = {
    {"a read-only folder", true, &FileFaults::makeReadOnly, &FileFaults::makeWritable,
     kLanguageItemRussian, kRussian},
    {"a full disk", true, &FileFaults::fillDisk, &FileFaults::freeDisk, kLanguageItemBritish,
     kEnglish},
    {"the folder removed while the program runs", false, &FileFaults::removeFolder,
     &FileFaults::makeFolderAgain, kLanguageItemAmerican, kEnglish},
};

class FileFault : public FileFaults, public ::testing::WithParamInterface<Fault> {};

// The end of a run cannot save: the pupil is told in the interface language, the mark and the
// errors stay in the program, and the next save writes them once the folder can take them.
TEST_P(FileFault, ASaveThatFailsIsToldAndWrittenByTheNextSaveOnceTheFolderIsMended) {
    const Fault& fault = GetParam();
    if (fault.needsOwnDisk && !mountSmallDisk()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    TForm3& f = start();
    f.ComboBox1.setItemIndex(fault.languageItem);
    f.SaveProgress(f.Operation, 1, 0, 0);  // the progress on disk before the fault
    const QByteArray savedBefore = readDataFile("Save.dat");
    ASSERT_EQ(savedBefore.size(), ProgressRecord::kSize);
    ASSERT_TRUE(reporter.messages.isEmpty());

    (this->*fault.breakFolder)();
    runWithMistakes();

    ASSERT_EQ(reporter.messages.size(), 1);
    EXPECT_TRUE(reporter.messages[0].startsWith(QString::fromUtf8(fault.messageStart)))
        << reporter.messages[0].toStdString();
    EXPECT_TRUE(reporter.messages[0].contains(dataFile("save2.dat")));
    EXPECT_EQ(f.Button12.tag(), 0) << "the run ends all the same";
    EXPECT_EQ(f.Progress.MarkHistoryLength[2][2], 1);
    const int errors = f.ErrorLogCount;
    EXPECT_GT(errors, 0);
    EXPECT_EQ(f.ProgressDirty, 1);
    EXPECT_EQ(f.ErrorLogDirty, 1);
    if (QFile::exists(dataFile("Save.dat"))) {
        EXPECT_EQ(readDataFile("Save.dat"), savedBefore) << "the old file stays whole";
    }

    (this->*fault.mendFolder)();
    EXPECT_TRUE(f.dispatch([&f] { f.Button11Click(); }));

    EXPECT_EQ(reporter.messages.size(), 1);
    EXPECT_EQ(f.Operation, 3);
    EXPECT_EQ(readDataFile("save2.dat").size(), errors * Terror::kSize);
    const QByteArray saved = readDataFile("Save.dat");
    ASSERT_EQ(saved.size(), ProgressRecord::kSize);
    EXPECT_EQ(saved.at(621), 1) << "the run's mark for number 2 is on disk";
    EXPECT_EQ(static_cast<unsigned char>(saved.at(640)), fault.languageItem == kLanguageItemAmerican
                                                             ? kLanguageCodeAmerican
                                                             : fault.languageItem + 1);
    EXPECT_FALSE(QFile::exists(persistence::unfinishedWritePath(dataFile("save2.dat"))));
}

// A folder nobody can write to holds no lock either: the program starts on what it holds and
// tells the pupil only when a save fails.
TEST_F(FileFaults, TheProgramStartsOnAReadOnlyFolderWithTheProgressInIt) {
    if (!mountSmallDisk()) {
        GTEST_SKIP() << "mounting a small file system needs root";
    }
    start().ComboBox1.setItemIndex(kLanguageItemBritish);
    setReadOnly(true);

    const SingleInstance instance(dataFolder());
    EXPECT_FALSE(instance.anotherCopyRuns());
    TForm3 again(dataFolder(), clock, random, reporter);
    EXPECT_TRUE(again.dispatch([&again] { again.FormCreate(); }));
    EXPECT_EQ(again.LanguageRow, 2);
    EXPECT_TRUE(reporter.messages.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Faults, FileFault, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             QString name = QString::fromUtf8(info.param.name);
                             name.replace(QLatin1Char(' '), QLatin1Char('_'));
                             name.remove(QLatin1Char('-'));
                             return name.toStdString();
                         });

}  // namespace

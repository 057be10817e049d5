#include "app/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include "app/Texts.h"
#include "persistence/ProgressFiles.h"
#include "pupils/Roster.h"

namespace {

// A copy that is starting creates its lock file a moment before it writes who it is into it and
// locks it; a younger lock that says nothing is left alone.
constexpr qint64 kStartingMilliseconds = 5000;

bool olderThanAStart(const QString& path) {
    const qint64 age = QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime());
    return age < 0 || age > kStartingMilliseconds;
}

}  // namespace

SingleInstance::SingleInstance(const QString& dataFolder) : dataFolder_(dataFolder) {
    // Without the folder there is no lock to take; the start-up then reports why.
    if (!QDir().mkpath(dataFolder_)) {
        return;
    }
    const QString path = dataFolder_ + QLatin1String(kLockFileName);
    lock_ = std::make_unique<QLockFile>(path);
    // A running copy keeps its lock however long it runs.
    lock_->setStaleLockTime(0);
    bool held = lock_->tryLock(0);
    // The lock of a copy that ended on this computer is taken over by tryLock itself. A lock that
    // names no process, or one on another computer, can only be taken over once no process holds
    // it locked, which removeStaleLockFile checks.
    if (!held && lock_->error() == QLockFile::LockFailedError && olderThanAStart(path) &&
        lock_->removeStaleLockFile()) {
        held = lock_->tryLock(0);
    }
    if (held) {
        persistence::removeUnfinishedWrites(dataFolder_);
        pupils::Roster(dataFolder_, QString()).removeUnfinishedWrites();
        return;
    }
    // A folder that cannot be written to takes no lock, and no copy can write into it either:
    // this copy goes on and reports what fails.
    anotherCopyRuns_ = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::alreadyOpenMessage() const {
    const auto stored = persistence::peekProgressRecord(persistence::progressFilePath(dataFolder_));
    const Language language = stored ? languageOfCode(stored->LanguageCode) : Language::Russian;
    return fileMessage(languageRowOf(language), kMessageAlreadyOpen);
}

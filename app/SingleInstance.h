#pragma once

#include <memory>

#include <QString>

class QLockFile;

// Keeps a second copy of the program away from a data folder that a running copy uses, so that
// two copies never overwrite each other's progress; the one lock covers every pupil's files. The lock is a file in the data folder, held
// for the life of this object. A lock that no running copy holds any more (after a crash or a
// power cut, or one copied in with the folder from another computer) is taken over.
class SingleInstance {
  public:
    static constexpr const char* kLockFileName = "kestrova.lock";

    // dataFolder ends in a separator; it is created when missing, as the start-up would.
    explicit SingleInstance(const QString& dataFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another running copy holds the folder. This copy has then changed nothing in it.
    bool anotherCopyRuns() const { return anotherCopyRuns_; }

    // Tells the pupil that the program is already open, in the language stored in the folder
    // (Russian when it cannot be read).
    QString alreadyOpenMessage() const;

  private:
    QString dataFolder_;
    std::unique_ptr<QLockFile> lock_;
    bool anotherCopyRuns_ = false;
};

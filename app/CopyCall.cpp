#include "app/CopyCall.h"

#include <cstring>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

namespace {

// What the running copy answers before it shows the message.
constexpr char kShown[] = "shown\n";
// How long a second copy waits for a running copy that is busy.
constexpr int kAnswerWaitSeconds = 2;

// The socket's path, or an empty one where there is no runtime folder or the path would not
// fit a socket's address.
QString socketPath(const QString& dataFolder) {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        return {};
    }
    const QByteArray key = QCryptographicHash::hash(
        QDir::cleanPath(QDir(dataFolder).absolutePath()).toUtf8(), QCryptographicHash::Sha1);
    const QString path = runtime + QStringLiteral("/kestrova-") +
                         QString::fromLatin1(key.toHex().left(16)) + QStringLiteral(".call");
    if (QFile::encodeName(path).size() >= static_cast<qsizetype>(sizeof(sockaddr_un::sun_path))) {
        return {};
    }
    return path;
}

sockaddr_un addressOf(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return address;
}

}  // namespace

CopyCall::CopyCall(const QString& dataFolder, std::function<void()> onCall)
    : path_(socketPath(dataFolder)), onCall_(std::move(onCall)) {
    if (path_.isEmpty()) {
        return;
    }
    socket_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (socket_ < 0) {
        return;
    }
    // This copy holds the data folder's lock: a socket left there belongs to a copy that ended.
    ::unlink(QFile::encodeName(path_).constData());
    const sockaddr_un address = addressOf(path_);
    if (::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket_, 4) != 0) {
        ::close(socket_);
        socket_ = -1;
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { answer(); });
}

CopyCall::~CopyCall() {
    notifier_.reset();
    if (socket_ >= 0) {
        ::close(socket_);
        ::unlink(QFile::encodeName(path_).constData());
    }
}

void CopyCall::answer() {
    const int call = ::accept4(socket_, nullptr, nullptr, SOCK_CLOEXEC);
    if (call < 0) {
        return;
    }
    const bool told = ::write(call, kShown, sizeof kShown - 1) == sizeof kShown - 1;
    ::close(call);
    if (told) {
        // After the answer, so that the caller ends while the message shows.
        QTimer::singleShot(0, [onCall = onCall_] { onCall(); });
    }
}

bool CopyCall::callRunningCopy(const QString& dataFolder) {
    const QString path = socketPath(dataFolder);
    if (path.isEmpty()) {
        return false;
    }
    const int call = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (call < 0) {
        return false;
    }
    const sockaddr_un address = addressOf(path);
    timeval wait{kAnswerWaitSeconds, 0};
    ::setsockopt(call, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char answer[sizeof kShown] = {};
    const bool shown =
        ::connect(call, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::read(call, answer, sizeof kShown - 1) == sizeof kShown - 1 &&
        std::strcmp(answer, kShown) == 0;
    ::close(call);
    return shown;
}

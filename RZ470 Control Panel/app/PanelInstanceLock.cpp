#include "PanelInstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

PanelInstanceLock::PanelInstanceLock(const QString& runtimeFolder) : runtimeFolder_(runtimeFolder) {}

PanelInstanceLock::~PanelInstanceLock() = default;

QString PanelInstanceLock::pathInFolder(const QString& name) const {
    return folder_.isEmpty() ? QString() : QDir(folder_).filePath(name);
}

bool PanelInstanceLock::isHeld() const {
    return lock_ && lock_->isLocked();
}

bool PanelInstanceLock::PrepareFolder() {
    const QString runtime = runtimeFolder_.isEmpty()
                                ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                                : runtimeFolder_;
    if (runtime.isEmpty()) {
        failure_ = QStringLiteral("no runtime folder for this user");
        return false;
    }
    const QString path = QDir(runtime).filePath(QString::fromLatin1(kFolderName));
#if defined(Q_OS_UNIX)
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        failure_ =
            QStringLiteral("cannot make %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Whoever else could write here could plant a lock or a socket of their own.
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
        (info.st_mode & 07777) != 0700) {
        failure_ = QStringLiteral("%1 is not a folder of this user's with mode 0700").arg(path);
        return false;
    }
#else
    if (!QDir().mkpath(path)) {
        failure_ = QStringLiteral("cannot make %1").arg(path);
        return false;
    }
#endif
    folder_ = path;
    return true;
}

PanelInstanceLock::Outcome PanelInstanceLock::Acquire() {
    if (isHeld()) {
        return Outcome::Acquired;
    }
    if (folder_.isEmpty() && !PrepareFolder()) {
        return Outcome::FolderRefused;
    }
    lock_ = std::make_unique<QLockFile>(pathInFolder(QString::fromLatin1(kLockName)));
    // A lock is stale only when the panel that wrote it no longer runs, however long it has
    // been held: by default a lock older than 30 s would count as stale.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        return Outcome::Acquired;
    }
    if (lock_->error() == QLockFile::LockFailedError) {
        return Outcome::HeldByAnother;
    }
    failure_ = QStringLiteral("cannot write the lock in %1").arg(folder_);
    return Outcome::FolderRefused;
}

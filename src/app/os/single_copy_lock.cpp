#include "app/os/system.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>

namespace fav {

SingleCopyLock::SingleCopyLock() = default;
SingleCopyLock::~SingleCopyLock() = default;

bool SingleCopyLock::AnotherCopyRunning(const std::string& programDir) {
    if (lock_) {
        return false;
    }
    // Beside favorize.cfg, which the program must be able to write anyway: every copy started
    // from this folder meets the same lock, whatever its environment (a desktop session and a
    // service have different runtime folders).
    auto lock = std::make_unique<QLockFile>(QString::fromStdString(programDir) + QLatin1Char('/') +
                                            QLatin1String(SingleCopyLockName));
    // Only a lock held by a live process counts; one left by a crashed copy is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        lock_ = std::move(lock);
        return false;
    }
    if (lock->error() == QLockFile::LockFailedError) {
        return true;
    }

    // The program folder cannot take the lock: the user's runtime folder when the session has one
    // (asking Qt without it only warns), else the temporary folder.
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::tempPath();
    }
    const QByteArray key =
        QCryptographicHash::hash(QByteArray::fromStdString(programDir), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    lock = std::make_unique<QLockFile>(folder + QStringLiteral("/favorizer-") +
                                       QString::fromLatin1(key) + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return lock->error() == QLockFile::LockFailedError;
    }
    lock_ = std::move(lock);
    return false;
}

} // namespace fav

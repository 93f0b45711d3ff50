#include "InstanceGuard.h"

#include <QDir>

InstanceGuard::InstanceGuard() = default;
InstanceGuard::~InstanceGuard() {
    release();
}

QString InstanceGuard::lockPath() {
    const QByteArray custom = qgetenv("VEK_INSTANCE_LOCK");
    if (!custom.isEmpty())
        return QString::fromLocal8Bit(custom);
    return QDir::temp().filePath(QStringLiteral("vekselector-instance.lock"));
}

bool InstanceGuard::tryAcquire() {
    if (lock_ && lock_->isLocked())
        return true;
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Age never makes a lock stale (a selector may run for days); only a dead owner does,
    // which QLockFile checks by process id.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() != QLockFile::LockFailedError)
        return false;
    // QLockFile judges a lock by the owner written in it, and takes over one whose owner no
    // longer runs. A file that names no owner (its writer died between creating and filling
    // it, or a power cut lost the content) is judged by whether a process still holds it
    // open: a live owner keeps it locked (on Windows, open without delete sharing), so
    // removeStaleLockFile refuses it, while a dead one holds nothing. The only live owner
    // that holds nothing is one between creating the file and locking it, a span of two
    // system calls; a short wait lets such an owner finish before the file is judged.
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_->getLockInfo(&pid, &host, &app))
        return false;
    constexpr int kWritingMilliseconds = 200;
    if (lock_->tryLock(kWritingMilliseconds))
        return true;
    if (lock_->getLockInfo(&pid, &host, &app))
        return false;
    return lock_->removeStaleLockFile() && lock_->tryLock(0);
}

void InstanceGuard::release() {
    if (lock_)
        lock_->unlock();
    lock_.reset();
}

#include "InstanceGuard.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

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
    // QLockFile judges a lock by the owner written in it. A file that names no owner (its
    // writer died between creating and filling it, or a power cut lost the content) would
    // block every start for ever. Once it is too old to be a start still writing it, take it
    // over: removeStaleLockFile still refuses while a live owner keeps the file locked.
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_->getLockInfo(&pid, &host, &app))
        return false;
    const QDateTime written = QFileInfo(lockPath()).lastModified();
    constexpr qint64 kWritingSeconds = 10;
    if (!written.isValid() || qAbs(written.secsTo(QDateTime::currentDateTime())) < kWritingSeconds)
        return false;
    return lock_->removeStaleLockFile() && lock_->tryLock(0);
}

void InstanceGuard::release() {
    if (lock_)
        lock_->unlock();
    lock_.reset();
}

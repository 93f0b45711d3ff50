#include "InstanceGuard.h"

#include <QDir>

InstanceGuard::InstanceGuard() = default;
InstanceGuard::~InstanceGuard() { release(); }

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
    return lock_->tryLock(0);
}

void InstanceGuard::release() {
    if (lock_)
        lock_->unlock();
    lock_.reset();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstanceGuard.h"

#include "Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QSysInfo>

namespace {

using Outcome = InstanceGuard::Outcome;

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

/// Why the lock file `path` could not be created, as far as its folder tells.
QString notMade(const QString &path, QLockFile::LockError error) {
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder \"%1\" does not exist").arg(native(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("\"%1\" is not a folder").arg(native(folder.filePath()));
    if (error == QLockFile::PermissionError || !folder.isWritable())
        return QStringLiteral("the folder \"%1\" cannot be written to")
            .arg(native(folder.filePath()));
    // QLockFile keeps the system's reason to itself; a full disk is the usual one left.
    if (const QStorageInfo disk(folder.filePath()); disk.isValid() && disk.bytesAvailable() == 0)
        return QStringLiteral("\"%1\" could not be created: no space is left on the disk "
                              "holding it")
            .arg(native(path));
    return QStringLiteral("\"%1\" could not be created").arg(native(path));
}

/// Whether the owner a lock file names has certainly ended: a process of this machine that
/// no longer exists. Anything less certain (another machine, no way to ask) counts as running.
bool ownerGone(qint64 pid, const QString &host) {
    return host == QSysInfo::machineHostName() && Processes::gone(pid);
}

struct Verdict {
    Outcome outcome = Outcome::Taken;
    QString why;    ///< Unavailable: the reason, a clause
    qint64 pid = 0; ///< Busy: the owner, when the file names one
    QString host;
};

Verdict unavailable(const QString &why) {
    Verdict v;
    v.outcome = Outcome::Unavailable;
    v.why = why;
    return v;
}

/// Takes `lock`, judging a lock file that is there already. `mineOnly`: a lock file of
/// another user is not this user's selector, whatever it names.
Verdict take(QLockFile &lock, bool mineOnly) {
    // The takeover of a dead owner's lock works under a second lock, "<lock>.rmlock". A run
    // killed in the middle of it leaves that one behind, empty or naming itself, and it would
    // stop every takeover after it: it is judged as a lock of its own first, and taken over
    // and removed when nothing holds it.
    const QString helper = lock.fileName() + QStringLiteral(".rmlock");
    if (!lock.fileName().endsWith(QStringLiteral(".rmlock")) && QFileInfo::exists(helper)) {
        QLockFile left(helper);
        if (take(left, mineOnly).outcome == Outcome::Taken)
            left.unlock();
    }
    // Age never makes a lock stale (a selector may run for days); only a dead owner does,
    // which QLockFile checks by process id.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return {};
    const QString path = lock.fileName();
    if (lock.error() != QLockFile::LockFailedError)
        return unavailable(notMade(path, lock.error()));
    const QFileInfo file(path);
    if (file.exists() && !file.isFile())
        return unavailable(QStringLiteral("\"%1\" is not a file").arg(native(path)));
    if (const std::optional<uint> me = Processes::userId();
        mineOnly && me && file.exists() && file.ownerId() != *me)
        return unavailable(QStringLiteral("\"%1\" belongs to another user").arg(native(path)));
    // QLockFile judges a lock by the owner written in it, and takes over one whose owner no
    // longer runs. A file that names no owner (its writer died between creating and filling
    // it, or a power cut lost the content) is judged by whether a process still holds it
    // open: a live owner keeps it locked (on Windows, open without delete sharing), so
    // removeStaleLockFile refuses it, while a dead one holds nothing. The only live owner
    // that holds nothing is one between creating the file and locking it, a span of two
    // system calls; a short wait lets such an owner finish before the file is judged.
    Verdict v;
    v.outcome = Outcome::Busy;
    QString app;
    const auto named = [&] {
        if (!lock.getLockInfo(&v.pid, &v.host, &app))
            return false;
        // A dead owner whose file QLockFile could not take over: this user may not remove it.
        if (ownerGone(v.pid, v.host))
            v = unavailable(QStringLiteral("\"%1\" is left by a run that has ended (process "
                                           "%2), and it cannot be removed; delete it and start "
                                           "again")
                                .arg(native(path))
                                .arg(v.pid));
        return true;
    };
    if (named())
        return v;
    constexpr int kWritingMilliseconds = 200;
    if (lock.tryLock(kWritingMilliseconds))
        return {};
    if (named())
        return v;
    if (lock.removeStaleLockFile() && lock.tryLock(0))
        return {};
    if (file.exists() && !file.isReadable())
        return unavailable(QStringLiteral("\"%1\" cannot be read").arg(native(path)));
    v = Verdict();
    v.outcome = Outcome::Busy;
    return v;
}

} // namespace

InstanceGuard::InstanceGuard() = default;
InstanceGuard::~InstanceGuard() {
    release();
}

QString InstanceGuard::lockPath() {
    const QByteArray custom = qgetenv("VEK_INSTANCE_LOCK");
    if (!custom.isEmpty())
        return QString::fromLocal8Bit(custom);
    // A temporary folder shared by several users holds one lock per user, so one user's
    // selector never stands in for another's.
    if (const std::optional<uint> me = Processes::userId())
        return QDir::temp().filePath(QStringLiteral("vekselector-instance-%1.lock").arg(*me));
    return QDir::temp().filePath(QStringLiteral("vekselector-instance.lock"));
}

bool InstanceGuard::tryAcquire() {
    if (lock_ && lock_->isLocked())
        return true;
    lock_ = std::make_unique<QLockFile>(lockPath());
    const Verdict v = take(*lock_, true);
    outcome_ = v.outcome;
    problem_.clear();
    if (v.outcome == Outcome::Unavailable)
        problem_ =
            QStringLiteral("Could not make sure that no other VEK Selector runs: %1.").arg(v.why);
    if (v.outcome != Outcome::Taken)
        lock_.reset();
    return v.outcome == Outcome::Taken;
}

InstanceGuard::Outcome InstanceGuard::lockGameFolder(const QString &gameFolder) {
    const QString folder = QDir::cleanPath(QFileInfo(gameFolder).absoluteFilePath());
    if (folderLock_ && folder_ == folder && folderLock_->isLocked())
        return Outcome::Taken;
    releaseGameFolder();
    folderLock_ = std::make_unique<QLockFile>(QDir(folder).filePath(FolderLockName));
    const bool there = QFileInfo::exists(QDir(folder).filePath(FolderLockName));
    const Verdict v = take(*folderLock_, false);
    tookLeft_ = there && v.outcome == Outcome::Taken;
    problem_.clear();
    if (v.outcome == Outcome::Taken) {
        folder_ = folder;
        // The file the lock's removal of a dead owner's lock works under: with the lock ours,
        // one that is there was left by a process ended in the middle of that removal.
        QFile::remove(QDir(folder).filePath(FolderLockName + QStringLiteral(".rmlock")));
        return v.outcome;
    }
    folderLock_.reset();
    if (v.outcome == Outcome::Unavailable) {
        problem_ = QStringLiteral("Could not lock the game folder \"%1\" against a second VEK "
                                  "Selector: %2. Nothing was changed.")
                       .arg(native(folder), v.why);
    } else {
        QString owner;
        if (v.pid > 0)
            owner = v.host.isEmpty() || v.host == QSysInfo::machineHostName()
                        ? QStringLiteral(" (process %1)").arg(v.pid)
                        : QStringLiteral(" (process %1 on %2)").arg(v.pid).arg(v.host);
        problem_ = QStringLiteral("Another VEK Selector is working in the game folder \"%1\"%2. "
                                  "One selector at a time may change a game folder: close the "
                                  "other one, or wait for it to finish, and start again.")
                       .arg(native(folder), owner);
    }
    return v.outcome;
}

void InstanceGuard::releaseGameFolder() {
    if (folderLock_)
        folderLock_->unlock();
    folderLock_.reset();
    folder_.clear();
}

void InstanceGuard::release() {
    releaseGameFolder();
    if (lock_)
        lock_->unlock();
    lock_.reset();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

/// Two locks keep selectors apart, window program and command-line tool together.
///
/// The instance lock: one selector at a time per user, in the user's temporary folder (the
/// environment variable `VEK_INSTANCE_LOCK` names another lock file; tests give each case its
/// own). It only spares the player a second window; when it cannot be made or judged (an
/// unwritable temporary folder, a file of another user in its place) the start goes on.
///
/// The game-folder lock: one run at a time per game folder, `FolderLockName` in the game
/// folder, held by every run that may change it. Runs with different temporary folders (two
/// users, a sandbox, a launcher) meet here, so this is the lock that keeps the folders whole.
///
/// Each lock is a lock file holding the owner's process id: a lock left behind by a crashed
/// run names a process that no longer runs and is taken over by the next start; so is a lock
/// file that names no process at all (its owner died before it finished writing it) once no
/// process holds it open, however young it is.
class InstanceGuard {
public:
    /// How a lock went: taken; held by a running selector; not to be had for another reason
    /// (`problem` says which).
    enum class Outcome { Taken, Busy, Unavailable };

    InstanceGuard();
    ~InstanceGuard();

    /// Takes the instance lock; false when it is not taken (`outcome` and `problem` say why).
    bool tryAcquire();
    /// The outcome of the last `tryAcquire`.
    Outcome outcome() const { return outcome_; }
    /// Releases both locks.
    void release();

    /// Takes the lock of `gameFolder`, giving up one held on another folder first. Answers
    /// Taken (also when it is held already), Busy with `problem` naming the folder and the
    /// running selector, or Unavailable with `problem` naming the lock file and the reason.
    Outcome lockGameFolder(const QString &gameFolder);
    void releaseGameFolder();

    /// A sentence for the player about the last lock that was not taken.
    QString problem() const { return problem_; }
    /// Whether the game folder's lock, when `lockGameFolder` took it, was a lock file left by
    /// a run that ended without removing it.
    bool tookLeftLock() const { return tookLeft_; }

    static QString lockPath();
    /// The game-folder lock's file name; listings of the game folder's content pass it by.
    static inline const QString FolderLockName = QStringLiteral(".vekselector.lock");

private:
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLockFile> folderLock_;
    QString folder_;
    Outcome outcome_ = Outcome::Taken;
    QString problem_;
    bool tookLeft_ = false;
};

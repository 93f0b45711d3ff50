#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

/// One selector at a time per user, window program and command-line tool together. The guard
/// is a lock file holding the owner's process id: a lock left behind by a crashed instance
/// names a process that no longer runs and is taken over by the next start; so is a lock file
/// that names no process at all (its owner died before it finished writing it) once no process
/// holds it open, however young it is.
///
/// The lock lives in the user's temporary folder; the environment variable
/// `VEK_INSTANCE_LOCK` names another lock file (tests give each case its own).
class InstanceGuard {
public:
    InstanceGuard();
    ~InstanceGuard();

    /// Takes the lock; false when another running instance holds it.
    bool tryAcquire();
    void release();

    static QString lockPath();

private:
    std::unique_ptr<QLockFile> lock_;
};

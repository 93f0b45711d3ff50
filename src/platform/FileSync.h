// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Durability: the sync that puts an import's new files on the disk before the folders they
// replace are deleted, and the seam through which tests make a sync fail.

#include <QString>

#include <functional>

/// Syncs beyond `FileOps::syncFolder` (which makes one folder's entries durable). Each failing
/// call answers false with `error` naming the folder and the reason; a caller then deletes
/// nothing whose only other copy the sync was to make durable.
class FileSync {
public:
    /// Makes everything written to the file system holding `folder` durable. Where the system
    /// has no such call it answers true.
    static bool syncFileSystem(const QString &folder, QString *error);

    /// For tests: every sync (this one and `FileOps::syncFolder`) of a path for which `fault`
    /// answers a reason fails with that reason. An empty function lifts it.
    static void setFault(std::function<QString(const QString &path)> fault);
    /// Whether a test made syncs of `path` fail: false with `error` then.
    static bool mayPass(const QString &path, QString *error);

    /// The message of a failed sync of `path`.
    static QString failed(const QString &path, const QString &reason);

private:
    /// The system's call (FileSync_linux.cpp, or FileSync_portable.cpp where there is none).
    static bool syncSystem(const QString &folder, QString *error);
};

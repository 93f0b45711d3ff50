#pragma once

#include <QByteArray>
#include <QString>

/// Whole-file operations. Each failing call answers false and fills `error` with a sentence
/// that names the file and the reason, ready to show to the player.
class FileOps {
public:
    /// Creates the folder (one level) when no folder of that path exists. Answers whether it
    /// existed before the call; `created` tells whether the creation, when tried, worked.
    static bool EnsureFolder(const QString &path, bool *created = nullptr);

    /// Replaces `path` with `bytes` atomically: a temporary file in the same folder is
    /// written, flushed and renamed over the target, so the target is never half-written.
    /// A read-only target is refused, as the platform's own write would be.
    static bool writeAtomic(const QString &path, const QByteArray &bytes, QString *error);

    /// Makes the folder's entries (names created, renamed or deleted in it) durable: after a
    /// power cut the folder holds what it held at this call. Where the system has no such
    /// call (Windows syncs a rename itself) it answers true.
    static bool syncFolder(const QString &path, QString *error);

    /// Reads a whole file.
    static bool readAll(const QString &path, QByteArray *bytes, QString *error);

    /// Copies `from` over `to` (replacing it) through a temporary file beside `to`, so a
    /// failed copy leaves `to` as it was. A read-only `to` is refused.
    static bool copyReplace(const QString &from, const QString &to, QString *error);

    /// Deletes a file. A file that is already gone counts as deleted.
    static bool remove(const QString &path, QString *error);

    /// Renames the folder `from` to `to` (in the same parent); false when that failed.
    static bool renameFolder(const QString &from, const QString &to);

    /// Attributes: "normal" is readable and writable by the owner, nothing else set.
    static bool setNormal(const QString &path);
    static bool setReadOnly(const QString &path, bool readOnly);
    /// Read-only is the attribute (no owner write bit), not whether this process could write:
    /// the selector honours it even when run with rights that could override it.
    static bool isReadOnly(const QString &path);
};

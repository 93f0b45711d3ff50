// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QFileDevice;

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

    /// Whether `writeAtomic` could replace `path` now, found out without writing anything: a
    /// read-only target is refused as that write refuses it, and so is a file the system would
    /// not let be replaced (immutable, on a read-only disk) or a folder that takes no new file.
    /// False with `error` naming the file and the reason.
    static bool canRewrite(const QString &path, QString *error);

    /// One file of a set written as one (`writeSet`): its new bytes, and the file they were
    /// copied from, when they are a copy (for the report of a dry run).
    struct NewFile {
        QString path;
        QByteArray bytes;
        QString copiedFrom;
    };
    /// Several whole-file rewrites as one: every file is written in full to a temporary file
    /// beside it first, so a full disk shows before any target has changed (and then none
    /// has: the temporary files are removed); only then is each renamed over its target, in
    /// list order. A read-only target is refused before anything is written. `renamed` answers
    /// how many targets were replaced, also when a rename fails part-way (the caller puts those
    /// back). Keeps the attributes of a target it replaces.
    static bool writeSet(const QList<NewFile> &files, QString *error, qsizetype *renamed);

    /// The bytes free for this process on the file system of `folder`, or -1 when unknown.
    static qint64 bytesFree(const QString &folder);

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

    /// Removes what a whole-file write cut short left in `folder`: the new file under its
    /// temporary name, one of `names` (any case) followed by "." and six letters and digits,
    /// as the system gives it, and the mover's copies under their hidden names
    /// (".vek-copy-<process>-<n>.tmp") (a suffix of one case of letters alone is a word, such as
    /// "backup", and stays: a player's file is never taken for one). Answers the names
    /// removed; the ones that could not be removed are added to `problems`.
    static QStringList removeCutWrites(const QString &folder, const QStringList &names,
                                       QStringList *problems);

    /// Renames the folder `from` to `to` (in the same parent); false when that failed.
    static bool renameFolder(const QString &from, const QString &to);
    /// Whether two paths name one folder: the same folder of the same file system, however
    /// it is reached (a symbolic link, another spelling). False when either is not there.
    static bool sameFolder(const QString &a, const QString &b);

    /// Attributes: "normal" is readable and writable by the owner, nothing else set.
    static bool setNormal(const QString &path);
    static bool setReadOnly(const QString &path, bool readOnly);
    /// Read-only is the attribute (no owner write bit), not whether this process could write:
    /// the selector honours it even when run with rights that could override it.
    static bool isReadOnly(const QString &path);
    /// A folder is read-only in the same sense: without the owner write bit nothing is created
    /// in it or deleted from it, whoever runs the selector.
    static bool isReadOnlyFolder(const QString &path);

    /// Writes all of `size` bytes to the open `file`. Qt reports a write the system cut short
    /// (the disk filled up) without a reason of its own; the rest is tried again, so the
    /// failure that ends it carries the system's reason ("No space left on device").
    static bool writeFully(QFileDevice &file, const char *data, qint64 size, QString *reason);
    /// Flushes `file`'s buffer, on the same terms.
    static bool flushFully(QFileDevice &file, QString *reason);
    /// Why the last operation on `file` failed, in words: the system's reason where it gave
    /// one, else what Qt's kind of error says. Never "Unknown error".
    static QString reasonOf(const QFileDevice &file);
};

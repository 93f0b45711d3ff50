// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

/// What a file is at one moment, cheaply: enough to tell whether anyone wrote it, renamed
/// another file over it or deleted it since, without reading its bytes. A write changes its
/// size or modification time; a rename over it or a new copy changes its inode.
struct FileIdentity {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0; ///< nanoseconds since the epoch
    quint64 inode = 0;   ///< 0 where the system has no such number
    /// nanoseconds since the epoch of the last change of its bytes, name count or attributes
    /// (0 where the system does not tell): no one can touch a file and leave it as it was.
    qint64 changed = 0;
    quint64 links = 1;   ///< how many names the file's bytes have
    bool folder = false; ///< a folder, not a file

    /// The file `path` names (a link itself, not what it points to).
    static FileIdentity of(const QString &path);
    /// Gives the file `from` the second name `to` (on the same file system); false where the
    /// system or the file system has no such names, or `to` exists.
    static bool hardLink(const QString &from, const QString &to);

    /// Whether both are the same file with the same bytes as far as the identity tells.
    bool same(const FileIdentity &other) const {
        return exists == other.exists &&
               (!exists || (size == other.size && modified == other.modified &&
                            (inode == 0 || other.inode == 0 || inode == other.inode)));
    }
    /// Whether both are the same file, and nothing at all happened to it between the two: no
    /// write, link, rename or attribute change. Only then is a file provably still a copy.
    bool untouched(const FileIdentity &other) const {
        return same(other) && exists && inode != 0 && inode == other.inode && changed != 0 &&
               changed == other.changed;
    }
    /// "absent" or "SIZE:MODIFIED:INODE:CHANGED", as the history keeps it.
    QString text() const;
    static FileIdentity fromText(const QString &text);
};

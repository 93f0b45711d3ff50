// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// Archives the import tests feed the selector, written here with libarchive's own writer, so
/// no sample is downloaded and every hostile entry is one we chose.
struct ArchiveMaker {
    struct Item {
        QString name;
        QByteArray bytes;
        enum class Kind { File, Folder, Symlink, Device } kind = Kind::File;
    };

    /// Writes `items` to `path` as `format`: "zip", "7z", "tar", "tar.gz", "tar.bz2", "tar.xz"; a
    /// zip or 7z may name its compression after a colon ("zip:store", "7z:deflate"). Names are
    /// stored exactly as given ("../x", "C:\x" too). Empty on success, else why not.
    static QString write(const QString &path, const QString &format, const QList<Item> &items);

    /// A zip of one deflated entry `name` holding `bytes` whose headers claim `claimed` bytes:
    /// written by hand, since no writer lies about a size.
    /// Bytes no compression shrinks (a fixed sequence, so a failure repeats): a damaged
    /// archive's flipped byte is found again by searching for a piece of them.
    static QByteArray noise(int size);
    static QByteArray lyingZip(const QString &name, const QByteArray &bytes, quint32 claimed);

    /// A file of an archive written byte by byte: its name as raw bytes.
    struct Raw {
        QByteArray name;
        QByteArray bytes;
    };
    /// A zip of stored entries, written by hand so that the names' bytes and the UTF-8 flag
    /// are exactly ours (no writer leaves a name in an old code page).
    static QByteArray storedZip(const QList<Raw> &files, bool utf8Flag);
    /// A ustar tar of `files`, names of at most 99 bytes.
    static QByteArray ustar(const QList<Raw> &files);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

struct archive;
struct archive_entry;

/// One pass over an archive's entries, through libarchive: zip, 7z, rar (4 and 5), tar (plain
/// or with gzip, bzip2, xz, lzma or zstd). Owns the library's handle; an archive is read
/// once front to back, so the import opens it twice (look, then unpack).
class ArchiveReader {
public:
    /// What one entry claims in its header.
    struct Entry {
        QString name; ///< as stored, not yet checked (`ArchiveLayout::entryPath`)
        enum class Kind { File, Folder, Other } kind = Kind::File;
        QString otherKind; ///< for `Other`: "a symbolic link", "a device file" ...
        qint64 size = -1;  ///< the unpacked size the header claims, -1 when it claims none
    };

    ArchiveReader() = default;
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader &) = delete;
    ArchiveReader &operator=(const ArchiveReader &) = delete;

    /// Opens `path`; false with `error` (naming the file and why) when it cannot be read as an
    /// archive.
    bool open(const QString &path, QString *error);

    enum class Step { Entry, End, Failed };
    /// The next entry's header; `Failed` with `error` when the archive is damaged.
    Step next(Entry *entry, QString *error);

    /// The next block of the current entry's bytes: `size` 0 at its end. False with `error`
    /// when the data is damaged. `offset` is where the block lies in the entry (sparse files
    /// leave holes between blocks).
    bool block(const void **data, size_t *size, qint64 *offset, QString *error);

    /// After the last entry: the checksums the entries' reading leaves unchecked (a gzip
    /// stream's, at its end) hold. False with `error` when they do not.
    bool checkWhole(QString *error) const;

    /// How many bytes of the archive file have been read so far: what the unpacked bytes are
    /// weighed against.
    qint64 packedBytesRead() const;

private:
    QString why() const;

    QFile file_; ///< the archive, opened by Qt so that any name opens on any system
    archive *a_ = nullptr;
    QString path_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveReader.h"

#include "FileOps.h"
#include "Text8.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <archive.h>
#include <archive_entry.h>
#include <zlib.h>

namespace {
/// The archive is read a megabyte at a time: one system call per megabyte.
constexpr size_t BlockSize = 1 << 20;

QString kindOf(archive_entry *entry) {
    switch (archive_entry_filetype(entry)) {
    case AE_IFLNK:
        return QStringLiteral("a symbolic link");
    case AE_IFCHR:
    case AE_IFBLK:
        return QStringLiteral("a device file");
    case AE_IFIFO:
        return QStringLiteral("a named pipe");
    case AE_IFSOCK:
        return QStringLiteral("a socket");
    default:
        return QStringLiteral("an entry of an unknown kind");
    }
}
/// The entry's name as its maker wrote it. The raw bytes decide where the format says
/// nothing of them (a tar's names): UTF-8 where they are valid UTF-8, else the 8-bit text of
/// the game's Windows (1252), which is what an old tar made there holds.
QString nameOf(archive_entry *e) {
    const char *raw = archive_entry_pathname(e);
    if (raw) {
        const QByteArray bytes(raw);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        return utf8.hasError() ? Text8::toUnicode(bytes) : text;
    }
    const char *utf8 = archive_entry_pathname_utf8(e);
    return utf8 ? QString::fromUtf8(utf8) : QString();
}
} // namespace

ArchiveReader::~ArchiveReader() {
    if (a_)
        archive_read_free(a_);
}

QString ArchiveReader::why() const {
    const char *text = a_ ? archive_error_string(a_) : nullptr;
    return text ? QString::fromLocal8Bit(text) : QStringLiteral("it is damaged");
}

bool ArchiveReader::open(const QString &path, QString *error) {
    path_ = path;
    a_ = archive_read_new();
    // The kinds players download, and no more: "all" would also start outside programs for
    // some compressions (lrzip, lzop ...) on an archive anyone may have made.
    archive_read_support_format_zip(a_);
    archive_read_support_format_7zip(a_);
    archive_read_support_format_rar(a_);
    archive_read_support_format_rar5(a_);
    archive_read_support_format_tar(a_);
    archive_read_support_filter_gzip(a_);
    archive_read_support_filter_bzip2(a_);
    archive_read_support_filter_xz(a_);
    archive_read_support_filter_lzma(a_);
    archive_read_support_filter_zstd(a_);
    // A zip written without the UTF-8 flag holds its names in the code page of the PCs of its
    // day (437): read so, "Fl\x81gel" is the "Flügel" its maker saw. Names with the flag stay
    // UTF-8, 7z holds UTF-16, and a tar's raw names are weighed in `next`.
    archive_read_set_format_option(a_, "zip", "hdrcharset", "CP437");
    // libarchive takes a file name in 8-bit form, which on Windows cannot spell every name:
    // Qt opens the file, and libarchive reads what it opened.
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("\"%1\" cannot be read as an archive: %2.")
                     .arg(QDir::toNativeSeparators(path), FileOps::reasonOf(file_));
        return false;
    }
    if (archive_read_open_fd(a_, file_.handle(), BlockSize) != ARCHIVE_OK) {
        *error = QStringLiteral("\"%1\" cannot be read as an archive: %2.")
                     .arg(QDir::toNativeSeparators(path), why());
        return false;
    }
    return true;
}

ArchiveReader::Step ArchiveReader::next(Entry *entry, QString *error) {
    archive_entry *e = nullptr;
    const int r = archive_read_next_header(a_, &e);
    if (r == ARCHIVE_EOF)
        return Step::End;
    // A warning (an unknown extended header, say) still gives a usable entry.
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
        *error =
            QStringLiteral("\"%1\" is damaged: %2.").arg(QDir::toNativeSeparators(path_), why());
        return Step::Failed;
    }
    entry->name = nameOf(e);
    // A hard link is an entry whose bytes are another's: it is refused like a symbolic link.
    if (archive_entry_hardlink(e)) {
        entry->kind = Entry::Kind::Other;
        entry->otherKind = QStringLiteral("a hard link");
    } else if (archive_entry_filetype(e) == AE_IFREG) {
        entry->kind = Entry::Kind::File;
    } else if (archive_entry_filetype(e) == AE_IFDIR) {
        entry->kind = Entry::Kind::Folder;
    } else {
        entry->kind = Entry::Kind::Other;
        entry->otherKind = kindOf(e);
    }
    entry->size = archive_entry_size_is_set(e) ? archive_entry_size(e) : -1;
    return Step::Entry;
}

bool ArchiveReader::block(const void **data, size_t *size, qint64 *offset, QString *error) {
    la_int64_t at = 0;
    const int r = archive_read_data_block(a_, data, size, &at);
    *offset = at;
    if (r == ARCHIVE_EOF) {
        *size = 0;
        return true;
    }
    // A checksum that does not match comes as a warning (zip, 7z) at the entry's end: the
    // bytes already given are not the ones packed, so anything but OK is damage.
    if (r != ARCHIVE_OK) {
        *error =
            QStringLiteral("\"%1\" is damaged: %2.").arg(QDir::toNativeSeparators(path_), why());
        return false;
    }
    return true;
}

bool ArchiveReader::checkWhole(QString *error) const {
    bool gzip = false;
    for (int i = 0; i < archive_filter_count(a_); ++i)
        gzip = gzip || archive_filter_code(a_, i) == ARCHIVE_FILTER_GZIP;
    if (!gzip)
        return true;
    // The gzip stream's checksum and length stand in its last 8 bytes, which the reading of the
    // entries never checks: the stream is read once more, whole, to weigh it against them.
    QFile file(path_);
    QByteArray tail;
    if (file.open(QIODevice::ReadOnly) && file.size() >= 8 && file.seek(file.size() - 8))
        tail = file.read(8);
    file.close();
    const auto le32 = [&tail](int at) {
        return quint32(quint8(tail.at(at))) | quint32(quint8(tail.at(at + 1))) << 8 |
               quint32(quint8(tail.at(at + 2))) << 16 | quint32(quint8(tail.at(at + 3))) << 24;
    };
    const auto damaged = [this, error](const QString &reason) {
        *error =
            QStringLiteral("\"%1\" is damaged: %2.").arg(QDir::toNativeSeparators(path_), reason);
        return false;
    };
    if (tail.size() != 8)
        return damaged(QStringLiteral("its end cannot be read"));
    archive *raw = archive_read_new();
    archive_read_support_format_raw(raw);
    archive_read_support_filter_gzip(raw);
    archive_entry *e = nullptr;
    uLong crc = crc32(0, nullptr, 0);
    quint32 length = 0;
    QFile again(path_);
    int r = again.open(QIODevice::ReadOnly) ? archive_read_open_fd(raw, again.handle(), BlockSize)
                                            : ARCHIVE_FATAL;
    if (r == ARCHIVE_OK)
        r = archive_read_next_header(raw, &e);
    for (;;) {
        if (r != ARCHIVE_OK)
            break;
        const void *data = nullptr;
        size_t size = 0;
        la_int64_t at = 0;
        r = archive_read_data_block(raw, &data, &size, &at);
        if (r == ARCHIVE_OK) {
            crc = crc32(crc, static_cast<const Bytef *>(data), uInt(size));
            length += quint32(size);
        }
    }
    const QString text =
        r == ARCHIVE_EOF ? QString() : QString::fromLocal8Bit(archive_error_string(raw));
    archive_read_free(raw);
    if (r != ARCHIVE_EOF)
        return damaged(text.isEmpty() ? QStringLiteral("it cannot be read to its end") : text);
    // A length that differs is a file of several gzip streams one after the other: the last
    // one's checksum covers only itself, and cannot be weighed here.
    if (length == le32(4) && quint32(crc) != le32(0))
        return damaged(QStringLiteral("its gzip checksum does not match its contents"));
    return true;
}

qint64 ArchiveReader::packedBytesRead() const {
    return archive_filter_bytes(a_, -1);
}

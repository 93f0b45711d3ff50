// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveMaker.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <initializer_list>
#include <utility>

namespace {
quint32 crc32(const QByteArray &bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Little-endian fields, each a value and its width in bytes, in order.
void le(QByteArray &out, std::initializer_list<std::pair<quint32, int>> fields) {
    for (const auto &[value, bytes] : fields)
        for (int i = 0; i < bytes; ++i)
            out += char((value >> (8 * i)) & 0xFF);
}
} // namespace

QString ArchiveMaker::write(const QString &path, const QString &format, const QList<Item> &items) {
    archive *a = archive_write_new();
    const QString kind = format.section(QLatin1Char(':'), 0, 0);
    const QByteArray compression = format.section(QLatin1Char(':'), 1).toLatin1();
    const QString container = kind.section(QLatin1Char('.'), 0, 0);
    const QString filter = kind.section(QLatin1Char('.'), 1);
    if (container == QLatin1String("zip"))
        archive_write_set_format_zip(a);
    else if (container == QLatin1String("7z"))
        archive_write_set_format_7zip(a);
    else
        archive_write_set_format_pax_restricted(a);
    if (!compression.isEmpty())
        archive_write_set_format_option(a, nullptr, "compression", compression.constData());
    if (filter == QLatin1String("gz"))
        archive_write_add_filter_gzip(a);
    else if (filter == QLatin1String("bz2"))
        archive_write_add_filter_bzip2(a);
    else if (filter == QLatin1String("xz"))
        archive_write_add_filter_xz(a);
    QString error;
    if (archive_write_open_filename(a, QFile::encodeName(path).constData()) != ARCHIVE_OK)
        error = QString::fromLocal8Bit(archive_error_string(a));
    for (const Item &item : items) {
        if (!error.isEmpty())
            break;
        archive_entry *e = archive_entry_new();
        archive_entry_copy_pathname(e, item.name.toUtf8().constData());
        // Type and permissions by kind: file, folder, symbolic link, device.
        static constexpr std::pair<unsigned, int> kinds[] = {
            {AE_IFREG, 0644}, {AE_IFDIR, 0755}, {AE_IFLNK, 0777}, {AE_IFCHR, 0666}};
        archive_entry_set_filetype(e, kinds[int(item.kind)].first);
        archive_entry_set_perm(e, kinds[int(item.kind)].second);
        if (item.kind == Item::Kind::File)
            archive_entry_set_size(e, item.bytes.size());
        if (item.kind == Item::Kind::Symlink)
            archive_entry_copy_symlink(e, item.bytes.constData());
        if (item.kind == Item::Kind::Device)
            archive_entry_set_rdev(e, 0x0103);
        if (archive_write_header(a, e) < ARCHIVE_WARN ||
            (item.kind == Item::Kind::File && !item.bytes.isEmpty() &&
             archive_write_data(a, item.bytes.constData(), size_t(item.bytes.size())) < 0))
            error = QString::fromLocal8Bit(archive_error_string(a));
        archive_entry_free(e);
    }
    if (archive_write_close(a) != ARCHIVE_OK && error.isEmpty())
        error = QString::fromLocal8Bit(archive_error_string(a));
    archive_write_free(a);
    return error;
}

namespace {
// One entry of a zip as written: its name, its bytes as they lie in the archive (stored, or
// deflated already), their checksum and unpacked size, the flags and the method.
struct ZipEntry {
    QByteArray name, data;
    quint32 crc, size, flags, method;
};

QByteArray zipOf(const QList<ZipEntry> &entries) {
    QByteArray out;
    QByteArray directory;
    for (const ZipEntry &e : entries) {
        // Version needed, flags (bit 11: the name is UTF-8), method, time, date, checksum,
        // packed and unpacked size, name, extra.
        const auto common = [&](QByteArray &o) {
            le(o, {{20, 2}, {e.flags, 2}, {e.method, 2}, {0, 2}, {0x21, 2}, {e.crc, 4}});
            le(o, {{quint32(e.data.size()), 4}, {e.size, 4}, {quint32(e.name.size()), 2}, {0, 2}});
        };
        const quint32 at = quint32(out.size());
        le(out, {{0x04034b50, 4}});
        common(out);
        out += e.name + e.data;
        le(directory, {{0x02014b50, 4}, {20, 2}}); // made by
        common(directory);
        // Comment, disk, internal and external attributes, offset of the local header.
        le(directory, {{0, 2}, {0, 2}, {0, 2}, {0, 4}, {at, 4}});
        directory += e.name;
    }
    const quint32 start = quint32(out.size()), count = quint32(entries.size());
    out += directory;
    // The directory's end: disks, entries on this disk and in all, its size and offset, comment.
    le(out, {{0x06054b50, 4}, {0, 4}, {count, 2}, {count, 2}});
    le(out, {{quint32(directory.size()), 4}, {start, 4}, {0, 2}});
    return out;
}
} // namespace

QByteArray ArchiveMaker::lyingZip(const QString &name, const QByteArray &bytes, quint32 claimed) {
    // qCompress gives a zlib stream after a 4-byte length: the raw deflate data a zip holds
    // lies between its 2-byte header and its 4-byte checksum.
    const QByteArray zlib = qCompress(bytes, 9);
    return zipOf({{name.toUtf8(), zlib.mid(6, zlib.size() - 10), crc32(bytes), claimed, 0, 8}});
}

QByteArray ArchiveMaker::storedZip(const QList<Raw> &files, bool utf8Flag) {
    QList<ZipEntry> entries;
    for (const Raw &f : files)
        entries.append(
            {f.name, f.bytes, crc32(f.bytes), quint32(f.bytes.size()), utf8Flag ? 0x800u : 0u, 0});
    return zipOf(entries);
}

QByteArray ArchiveMaker::ustar(const QList<Raw> &files) {
    QByteArray out;
    for (const Raw &f : files) {
        QByteArray h(512, '\0');
        const auto put = [&h](int at, const QByteArray &field) {
            h.replace(at, field.size(), field);
        };
        const auto octal = [](qint64 v, int width) {
            return QByteArray::number(v, 8).rightJustified(width - 1, '0');
        };
        put(0, f.name.left(99));
        put(100, octal(0644, 8));
        put(108, octal(0, 8));
        put(116, octal(0, 8));
        put(124, octal(f.bytes.size(), 12));
        put(136, octal(0, 12));
        put(148, QByteArray(8, ' ')); // counted as blanks while the sum is made
        h[156] = '0';
        put(257, QByteArray("ustar\0"
                            "00",
                            8));
        quint32 sum = 0;
        for (const char c : h)
            sum += quint8(c);
        put(148, octal(sum, 7) + QByteArray("\0 ", 2));
        out += h + f.bytes + QByteArray((512 - f.bytes.size() % 512) % 512, '\0');
    }
    return out + QByteArray(1024, '\0');
}

QByteArray ArchiveMaker::noise(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (char &c : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = char(x >> 24);
    }
    return bytes;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringFile.h"

#include "FileList.h"
#include "FileOps.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace {

// The file the game keeps under whatever case it has on disk, or `path` as given.
QString present(const QString &path) {
    const QFileInfo fi(path);
    return FileList::resolve(fi.path(), fi.fileName());
}

void append32(QByteArray &out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

bool StringFile::parse(const QByteArray &bytes, QList<QByteArray> *strings, QString *reason) {
    if (bytes.size() < 10) {
        if (reason)
            *reason =
                QStringLiteral("it holds %1 bytes, too few for a string file").arg(bytes.size());
        return false;
    }
    const qsizetype start = qFromLittleEndian<quint16>(bytes.constData() + 8) + 8;
    if (start > bytes.size()) {
        if (reason)
            *reason = QStringLiteral("its strings would start at offset %1, beyond its end "
                                     "(%2 bytes); it is not a string file")
                          .arg(start)
                          .arg(bytes.size());
        return false;
    }

    strings->clear();
    qsizetype at = start;
    bool first = true;
    while (first || at < bytes.size()) {
        qsizetype end = bytes.indexOf('\0', at);
        if (end < 0)
            end = bytes.size();
        strings->append(bytes.mid(at, end - at));
        first = false;
        at = end;
        while (at < bytes.size() && bytes.at(at) == '\0')
            ++at;
    }
    return true;
}

bool StringFile::build(const QList<QByteArray> &strings, QByteArray *bytes, QString *reason) {
    if (strings.isEmpty()) {
        if (reason)
            *reason = QStringLiteral("a string file holds at least one string");
        return false;
    }
    qint64 position = 8 + 4 * qint64(strings.size());
    QByteArray table;
    QByteArray data;
    for (qsizetype i = 0; i < strings.size(); ++i) {
        const QByteArray &s = strings.at(i);
        if (s.contains('\0')) {
            if (reason)
                *reason = QStringLiteral("string %1 holds a zero byte, which would end it").arg(i);
            return false;
        }
        if (position > MaxPosition) {
            if (reason)
                *reason = QStringLiteral("string %1 would start at offset %2, beyond %3, the "
                                         "last offset the game's string files can address")
                              .arg(i)
                              .arg(position)
                              .arg(MaxPosition);
            return false;
        }
        append32(table, static_cast<quint32>(position - 8));
        data += s;
        data += '\0';
        position += s.size() + 1;
    }
    bytes->clear();
    bytes->reserve(8 + table.size() + data.size());
    append32(*bytes, static_cast<quint32>(position));
    append32(*bytes, static_cast<quint32>(strings.size()));
    *bytes += table;
    *bytes += data;
    return true;
}

bool StringFile::ReadStringFile(const QString &path, QList<QByteArray> *strings, QByteArray *raw,
                                QString *error) {
    const QString file = present(path);
    QByteArray bytes;
    if (!FileOps::readAll(file, &bytes, error))
        return false;
    QString reason;
    QList<QByteArray> parsed;
    if (!parse(bytes, &parsed, &reason)) {
        if (error)
            *error = QStringLiteral("Could not read \"%1\": %2.")
                         .arg(QDir::toNativeSeparators(file), reason);
        return false;
    }
    *strings = parsed;
    if (raw)
        *raw = bytes;
    return true;
}

bool StringFile::buildFor(const QString &path, const QList<QByteArray> &strings, QByteArray *bytes,
                          QString *error) {
    QString reason;
    if (build(strings, bytes, &reason))
        return true;
    if (error)
        *error = QStringLiteral("Could not write \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(present(path)), reason);
    return false;
}

bool StringFile::WriteStringFile(const QString &path, const QList<QByteArray> &strings,
                                 QString *error) {
    const QString file = present(path);
    QByteArray bytes;
    if (!buildFor(file, strings, &bytes, error))
        return false;
    return FileOps::writeAtomic(file, bytes, error);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFile.h"

#include "FileOps.h"

#include <QFile>

QList<QByteArray> TextFile::splitLines(const QByteArray &bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            QByteArray last = bytes.mid(start);
            if (last.endsWith('\r'))
                last.chop(1);
            lines << last;
            break;
        }
        qsizetype stop = end;
        if (stop > start && bytes.at(stop - 1) == '\r')
            --stop;
        lines << bytes.mid(start, stop - start);
        start = end + 1;
    }
    return lines;
}

QByteArray TextFile::joinLines(const QList<QByteArray> &lines) {
    QByteArray out;
    for (const QByteArray &l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

bool TextFile::readLines(const QString &path, QList<QByteArray> *lines, QString *error) {
    QByteArray bytes;
    if (!FileOps::readAll(path, &bytes, error))
        return false;
    *lines = splitLines(bytes);
    return true;
}

QByteArray TextFile::firstLine(const QString &path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // readLine counts the terminating zero it would add to a buffer of that size.
    QByteArray line = maxBytes < 0 ? file.readLine() : file.readLine(maxBytes + 1);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

bool TextFile::writeLines(const QString &path, const QList<QByteArray> &lines, QString *error) {
    return FileOps::writeAtomic(path, joinLines(lines), error);
}

bool TextFile::writeLinesIfChanged(const QString &path, const QList<QByteArray> &lines,
                                   QString *error) {
    const QByteArray bytes = joinLines(lines);
    return holds(path, bytes) || FileOps::writeAtomic(path, bytes, error);
}

bool TextFile::holds(const QString &path, const QByteArray &bytes) {
    QFile now(path);
    // Only a file of the same size is read.
    return now.size() == bytes.size() && now.open(QIODevice::ReadOnly) && now.readAll() == bytes;
}

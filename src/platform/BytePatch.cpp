// SPDX-License-Identifier: GPL-3.0-or-later
#include "BytePatch.h"

#include "FileHook.h"
#include "FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString fail(const QString &action, const QString &path, const QString &reason) {
    return QStringLiteral("Could not %1 \"%2\": %3.")
        .arg(action, QDir::toNativeSeparators(path), reason);
}
} // namespace

bool BytePatch::writeByte(const QString &path, qint64 position, unsigned char value,
                          QString *error) {
    return writeBytes(path, position, QByteArray(1, static_cast<char>(value)), error);
}

bool BytePatch::writeBytes(const QString &path, qint64 position, const QByteArray &bytes,
                           QString *error) {
    if (position < 1) {
        if (error)
            *error = fail(QStringLiteral("write to"), path,
                          QStringLiteral("byte position %1 is before the start").arg(position));
        return false;
    }
    if (FileOps::isReadOnly(path)) {
        if (error)
            *error =
                fail(QStringLiteral("write to"), path, QStringLiteral("the file is read-only"));
        return false;
    }
    // The write goes into the file's inode: a dry run's replica must not share it.
    if (!FileHook::detach(path, error))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        if (error)
            *error = fail(QStringLiteral("open"), path, FileOps::reasonOf(file));
        return false;
    }
    const qint64 offset = position - 1;
    QByteArray before;
    if (FileHook::recording() && file.seek(qMin(offset, file.size())))
        before = file.size() > offset ? file.read(bytes.size()) : QByteArray();
    if (file.size() < offset) {
        // Fill the gap explicitly: a seek past the end is not portable as a zero fill.
        file.seek(file.size());
        const QByteArray zeros(offset - file.size(), '\0');
        QString reason;
        if (!FileOps::writeFully(file, zeros.constData(), zeros.size(), &reason)) {
            if (error)
                *error = fail(QStringLiteral("write to"), path, reason);
            return false;
        }
    }
    QString reason;
    if (!file.seek(offset) ||
        !FileOps::writeFully(file, bytes.constData(), bytes.size(), &reason) ||
        !FileOps::flushFully(file, &reason)) {
        if (error)
            *error = fail(QStringLiteral("write to"), path,
                          reason.isEmpty() ? FileOps::reasonOf(file) : reason);
        return false;
    }
    QList<FileHook::PatchedByte> patched;
    if (FileHook::recording())
        for (qsizetype i = 0; i < bytes.size(); ++i)
            patched.append({position + i, i < before.size() ? int(quint8(before.at(i))) : -1,
                            int(quint8(bytes.at(i)))});
    FileHook::patched(path, patched);
    return true;
}

bool BytePatch::readByte(const QString &path, qint64 position, unsigned char *value,
                         QString *error) {
    QByteArray byte;
    if (!readBytes(path, position, 1, &byte, error))
        return false;
    *value = static_cast<unsigned char>(byte.at(0));
    return true;
}

bool BytePatch::overwriteBytes(const QString &path, qint64 position, const QByteArray &bytes,
                               QString *error) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        if (error)
            *error = fail(QStringLiteral("write to"), path, QStringLiteral("it does not exist"));
        return false;
    }
    const qint64 end = position - 1 + bytes.size();
    if (info.size() < end) {
        if (error)
            *error = fail(QStringLiteral("write to"), path,
                          QStringLiteral("it is %1 long and has no byte at position %2")
                              .arg(info.size() == 1 ? QStringLiteral("1 byte")
                                                    : QStringLiteral("%1 bytes").arg(info.size()))
                              .arg(end));
        return false;
    }
    return writeBytes(path, position, bytes, error);
}

bool BytePatch::readBytes(const QString &path, qint64 position, qint64 count, QByteArray *bytes,
                          QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error =
                fail(QStringLiteral("read"), path,
                     file.exists() ? FileOps::reasonOf(file) : QStringLiteral("it does not exist"));
        return false;
    }
    if (position < 1 || file.size() < position - 1 + count) {
        if (error)
            *error = fail(QStringLiteral("read"), path,
                          QStringLiteral("it is %1 bytes long and has no byte at position %2")
                              .arg(file.size())
                              .arg(position - 1 + count));
        return false;
    }
    file.seek(position - 1);
    *bytes = file.read(count);
    if (bytes->size() != count) {
        if (error)
            *error = fail(QStringLiteral("read"), path, FileOps::reasonOf(file));
        return false;
    }
    return true;
}

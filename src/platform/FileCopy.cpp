// SPDX-License-Identifier: GPL-3.0-or-later
// The portable part of `FileCopy`: the copy's course around whatever way copies the bytes,
// and the copy through Qt alone. The ways of the system are in FileCopy_linux.cpp (or
// FileCopy_portable.cpp where there are none).
#include "FileCopy.h"

#include "FileParts.h"
#include "NativePath.h"

#include "CrashPoint.h"
#include "FileHook.h"
#include "FileOps.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <filesystem>
#include <system_error>

using namespace FileParts;

// The temporary name is hidden, and unique to this process and call so that two copies never
// race for it; the exclusive create guards against a stray file of a crashed run.
QString FileParts::temporaryBeside(const QString &to) {
    static std::atomic<quint64> counter{0};
    static const qint64 pid = QCoreApplication::applicationPid();
    qsizetype cut = to.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = qMax(cut, to.lastIndexOf(QLatin1Char('\\')));
#endif
    const QString folder = to.left(cut + 1);
    return folder + QStringLiteral(".vek-copy-%1-%2.tmp").arg(pid).arg(counter.fetch_add(1));
}

bool FileParts::copyPortable(const QString &from, const QString &to, QString *error,
                             bool normalSource) {
    const QFileInfo target(to);
    if (target.isDir())
        return fail(error, QStringLiteral("copy over"), to, kFolderInTheWay);
    if (FileOps::isReadOnly(to))
        return fail(error, QStringLiteral("copy over"), to, kReadOnly);

    QFile in(from);
    if (QFileInfo(from).isDir())
        return fail(error, QStringLiteral("read"), from, kSourceIsFolder);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("read"), from,
                    in.exists() ? FileOps::reasonOf(in) : QStringLiteral("it does not exist"));

    QFile out;
    for (int attempt = 0; attempt < 100 && !out.isOpen(); ++attempt) {
        out.setFileName(temporaryBeside(to));
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !out.exists())
            return fail(error, QStringLiteral("write"), to, FileOps::reasonOf(out));
    }
    if (!out.isOpen())
        return fail(error, QStringLiteral("write"), to, FileOps::reasonOf(out));
    const auto abandon = [&](const QString &reason) {
        out.close();
        out.remove();
        return failCopy(error, from, to, reason);
    };
    CrashPoint::inside();

    constexpr qint64 kBlock = 1 << 20;
    QByteArray buffer(kBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), kBlock);
        if (n < 0)
            return abandon(FileOps::reasonOf(in));
        if (n == 0)
            break;
        QString reason;
        if (!FileOps::writeFully(out, buffer.constData(), n, &reason))
            return abandon(reason);
    }
    // QFile buffers: a full disk shows at the flush, not at the write.
    QString reason;
    if (!FileOps::flushFully(out, &reason))
        return abandon(reason);
    CrashPoint::inside();
    out.close();
    if (out.error() != QFileDevice::NoError)
        return abandon(FileOps::reasonOf(out));
    // The temporary file is the copy's own: no change of a player's file to report.
    if (!QFile::setPermissions(out.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ReadGroup | QFileDevice::ReadOther))
        return abandon(QStringLiteral("its attributes could not be set"));

    // std::filesystem::rename replaces an existing target on every platform, which
    // QFile::rename does not.
    std::error_code ec;
    std::filesystem::rename(nativePath(out.fileName()), nativePath(to), ec);
    if (ec) {
        out.remove();
        return fail(error, QStringLiteral("write"), to, QString::fromStdString(ec.message()));
    }
    if (normalSource)
        (void)FileOps::setNormal(from);
    return true;
}

bool FileCopy::copyReplace(const QString &from, const QString &to, QString *error,
                           bool normalSource, Way way, Ahead *ahead, bool absent) {
    if (!(absent ? FileHook::mayCreate(to, error) : FileHook::mayChange(to, error)))
        return false;
    const bool existed = FileHook::recording() && QFileInfo::exists(to);
    Seen seen;
    const bool copied = way == Way::Portable
                            ? copyPortable(from, to, error, normalSource)
                            : copySystem(from, to, error, normalSource, way, ahead,
                                         FileHook::copyObserved() ? &seen : nullptr);
    if (copied)
        FileHook::copied(from, to, existed, seen.source.exists ? &seen.source : nullptr,
                         seen.copy.exists ? &seen.copy : nullptr);
    return copied;
}

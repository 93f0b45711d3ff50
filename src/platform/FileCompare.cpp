// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCompare.h"

#include "FileOps.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstring>

namespace {

FileCompare::Result failed(QString *error, const QFile &file) {
    if (error)
        *error = QStringLiteral("Could not read \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(file.fileName()), FileOps::reasonOf(file));
    return FileCompare::Result::Failed;
}

} // namespace

FileCompare::Result FileCompare::sameBytes(const QString &a, const QString &b, QString *error) {
    // Unbuffered: each read goes straight to the system into our own block, with no second
    // copy through a device buffer.
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failed(error, first);
    if (!second.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return failed(error, second);
    if (first.size() != second.size())
        return Result::Differs;
    // Large enough that the system reads ahead in big steps, small enough to stay in cache.
    constexpr qint64 kBlock = 256 * 1024;
    static thread_local QByteArray blockA(kBlock, Qt::Uninitialized);
    static thread_local QByteArray blockB(kBlock, Qt::Uninitialized);
    for (;;) {
        const qint64 gotA = first.read(blockA.data(), kBlock);
        if (gotA < 0)
            return failed(error, first);
        qint64 gotB = 0;
        // A short read of one file is no difference: read on until the block is as long.
        while (gotB < gotA) {
            const qint64 n = second.read(blockB.data() + gotB, gotA - gotB);
            if (n < 0)
                return failed(error, second);
            if (n == 0)
                break;
            gotB += n;
        }
        if (gotB != gotA)
            return Result::Differs;
        if (gotA == 0)
            return second.read(blockB.data(), 1) == 0 ? Result::Same : Result::Differs;
        if (std::memcmp(blockA.constData(), blockB.constData(), size_t(gotA)) != 0)
            return Result::Differs;
    }
}

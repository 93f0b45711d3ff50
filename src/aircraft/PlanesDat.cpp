// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlanesDat.h"

#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

const QStringList PlanesDat::TypeFlagCaptions = {
    QStringLiteral("Fighter"),     QStringLiteral("Bomber"),       QStringLiteral("Flyable"),
    QStringLiteral("Jet"),         QStringLiteral("Twin engined"), QStringLiteral("Four engined"),
    QStringLiteral("Rocket (V1)"), QStringLiteral("German"),
};

const QStringList PlanesDat::NationGearFlagCaptions = {
    QStringLiteral("British"),       QStringLiteral("American"),   QStringLiteral("Inline engine"),
    QStringLiteral("Not used"),      QStringLiteral("Gear Back"),  QStringLiteral("Gear Inwards"),
    QStringLiteral("Gear Outwards"), QStringLiteral("Nose wheel"),
};

namespace {

QString describe(const QString &action, const QString &path, const QString &reason) {
    return QStringLiteral("Could not %1 \"%2\": %3.")
        .arg(action, QDir::toNativeSeparators(path), reason);
}

bool refuse(QString *error, const QString &action, const QString &path, const QString &reason) {
    if (error)
        *error = describe(action, path, reason);
    return false;
}

// The game's file under whatever case it has on disk; a name that is not there stays as
// given, and the open below then reports it missing rather than creating it.
QString present(const QString &path) {
    const QFileInfo fi(path);
    return FileList::resolve(fi.path(), fi.fileName());
}

QString slotReason(int slot) {
    return QStringLiteral("there is no aircraft slot %1 (slots are 0 to %2)")
        .arg(slot)
        .arg(PlanesDat::SlotCount - 1);
}

QString shortReason(qint64 size, qint64 needed) {
    return QStringLiteral("the file holds %1 bytes, too few for byte position %2")
        .arg(size)
        .arg(needed);
}

// Reads `count` bytes from 1-based `position`, refusing a file that ends before them.
bool readAt(const QString &path, qint64 position, qint64 count, QByteArray *bytes, QString *error) {
    const QString file = present(path);
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return refuse(error, QStringLiteral("read"), file,
                      f.exists() ? FileOps::reasonOf(f) : QStringLiteral("it does not exist"));
    const qint64 last = position + count - 1;
    if (f.size() < last)
        return refuse(error, QStringLiteral("read"), file, shortReason(f.size(), last));
    if (!f.seek(position - 1))
        return refuse(error, QStringLiteral("read"), file, FileOps::reasonOf(f));
    *bytes = f.read(count);
    if (bytes->size() != count)
        return refuse(error, QStringLiteral("read"), file, FileOps::reasonOf(f));
    return true;
}

// Writes the bytes in place with one open of the file. Unlike BytePatch this never grows the
// file: the length is checked on the open handle, for every byte, before the first write.
// The file is opened read-write because a write-only open may truncate it.
bool patch(const QString &path, const QList<PlanesDat::PlaneByte> &bytes, QString *error) {
    const QString file = present(path);
    if (!QFileInfo(file).isFile())
        return refuse(error, QStringLiteral("write to"), file, QStringLiteral("it does not exist"));
    if (FileOps::isReadOnly(file))
        return refuse(error, QStringLiteral("write to"), file,
                      QStringLiteral("the file is read-only"));
    // The write goes into the file's inode: a dry run's replica must not share it.
    if (!FileHook::detach(file, error))
        return false;
    QFile f(file);
    if (!f.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return refuse(error, QStringLiteral("open"), file, FileOps::reasonOf(f));
    qint64 last = 0;
    for (const PlanesDat::PlaneByte &b : bytes) {
        if (b.first < 1)
            return refuse(error, QStringLiteral("write to"), file,
                          QStringLiteral("byte position %1 is before the start").arg(b.first));
        last = std::max(last, b.first);
    }
    if (f.size() < last)
        return refuse(error, QStringLiteral("write to"), file, shortReason(f.size(), last));
    QList<FileHook::PatchedByte> patched;
    for (const PlanesDat::PlaneByte &b : bytes) {
        char old = 0;
        if (FileHook::recording() && f.seek(b.first - 1) && f.getChar(&old))
            patched.append({b.first, int(quint8(old)), int(b.second)});
        if (!f.seek(b.first - 1) || !f.putChar(static_cast<char>(b.second)))
            return refuse(error, QStringLiteral("write to"), file, FileOps::reasonOf(f));
    }
    QString reason;
    if (!FileOps::flushFully(f, &reason))
        return refuse(error, QStringLiteral("write to"), file, reason);
    FileHook::patched(file, patched);
    return true;
}

} // namespace

bool PlanesDat::readSpan(const QString &path, int slot, QList<PlaneByte> *span, QString *error) {
    if (!validSlot(slot))
        return refuse(error, QStringLiteral("read"), path, slotReason(slot));
    QByteArray bytes;
    if (!readAt(path, spanBase(slot) + 1, SpanSize, &bytes, error))
        return false;
    span->clear();
    span->reserve(SpanSize);
    for (int k = 0; k < SpanSize; ++k)
        span->append({spanBase(slot) + 1 + k, static_cast<quint8>(bytes.at(k))});
    return true;
}

bool PlanesDat::writeSpan(const QString &path, int slot, const QByteArray &span, QString *error) {
    if (!validSlot(slot))
        return refuse(error, QStringLiteral("write to"), path, slotReason(slot));
    if (span.size() != SpanSize)
        return refuse(
            error, QStringLiteral("write to"), path,
            QStringLiteral("a record span takes %1 bytes, not %2").arg(SpanSize).arg(span.size()));
    QList<PlaneByte> bytes;
    bytes.reserve(SpanSize);
    for (int k = 0; k < SpanSize; ++k)
        bytes.append({spanBase(slot) + 1 + k, static_cast<quint8>(span.at(k))});
    return patch(path, bytes, error);
}

bool PlanesDat::writeBytes(const QString &path, const QList<PlaneByte> &bytes, QString *error) {
    return patch(path, bytes, error);
}

bool PlanesDat::readFuel(const QString &path, int slot, int *fuel, QString *error) {
    if (!validSlot(slot))
        return refuse(error, QStringLiteral("read"), path, slotReason(slot));
    QByteArray bytes;
    if (!readAt(path, fuelPosition(slot), 2, &bytes, error))
        return false;
    *fuel = static_cast<quint8>(bytes.at(0)) + 256 * static_cast<quint8>(bytes.at(1));
    return true;
}

bool PlanesDat::writeFuel(const QString &path, int slot, int fuel, QString *error) {
    if (!validSlot(slot))
        return refuse(error, QStringLiteral("write to"), path, slotReason(slot));
    if (fuel < 0 || fuel > MaxFuel)
        return refuse(
            error, QStringLiteral("write to"), path,
            QStringLiteral("a fuel load of %1 does not fit (0 to %2)").arg(fuel).arg(MaxFuel));
    const qint64 at = fuelPosition(slot);
    return patch(path,
                 {{at, static_cast<quint8>(fuel % 256)}, {at + 1, static_cast<quint8>(fuel / 256)}},
                 error);
}

std::array<bool, 8> PlanesDat::flagBits(quint8 flags) {
    std::array<bool, 8> bits{};
    for (int i = 0; i < 8; ++i)
        bits[i] = (flags >> i) & 1;
    return bits;
}

quint8 PlanesDat::flagByte(const std::array<bool, 8> &bits) {
    int flags = 0;
    for (int i = 0; i < 8; ++i)
        if (bits[i])
            flags |= 1 << i;
    return static_cast<quint8>(flags);
}

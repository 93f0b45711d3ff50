// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameProgram.h"

#include "FileList.h"
#include "FileOps.h"
#include "NightSwitch.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

namespace {

const QString kExe = QStringLiteral("eaw.exe");
const QString kAside = QStringLiteral("eaw.exe.before-update");
const QString kReplaced = QStringLiteral("eaw.exe.replaced");

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

bool unreadable(const QFile &file, QString *error) {
    if (error)
        *error = QStringLiteral("Could not read \"%1\": %2.")
                     .arg(native(file.fileName()), FileOps::reasonOf(file));
    return false;
}

// Reads until `size` bytes are in or the file ends; -1 on a read error.
qint64 readFull(QFile &file, char *data, qint64 size) {
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(data + got, size - got);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        got += n;
    }
    return got;
}

constexpr int kVersions = int(std::size(NightSwitch::Versions));

// The two bytes at each version's offset; empty where the file ends before them.
using Pairs = std::array<QByteArray, kVersions>;

bool readPairs(QFile &file, Pairs *pairs) {
    const qint64 size = file.size();
    for (int k = 0; k < kVersions; ++k) {
        const qint64 at = NightSwitch::Versions[k].offset;
        QByteArray &pair = (*pairs)[k];
        pair.clear();
        if (at + 2 > size)
            continue;
        pair.resize(2);
        if (!file.seek(at) || readFull(file, pair.data(), 2) != 2)
            return false;
    }
    return file.seek(0);
}

QByteArray dayOf(const QByteArray &pair) {
    return pair == NightSwitch::NightBytes ? NightSwitch::NormalBytes : pair;
}

bool holdsNight(const Pairs &pairs) {
    return std::any_of(pairs.begin(), pairs.end(),
                       [](const QByteArray &p) { return p == NightSwitch::NightBytes; });
}

bool holdsVersion(const Pairs &pairs) {
    return std::any_of(pairs.begin(), pairs.end(), [](const QByteArray &p) {
        return p == NightSwitch::NightBytes || p == NightSwitch::NormalBytes;
    });
}

bool isPairByte(qint64 position) {
    for (const NightSwitch::Version &v : NightSwitch::Versions) {
        if (position == v.offset || position == v.offset + 1)
            return true;
    }
    return false;
}

// What makes the game's program no program at all, or empty when it may be one. Holding no
// version's bytes counts only when the copy holds some: when neither does, nothing says where
// this game keeps its switch, and the program may well be an update.
QString damageOf(qint64 size, const Pairs &present, const Pairs &original) {
    if (size == 0)
        return QStringLiteral("is empty");
    if (size < NightSwitch::reach())
        return QStringLiteral("is %1 bytes long, too short to hold the night switch's bytes of "
                              "any version (%2 bytes)")
            .arg(size)
            .arg(NightSwitch::reach());
    if (!holdsVersion(present) && holdsVersion(original))
        return QStringLiteral("holds the day or night bytes of none of the night switch's "
                              "versions, which the original copy holds");
    return QString();
}

QString freeName(const QString &mod, const QString &base) {
    const QStringList names = FileList::files(mod, base + QStringLiteral("*"));
    QString name = base;
    for (int n = 2; !FileList::findIn(names, name).isEmpty(); ++n)
        name = base + QStringLiteral("-%1").arg(n);
    return name;
}

} // namespace

bool GameProgram::compare(const QString &present, const QString &original, Comparison *result,
                          QString *error) {
    QFile a(present);
    QFile b(original);
    if (!a.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return unreadable(a, error);
    if (!b.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return unreadable(b, error);
    Pairs pairsA;
    Pairs pairsB;
    if (!readPairs(a, &pairsA))
        return unreadable(a, error);
    if (!readPairs(b, &pairsB))
        return unreadable(b, error);
    *result = Comparison();
    result->night = holdsNight(pairsA);
    // Whatever differs from here on makes another program, unless this one cannot be one.
    const QString damage = damageOf(a.size(), pairsA, pairsB);
    auto other = [&] {
        result->kind = damage.isEmpty() ? Kind::New : Kind::Damaged;
        result->damage = damage;
        return true;
    };
    if (a.size() != b.size())
        return other();
    for (int k = 0; k < kVersions; ++k) {
        if (dayOf(pairsA[k]) != dayOf(pairsB[k]))
            return other();
    }
    // The pairs are settled; every other byte must be the same, and the first that is not
    // ends the reading.
    constexpr qint64 kBlock = 256 * 1024;
    QByteArray blockA(kBlock, Qt::Uninitialized);
    QByteArray blockB(kBlock, Qt::Uninitialized);
    for (qint64 start = 0;; start += kBlock) {
        const qint64 gotA = readFull(a, blockA.data(), kBlock);
        if (gotA < 0)
            return unreadable(a, error);
        const qint64 gotB = readFull(b, blockB.data(), kBlock);
        if (gotB < 0)
            return unreadable(b, error);
        // A file that grew or shrank while read is another program as much as one of
        // another size.
        if (gotA != gotB)
            return other();
        if (gotA == 0)
            break;
        if (std::memcmp(blockA.constData(), blockB.constData(), size_t(gotA)) == 0)
            continue;
        for (qint64 i = 0; i < gotA; ++i) {
            if (blockA.at(i) != blockB.at(i) && !isPairByte(start + i))
                return other();
        }
    }
    result->kind = result->night ? Kind::NightSwitch : Kind::Same;
    return true;
}

bool GameProgram::copyAsDay(const QString &from, const QString &to, QString *error) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return unreadable(source, error);
    Pairs pairs;
    if (!readPairs(source, &pairs))
        return unreadable(source, error);
    source.close();
    if (!holdsNight(pairs))
        return FileOps::copyReplace(from, to, error);
    // A program is a few MB: read whole once, it takes the day pairs in memory and is
    // written in one step.
    QByteArray bytes;
    if (!FileOps::readAll(from, &bytes, error))
        return false;
    for (const NightSwitch::Version &v : NightSwitch::Versions) {
        if (v.offset + 2 <= bytes.size() && bytes.mid(v.offset, 2) == NightSwitch::NightBytes)
            bytes.replace(v.offset, 2, NightSwitch::NormalBytes);
    }
    return FileOps::writeAtomic(to, bytes, error);
}

QString GameProgram::asideName(const QString &mod) {
    return freeName(mod, kAside);
}

QString GameProgram::replacedName(const QString &mod) {
    return freeName(mod, kReplaced);
}

bool GameProgram::restore(const QString &game, const QString &mod, QString *notice,
                          QString *error) {
    if (notice)
        notice->clear();
    const QString target = FileList::resolve(game, kExe);
    const QString originalName = FileList::find(mod, kExe);
    if (originalName.isEmpty()) {
        if (error)
            *error = QStringLiteral("Could not restore \"%1\": the original copy \"%2\" does not "
                                    "exist.")
                         .arg(native(target), native(FileList::join(mod, kExe)));
        return false;
    }
    const QString original = FileList::join(mod, originalName);
    if (!QFileInfo::exists(target))
        return copyAsDay(original, target, error);
    Comparison found;
    if (!compare(target, original, &found, error))
        return false;
    if (found.kind == Kind::Same)
        return true;
    if (found.kind == Kind::NightSwitch)
        return copyAsDay(original, target, error);
    if (found.kind == Kind::Damaged)
        return putBack(target, original, mod, found.damage, notice, error);
    return takeUpdate(target, original, mod, found.night, notice, error);
}

bool GameProgram::putBack(const QString &target, const QString &original, const QString &mod,
                          const QString &damage, QString *notice, QString *error) {
    const QString why = QStringLiteral("\"%1\" %2, so it is not taken for a game update. ")
                            .arg(native(target), damage);
    // The program found is the player's file: any bytes of it are kept before it is replaced.
    QString kept;
    QString failure;
    if (QFileInfo(target).size() > 0) {
        kept = FileList::join(mod, replacedName(mod));
        if (!FileOps::copyReplace(target, kept, &failure)) {
            if (error)
                *error = why +
                         QStringLiteral("It could not be kept as \"%1\" before the "
                                        "original copy \"%2\" was put back: ")
                             .arg(native(kept), native(original)) +
                         failure + QStringLiteral(" Nothing was changed.");
            return false;
        }
    }
    if (!copyAsDay(original, target, &failure)) {
        if (!kept.isEmpty()) {
            QString ignored;
            FileOps::remove(kept, &ignored);
        }
        if (error)
            *error = why +
                     QStringLiteral("The original copy \"%1\" could not be put back: ")
                         .arg(native(original)) +
                     failure + QStringLiteral(" Nothing was changed.");
        return false;
    }
    if (notice) {
        *notice = why + QStringLiteral("The original copy \"%1\" was put back in its place")
                            .arg(native(original));
        *notice += kept.isEmpty()
                       ? QStringLiteral("; the file held nothing to keep.")
                       : QStringLiteral("; the program found is kept as \"%1\".").arg(native(kept));
    }
    return true;
}

bool GameProgram::takeUpdate(const QString &target, const QString &original, const QString &mod,
                             bool night, QString *notice, QString *error) {
    // Another program: the copy is brought up to date, with the day pair wherever the
    // program holds a night pair. The previous copy is copied aside first and the new one
    // written over it in one step, so at every moment the folder holds the previous copy
    // whole under one of its names.
    const QString aside = FileList::join(mod, asideName(mod));
    const QString why =
        QStringLiteral("\"%1\" differs from the original copy \"%2\" by more than the night "
                       "switch changes, so it is taken for a game update. ")
            .arg(native(target), native(original));
    QString failure;
    bool made = copyAsDay(original, aside, &failure);
    if (made && !copyAsDay(target, original, &failure)) {
        made = false;
        QString ignored;
        FileOps::remove(aside, &ignored);
    }
    if (!made) {
        if (error)
            *error = why +
                     QStringLiteral("It is left as it is, but could not be made the new original "
                                    "copy: ") +
                     failure + QStringLiteral(" The previous original copy is unchanged.");
        return false;
    }
    const QString told =
        why + QStringLiteral("It is now the original copy the selector puts back at every start "
                             "and exit; the previous original copy is kept as \"%1\".")
                  .arg(native(aside));
    if (!night) {
        if (notice)
            *notice = told;
        return true;
    }
    // The night switch lasts one run for the new program as for the old one.
    const bool day = FileOps::copyReplace(original, target, &failure);
    if (notice)
        *notice = told + (day ? QStringLiteral(" Its night switch was put back to day, in the "
                                               "copy and in the game folder.")
                              : QStringLiteral(" The copy holds the day setting."));
    if (!day && error)
        *error = QStringLiteral("Could not put \"%1\" back to day missions: ").arg(native(target)) +
                 failure +
                 QStringLiteral(" It still holds the night setting until the next start.");
    return day;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameProgram.h"

#include "FileList.h"
#include "FileOps.h"
#include "NightSwitch.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cstring>

namespace {

const QString kExe = QStringLiteral("eaw.exe");
const QString kAside = QStringLiteral("eaw.exe.before-update");

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

bool isSwitchPair(const QByteArray &pair) {
    return pair == NightSwitch::NormalBytes || pair == NightSwitch::NightBytes;
}

} // namespace

bool GameProgram::compare(const QString &present, const QString &original, Kind *kind,
                          QString *error) {
    QFile a(present);
    QFile b(original);
    if (!a.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return unreadable(a, error);
    if (!b.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return unreadable(b, error);
    if (a.size() != b.size()) {
        *kind = Kind::New;
        return true;
    }
    // The switch changes two bytes; a third difference settles it, so reading stops there.
    constexpr qsizetype kMost = 2;
    QList<qint64> at;
    QByteArray presentBytes;
    QByteArray originalBytes;
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
        if (gotA != gotB) {
            *kind = Kind::New;
            return true;
        }
        if (gotA == 0)
            break;
        if (std::memcmp(blockA.constData(), blockB.constData(), size_t(gotA)) == 0)
            continue;
        for (qint64 i = 0; i < gotA; ++i) {
            if (blockA.at(i) == blockB.at(i))
                continue;
            if (at.size() == kMost) {
                *kind = Kind::New;
                return true;
            }
            at << start + i;
            presentBytes += blockA.at(i);
            originalBytes += blockB.at(i);
        }
    }
    if (at.isEmpty()) {
        *kind = Kind::Same;
        return true;
    }
    // Both bytes of a version's pair differ whenever the switch turned it (day and night have
    // no byte in common), and each side holds one of the two settings.
    *kind = Kind::New;
    if (at.size() != kMost || !isSwitchPair(presentBytes) || !isSwitchPair(originalBytes))
        return true;
    for (const NightSwitch::Version &v : NightSwitch::Versions) {
        if (at.at(0) == v.offset && at.at(1) == v.offset + 1)
            *kind = Kind::NightSwitch;
    }
    return true;
}

QString GameProgram::asideName(const QString &mod) {
    const QStringList names = FileList::files(mod, kAside + QStringLiteral("*"));
    QString name = kAside;
    for (int n = 2; !FileList::findIn(names, name).isEmpty(); ++n)
        name = kAside + QStringLiteral("-%1").arg(n);
    return name;
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
        return FileOps::copyReplace(original, target, error);
    Kind kind = Kind::Same;
    if (!compare(target, original, &kind, error))
        return false;
    if (kind == Kind::Same)
        return true;
    if (kind == Kind::NightSwitch)
        return FileOps::copyReplace(original, target, error);

    // Another program: the copy is brought up to date and the game's program left alone. The
    // previous copy is copied aside first and the new one written over it in one step, so at
    // every moment the folder holds the previous copy whole under one of its names.
    const QString aside = FileList::join(mod, asideName(mod));
    const QString why =
        QStringLiteral("\"%1\" differs from the original copy \"%2\" by more than the night "
                       "switch changes, so it is taken for a game update and left as it is. ")
            .arg(native(target), native(original));
    QString failure;
    bool made = FileOps::copyReplace(original, aside, &failure);
    if (made && !FileOps::copyReplace(target, original, &failure)) {
        made = false;
        QString ignored;
        FileOps::remove(aside, &ignored);
    }
    if (!made) {
        if (error)
            *error = why + QStringLiteral("It could not be made the new original copy: ") +
                     failure + QStringLiteral(" The previous original copy is unchanged.");
        return false;
    }
    if (notice)
        *notice = why + QStringLiteral("It is now the original copy the selector puts back at "
                                       "every start and exit; the previous original copy is "
                                       "kept as \"%1\".")
                            .arg(native(aside));
    return true;
}

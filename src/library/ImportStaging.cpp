// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportStaging.h"

#include "ArchiveLayout.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileSync.h"
#include "FolderScan.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRandomGenerator>

#include <algorithm>

namespace {
const QString PlanFile = QStringLiteral("plan");
const QString Made = QStringLiteral("made");

/// A name the plan gives is a path inside the VEK folder, or it is not acted on: the plan is a
/// file in a folder players copy and share.
bool inside(const QString &place) {
    QString path;
    QString reason;
    return ArchiveLayout::entryPath(place, &path, &reason) && path == place;
}

const QString FileLine = QStringLiteral("file");
const QString FolderLine = QStringLiteral("folder");
const QString WholeLine = QStringLiteral("whole");

bool present(const QString &path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

/// What a folder holds: each file's and folder's path inside it ("/" between names) with the
/// file's size (-1 for a folder). Anything else in it (a link) makes it `false`.
bool holdingsOf(const QString &folder, QMap<QString, qint64> *holds) {
    holds->clear();
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        const QString path = info.filePath().mid(folder.size() + 1);
        if (info.isSymLink() || !(info.isDir() || info.isFile()))
            return false;
        holds->insert(path, info.isDir() ? -1 : info.size());
    }
    return true;
}

/// Whether no step of `place` (relative to `modFolder`) is a symbolic link: a link would
/// take a rename or a removal out of the VEK folder.
bool noLinkOn(const QString &modFolder, const QString &place) {
    QString path = modFolder;
    for (const QString &name : place.split(QLatin1Char('/'))) {
        path += QLatin1Char('/') + name;
        const QFileInfo info(path);
        if (info.isSymLink())
            return false;
        if (!info.exists())
            return true;
    }
    return true;
}

QString asideOf(const QString &staging, int index) {
    return staging + QStringLiteral("/old-%1").arg(index);
}

bool renameFolder(const QString &from, const QString &to, QString *error) {
    if (!FileHook::mayChange(from, error) || !FileHook::mayChange(to, error))
        return false;
    if (!QDir().rename(from, to)) {
        *error = QStringLiteral("Could not rename the folder \"%1\" to \"%2\".")
                     .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to));
        return false;
    }
    // A folder put in place or set aside is a step the crash test must stop at.
    FileHook::renamed(from, to);
    return true;
}

bool isFolder(const QString &path) {
    return QFileInfo(path).isDir();
}

bool writePlain(const QString &path, const QByteArray &bytes, QString *error) {
    if (!FileHook::mayChange(path, error))
        return false;
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        !FileOps::writeFully(file, bytes.constData(), bytes.size(), &reason) ||
        !FileOps::flushFully(file, &reason)) {
        *error = QStringLiteral("Could not write \"%1\": %2.")
                     .arg(QDir::toNativeSeparators(path),
                          reason.isEmpty() ? FileOps::reasonOf(file) : reason);
        return false;
    }
    file.close();
    FileHook::rewritten(path);
    return true;
}

} // namespace

ImportStaging::~ImportStaging() {
    discard();
}

bool ImportStaging::create(QString *error) {
    const QString name =
        Prefix + QString::number(QRandomGenerator::global()->generate64(), 36).left(8);
    const QString path = mod_ + QLatin1Char('/') + name;
    if (!FileHook::mayChange(path, error))
        return false;
    if (!QDir(mod_).mkdir(name)) {
        *error = QStringLiteral("Could not create the folder \"%1\" in the VEK folder.")
                     .arg(QDir::toNativeSeparators(path));
        return false;
    }
    FileHook::folderCreated(path);
    folder_ = path;
    return true;
}

QString ImportStaging::unpackFolder(int index) const {
    return folder_ + QLatin1Char('/') + QString::number(index);
}

bool ImportStaging::commit(const QStringList &places, const QStringList &replaced, QString *error) {
    // A skin's folder of the VEK folder (Skinfolder) is made when the first skin comes; the
    // plan says so before it is made, so an undo takes it away again.
    QStringList made;
    for (const QString &place : places) {
        const QString parent = place.section(QLatin1Char('/'), 0, -2);
        if (!parent.isEmpty() && !isFolder(mod_ + QLatin1Char('/') + parent) &&
            !made.contains(parent))
            made << parent;
    }
    QString plan;
    for (const QString &m : made.isEmpty() ? QStringList{QString()} : made)
        plan += Made + QLatin1Char('\t') + m + QStringLiteral("\r\n");
    // What each folder holds goes into the plan too: an undo takes a folder out of its place
    // only when it holds just that, so a plan can never take away a folder of the player's.
    for (qsizetype i = 0; i < places.size(); ++i) {
        plan += QString::number(i) + QLatin1Char('\t') + places.at(i) + QLatin1Char('\t') +
                replaced.at(i) + QStringLiteral("\r\n");
        // A single file (an autoscript) is known by its size.
        if (const QFileInfo whole(unpackFolder(int(i))); whole.isFile()) {
            plan += WholeLine + QLatin1Char('\t') + QString::number(i) + QLatin1Char('\t') +
                    QString::number(whole.size()) + QStringLiteral("\r\n");
            continue;
        }
        QMap<QString, qint64> holds;
        holdingsOf(unpackFolder(int(i)), &holds);
        for (auto it = holds.cbegin(); it != holds.cend(); ++it)
            plan += (it.value() < 0
                         ? FolderLine + QLatin1Char('\t') + QString::number(i) + QLatin1Char('\t') +
                               it.key()
                         : FileLine + QLatin1Char('\t') + QString::number(i) + QLatin1Char('\t') +
                               it.key() + QLatin1Char('\t') + QString::number(it.value())) +
                    QStringLiteral("\r\n");
    }
    // Where a folder of the player's is set aside, the plan is what brings it back, also
    // after a power cut: it is synced then. Otherwise the unpacked bytes are still in the
    // page cache, and a sync of the plan would write them all out first (ext4 orders them
    // before it), for a file only a crashed process needs.
    const bool replacing = std::any_of(replaced.cbegin(), replaced.cend(),
                                       [](const QString &r) { return !r.isEmpty(); });
    const QString planPath = folder_ + QLatin1Char('/') + PlanFile;
    bool ok = replacing ? FileOps::writeAtomic(planPath, plan.toUtf8(), error)
                        : writePlain(planPath, plan.toUtf8(), error);
    for (const QString &m : std::as_const(made)) {
        const QString path = mod_ + QLatin1Char('/') + m;
        ok = ok && FileHook::mayChange(path, error);
        if (ok && !QDir(mod_).mkdir(m)) {
            *error = QStringLiteral("Could not create the folder \"%1\".")
                         .arg(QDir::toNativeSeparators(path));
            ok = false;
        }
        if (ok)
            FileHook::folderCreated(path);
    }
    for (qsizetype i = 0; ok && i < places.size(); ++i) {
        const int n = int(i);
        ok = (replaced.at(i).isEmpty() ||
              renameFolder(mod_ + QLatin1Char('/') + replaced.at(i), asideOf(folder_, n), error)) &&
             renameFolder(unpackFolder(n), mod_ + QLatin1Char('/') + places.at(i), error);
    }
    // The new folders' bytes are on the disk before a folder they replace is removed: the old
    // one is the player's, the new one only a copy of the archive. When that cannot be made
    // sure, the player's folders go back to their places and nothing is deleted.
    const bool synced = !ok || !replacing || FileSync::syncFileSystem(mod_, error);
    if (!ok || !synced) {
        QString undoError;
        if (!undo(mod_, folder_, &undoError))
            *error += QLatin1Char(' ') + undoError;
        else if (!synced)
            *error += QStringLiteral(" The folders it was to replace are back as they were.");
        folder_.clear();
        return false;
    }
    discard();
    return true;
}

void ImportStaging::discard() {
    if (folder_.isEmpty())
        return;
    QString error;
    removeOver(mod_, folder_, &error);
    folder_.clear();
}

bool ImportStaging::removeOver(const QString &modFolder, const QString &staging, QString *error) {
    QString over = staging;
    const QString name = QFileInfo(staging).fileName();
    if (name.startsWith(Prefix)) {
        over = modFolder + QLatin1Char('/') + Over + name.mid(Prefix.size());
        if (!renameFolder(staging, over, error))
            return false;
    }
    if (!FileHook::mayChange(over, error))
        return false;
    if (!QDir(over).removeRecursively()) {
        *error = QStringLiteral("Could not remove the folder \"%1\".")
                     .arg(QDir::toNativeSeparators(over));
        return false;
    }
    FileHook::deleted(over);
    return true;
}

bool ImportStaging::undo(const QString &modFolder, const QString &staging, QString *error) {
    const QString shown = QDir::toNativeSeparators(staging);
    QByteArray bytes;
    QString readError;
    // Without a plan no folder has moved yet: only the hidden folder goes.
    if (FileOps::readAll(staging + QLatin1Char('/') + PlanFile, &bytes, &readError)) {
        struct Folder {
            int index;
            QString place;
            QString replaced;
            QMap<QString, qint64> holds;
            qint64 whole = -1; ///< a single file's size; -1 for a folder
        };
        QStringList made;
        QList<Folder> folders;
        QHash<int, qsizetype> byIndex;
        bool readable = true;
        for (const QByteArray &line : bytes.split('\n')) {
            QString text = QString::fromUtf8(line);
            if (text.endsWith(QLatin1Char('\r')))
                text.chop(1);
            if (text.isEmpty())
                continue;
            const QStringList fields = text.split(QLatin1Char('\t'));
            bool number = false;
            const int index = fields.value(0).toInt(&number);
            bool ofIndex = false;
            const int of = fields.value(1).toInt(&ofIndex);
            bool sized = false;
            const qint64 size = fields.value(3).toLongLong(&sized);
            if (fields.size() == 2 && fields.at(0) == Made &&
                (fields.at(1).isEmpty() || inside(fields.at(1)))) {
                if (!fields.at(1).isEmpty())
                    made << fields.at(1);
            } else if (fields.size() == 3 && number && index >= 0 && !byIndex.contains(index) &&
                       inside(fields.at(1)) && (fields.at(2).isEmpty() || inside(fields.at(2)))) {
                byIndex.insert(index, folders.size());
                folders.append({index, fields.at(1), fields.at(2), {}, -1});
            } else if (fields.size() == 3 && fields.at(0) == WholeLine && ofIndex &&
                       byIndex.contains(of) && fields.at(2).toLongLong(&sized) >= 0 && sized) {
                folders[byIndex.value(of)].whole = fields.at(2).toLongLong();
            } else if (ofIndex && byIndex.contains(of) && inside(fields.value(2)) &&
                       ((fields.size() == 3 && fields.at(0) == FolderLine) ||
                        (fields.size() == 4 && fields.at(0) == FileLine && sized && size >= 0))) {
                folders[byIndex.value(of)].holds.insert(fields.at(2),
                                                        fields.size() == 3 ? -1 : size);
            } else {
                readable = false;
                break;
            }
        }
        if (!readable) {
            // Moving folders on a plan misread could take the player's own folder out:
            // better leave everything for the player to see.
            *error = QStringLiteral("The folder \"%1\" that an import cut short left in the "
                                    "VEK folder holds a plan that cannot be read; it was "
                                    "left as it is.")
                         .arg(shown);
            return false;
        }
        // Every place the plan names is checked before anything moves: one that a link takes
        // out of the VEK folder, or a folder that does not hold what the import put there (a
        // folder of the player's the plan names), and nothing is undone.
        QStringList outside;
        QStringList notOurs;
        for (const Folder &f : std::as_const(folders)) {
            for (const QString &place : {f.place, f.replaced})
                if (!place.isEmpty() && !noLinkOn(modFolder, place))
                    outside << place;
            const QString unpacked = staging + QLatin1Char('/') + QString::number(f.index);
            const QString aside = asideOf(staging, f.index);
            if (QFileInfo(unpacked).isSymLink() || QFileInfo(aside).isSymLink()) {
                outside << QFileInfo(QFileInfo(unpacked).isSymLink() ? unpacked : aside).fileName();
                continue;
            }
            const QFileInfo at(modFolder + QLatin1Char('/') + f.place);
            const bool taken = !present(unpacked) && present(at.filePath());
            QMap<QString, qint64> holds;
            const bool ours = f.whole >= 0
                                  ? at.isFile() && !at.isSymLink() && at.size() == f.whole
                                  : at.isDir() && !at.isSymLink() &&
                                        holdingsOf(at.filePath(), &holds) && holds == f.holds;
            if (taken && !ours)
                notOurs << f.place;
            // A folder set aside comes back only to a place that is free by then.
            else if (!taken && present(aside) && present(at.filePath()))
                notOurs << f.place;
        }
        for (const QString &m : std::as_const(made))
            if (!noLinkOn(modFolder, m))
                outside << m;
        if (!outside.isEmpty()) {
            *error = QStringLiteral("The folder \"%1\" that an import cut short left in the VEK "
                                    "folder holds a plan that names \"%2\", which a link takes "
                                    "out of the VEK folder; nothing was undone, and it was left as "
                                    "it is.")
                         .arg(shown, QDir::toNativeSeparators(outside.first()));
            return false;
        }
        if (!notOurs.isEmpty()) {
            *error =
                QStringLiteral("The folder \"%1\" that an import cut short left in the VEK "
                               "folder names \"%2\", which does not hold what the import "
                               "put there; nothing was undone, and both were left as they "
                               "are.")
                    .arg(shown, QDir::toNativeSeparators(notOurs.join(QStringLiteral("\", \""))));
            return false;
        }
        // Back to front: the last folder put in place goes first.
        for (qsizetype i = folders.size() - 1; i >= 0; --i) {
            const Folder &f = folders.at(i);
            const QString unpacked = staging + QLatin1Char('/') + QString::number(f.index);
            // Gone from the hidden folder: it was put in place, and goes back.
            if (!present(unpacked) && present(modFolder + QLatin1Char('/') + f.place) &&
                !renameFolder(modFolder + QLatin1Char('/') + f.place, unpacked, error))
                return false;
            if (present(asideOf(staging, f.index)) &&
                !renameFolder(asideOf(staging, f.index), modFolder + QLatin1Char('/') + f.replaced,
                              error))
                return false;
        }
        // Made for the import, and empty again: it goes too.
        for (const QString &m : std::as_const(made))
            QDir(modFolder).rmdir(m);
    }
    // A folder set aside is the player's: one no plan brought back (a plan lost to a power
    // cut) is never removed with the rest.
    if (!QDir(staging).entryList({QStringLiteral("old-*")}, QDir::Dirs | QDir::Files).isEmpty()) {
        *error = QStringLiteral("The folder \"%1\" that an import cut short left in the VEK "
                                "folder holds a folder the import replaced; it was left as it is.")
                     .arg(shown);
        return false;
    }
    return removeOver(modFolder, staging, error);
}

QStringList ImportStaging::recover(const QString &modFolder) {
    QStringList problems;
    // Both kinds of leftover begin with what the two prefixes share.
    QString common = Prefix;
    while (!Over.startsWith(common))
        common.chop(1);
    QStringList names;
    FolderScan::foldersWithPrefix(modFolder, common, &names, nullptr);
    FileList::sortNames(names);
    for (const QString &name : std::as_const(names)) {
        if (!name.startsWith(Prefix) && !name.startsWith(Over))
            continue;
        const QString path = FileList::join(modFolder, name);
        QString error;
        // A link of that name is no import's: removing what is in it would remove what it
        // points at.
        if (QFileInfo(path).isSymLink()) {
            problems << QStringLiteral("\"%1\" in the VEK folder is a link, not a folder an "
                                       "import left; it was left as it is.")
                            .arg(QDir::toNativeSeparators(path));
        } else if (name.startsWith(Over)) {
            if (!removeOver(modFolder, path, &error))
                problems << error;
        } else if (!undo(modFolder, path, &error)) {
            problems << error;
        } else {
            problems << QStringLiteral("VEK Selector was stopped before it had finished "
                                       "importing content into the VEK folder. The import was "
                                       "undone: import the archive again.");
        }
    }
    return problems;
}

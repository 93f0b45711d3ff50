// SPDX-License-Identifier: GPL-3.0-or-later
#include "StrayCleanup.h"

#include "FileCompare.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileRemoval.h"
#include "KeptFiles.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>

namespace {

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// The files of the VEK folder's folders, and of their subfolders, that bear one of the
// `wanted` names (folded), by folded name. Each folder is read once; files lying loose in the
// VEK folder itself (its ledgers, the original eaw.ini) are not content and do not count.
QHash<QString, QStringList> carriers(const QString &modFolder, const QSet<QString> &wanted) {
    QHash<QString, QStringList> found;
    const auto read = [&found, &wanted](const QString &folder, QStringList *subfolders) {
        QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            if (info.isDir()) {
                if (subfolders)
                    subfolders->append(info.filePath());
            } else if (const QString key = FileList::fold(info.fileName()); wanted.contains(key)) {
                found[key].append(info.filePath());
            }
        }
    };
    for (const QString &folder : FileList::folders(modFolder)) {
        QStringList below;
        read(folder, &below);
        for (const QString &sub : below)
            read(sub, nullptr);
    }
    return found;
}

bool carried(const QString &path, const QStringList &candidates) {
    for (const QString &c : candidates)
        if (FileCompare::sameBytes(path, c, nullptr) == FileCompare::Result::Same)
            return true;
    return false;
}

// A folder of its own for this sweep, named after its time (a sweep in the same second as an
// earlier one gets a number), so a second sweep never mixes its files with the first's.
QString makeDatedFolder(QString *error) {
    const QString root = StrayCleanup::sweptRoot();
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    QString folder = QDir(root).filePath(stamp);
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = QDir(root).filePath(stamp + QStringLiteral(" (%1)").arg(n));
    if (!FileHook::mayChange(folder, error))
        return QString();
    // One level at a time, each told, so a trace names every folder the sweep made.
    QStringList missing;
    for (QString f = folder; !QFileInfo(f).exists() && QFileInfo(f).path() != f;
         f = QFileInfo(f).path())
        missing.prepend(f);
    for (const QString &f : std::as_const(missing)) {
        if (!QDir().mkdir(f)) {
            *error = QStringLiteral("Could not create the folder \"%1\".").arg(shown(f));
            return QString();
        }
        FileHook::folderCreated(f);
    }
    return folder;
}

// Within one file system a rename, which a crash leaves either before or after; across file
// systems a synced copy, checked against the source, and only then the source deleted, so
// that at every moment at least one whole copy exists.
bool moveAside(const QString &from, const QString &to, QString *error) {
    if (!FileHook::mayChange(from, error) || !FileHook::mayChange(to, error))
        return false;
    if (QDir().rename(from, to)) {
        FileHook::renamed(from, to);
        return true;
    }
    FileHook::Group move;
    if (!FileOps::copyReplace(from, to, error))
        return false;
    QString reason;
    const FileCompare::Result same = FileCompare::sameBytes(from, to, &reason);
    if (same != FileCompare::Result::Same) {
        FileOps::remove(to, nullptr);
        *error = same == FileCompare::Result::Differs
                     ? QStringLiteral("Could not move \"%1\" to \"%2\": the copy does not hold "
                                      "the same bytes.")
                           .arg(shown(from), shown(to))
                     : reason;
        return false;
    }
    if (!FileRemoval::removeFile(from, error)) {
        // The file stays in the game folder; one copy of it is enough.
        FileOps::remove(to, nullptr);
        return false;
    }
    move.commit(FileOperation::of(FileOperation::Kind::Move, from, to));
    return true;
}

} // namespace

bool StrayCleanup::kept(const QString &name) {
    const QString upper = name.toUpper();
    return upper == QLatin1String("EXTRA.SPT") || upper == QLatin1String("CHATLINE.TXT");
}

namespace {
QString &dataFolderSet() {
    static QString folder;
    return folder;
}
} // namespace

void StrayCleanup::setDataFolder(const QString &folder) {
    dataFolderSet() = folder;
}

QString StrayCleanup::dataFolder() {
    return dataFolderSet().isEmpty()
               ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
               : dataFolderSet();
}

QString StrayCleanup::sweptRoot() {
    return QDir(dataFolder()).filePath(QStringLiteral("vekselector/swept"));
}

StrayCleanup::Outcome StrayCleanup::run(const QString &gameFolder, const QString &modFolder,
                                        const QSet<QString> &spared) {
    Outcome outcome;
    QStringList names;
    QSet<QString> wanted;
    for (const QString &name : FileList::files(gameFolder, StrayPatterns)) {
        // A file kept while a load replaced it is the game's own: the journal's recovery
        // settles it, never a sweep.
        if (kept(name) || !KeptFiles::keptFor(name).isEmpty() ||
            !KeptFiles::gameFor(name).isEmpty() || spared.contains(FileList::fold(name)))
            continue;
        names << name;
        wanted.insert(FileList::fold(name));
    }
    if (names.isEmpty())
        return outcome;
    const QHash<QString, QStringList> carriedBy = carriers(modFolder, wanted);

    QString folderProblem; // why the dated folder could not be made, once tried
    QStringList left;      // the files that stayed for want of it
    QSet<QString> placed;  // folded names already in the dated folder
    for (const QString &name : names) {
        const QString path = FileList::join(gameFolder, name);
        QString error;
        // It can be loaded again from its folder.
        if (carried(path, carriedBy.value(FileList::fold(name)))) {
            if (!FileRemoval::removeFile(path, &error))
                outcome.problems << error;
            continue;
        }
        // Refused as an unload refuses it, in the same words: a reset that met it in an unload
        // tells it once.
        if (FileOps::isReadOnly(path)) {
            outcome.problems << QStringLiteral("Could not delete \"%1\": the file is read-only.")
                                    .arg(shown(path));
            continue;
        }
        if (outcome.movedTo.isEmpty() && folderProblem.isEmpty()) {
            outcome.movedTo = makeDatedFolder(&folderProblem);
            if (outcome.movedTo.isEmpty() && folderProblem.isEmpty())
                folderProblem =
                    QStringLiteral("Could not create a folder in \"%1\".").arg(shown(sweptRoot()));
        }
        if (!folderProblem.isEmpty()) {
            left << shown(path);
            continue;
        }
        // Names that differ only in case in the game folder may meet in the data folder.
        QString target = name;
        for (int n = 2; placed.contains(FileList::fold(target)); ++n)
            target = name + QStringLiteral(" (%1)").arg(n);
        if (!moveAside(path, FileList::join(outcome.movedTo, target), &error)) {
            outcome.problems << error + QStringLiteral(" It was left in the game folder.");
            continue;
        }
        placed.insert(FileList::fold(target));
        outcome.moved << target;
    }
    if (!left.isEmpty())
        outcome.problems << folderProblem +
                                QStringLiteral(" These files were left in the game folder:\r\n") +
                                left.join(QStringLiteral("\r\n"));
    // A folder made for files that then all stayed says nothing.
    if (outcome.moved.isEmpty() && !outcome.movedTo.isEmpty()) {
        QDir().rmdir(outcome.movedTo);
        outcome.movedTo.clear();
    }
    return outcome;
}

QString StrayCleanup::notice(const Outcome &outcome) {
    if (outcome.moved.isEmpty())
        return QString();
    // A long list would hide the one line that matters: where they are.
    constexpr qsizetype Shown = 20;
    QStringList names = outcome.moved.mid(0, Shown);
    if (outcome.moved.size() > Shown)
        names << QStringLiteral("... and %1 more").arg(outcome.moved.size() - Shown);
    return QStringLiteral("%1 file(s) swept out of the game folder are not in any folder of the "
                          "VEK folder, so they were moved, not deleted. They are in \"%2\":"
                          "\r\n")
               .arg(outcome.moved.size())
               .arg(shown(outcome.movedTo)) +
           names.join(QStringLiteral("\r\n"));
}

#include "MissionSaves.h"

#include "FileList.h"
#include "FileOps.h"
#include "FolderMoves.h"
#include "LoadGrid.h"

#include <QSet>

QString MissionSaves::savedata(const QString &gameFolder) {
    return FileList::join(gameFolder, QStringLiteral("Savedata"));
}

QString MissionSaves::store(const QString &modFolder, const QString &mission) {
    return FileList::join(modFolder, LoadGrid::storeOf(mission));
}

namespace {
bool fail(QStringList *problems, const QString &error) {
    problems->append(error);
    return false;
}

/// Makes `store` hold exactly the files of Savedata: Savedata's files replace the store's,
/// then the store's files that Savedata did not have are removed. Nothing is deleted before
/// the moves have all succeeded.
bool replaceStore(const QString &savedata, const QString &store, QStringList *problems) {
    FileOps::EnsureFolder(store);
    QSet<QString> moved;
    for (const QString &n : FileList::files(savedata))
        moved.insert(n.toUpper());
    QString error;
    if (!FolderMoves::moveAll(savedata, store, &error))
        return fail(problems, error);
    for (const QString &n : FileList::files(store)) {
        if (!moved.contains(n.toUpper()) && !FileOps::remove(FileList::join(store, n), &error))
            return fail(problems, error);
    }
    return true;
}
} // namespace

bool MissionSaves::load(const QString &modFolder, const QString &gameFolder,
                        const QString &previous, const QString &mission, QStringList *problems) {
    const QString saves = savedata(gameFolder);
    FileOps::EnsureFolder(saves);
    if (!previous.isEmpty() && !replaceStore(saves, store(modFolder, previous), problems))
        return false;
    QString error;
    if (FolderMoves::hasFiles(saves) &&
        !FolderMoves::moveAllKeeping(saves, FileList::join(modFolder, QStringLiteral("C-Default")),
                                     &error))
        return fail(problems, error);
    const QString from = store(modFolder, mission);
    FileOps::EnsureFolder(from);
    if (!FolderMoves::copyAll(from, saves, &error))
        return fail(problems, error);
    return true;
}

bool MissionSaves::unload(const QString &modFolder, const QString &gameFolder,
                          const QString &mission, QStringList *problems) {
    const QString saves = savedata(gameFolder);
    FileOps::EnsureFolder(saves);
    QString error;
    const QString to = store(modFolder, mission);
    FileOps::EnsureFolder(to);
    if (!FolderMoves::moveAll(saves, to, &error))
        return fail(problems, error);
    FileOps::EnsureFolder(saves);
    const QString cDefault = FileList::join(modFolder, QStringLiteral("C-Default"));
    if (!FolderMoves::moveAll(cDefault, saves, &error))
        return fail(problems, error);
    return true;
}

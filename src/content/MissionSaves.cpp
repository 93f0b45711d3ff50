#include "MissionSaves.h"

#include "FileList.h"
#include "FileOps.h"
#include "FolderMoves.h"
#include "LoadGrid.h"

#include <QSet>

QString MissionSaves::savedata(const QString &gameFolder) {
    return FileList::resolveFolder(gameFolder, QStringLiteral("Savedata"));
}

QString MissionSaves::store(const QString &modFolder, const QString &mission) {
    return FileList::resolveFolder(modFolder, LoadGrid::storeOf(mission));
}

namespace {
bool fail(QStringList *problems, const QString &error) {
    problems->append(error);
    return false;
}

/// Makes `store` hold exactly the files of Savedata, whose names were `held`: Savedata's
/// files replace the store's, then the store's files not among `held` are removed. Nothing is
/// deleted before the moves have all succeeded. Run again after a crash, it finds the files
/// already moved in the store, and keeps them because they are among `held`.
bool replaceStore(const QString &savedata, const QString &store, const QStringList &held,
                  QStringList *problems) {
    FileOps::EnsureFolder(store);
    QSet<QString> kept;
    for (const QString &n : held)
        kept.insert(n.toUpper());
    QString error;
    if (!FolderMoves::moveAll(savedata, store, &error))
        return fail(problems, error);
    for (const QString &n : FileList::files(store)) {
        if (!kept.contains(n.toUpper()) && !FileOps::remove(FileList::join(store, n), &error))
            return fail(problems, error);
    }
    return true;
}
} // namespace

QStringList MissionSaves::held(const QString &gameFolder) {
    return FileList::files(savedata(gameFolder));
}

bool MissionSaves::park(const QString &modFolder, const QString &gameFolder,
                        const QString &previous, const QStringList &held, QStringList *problems) {
    const QString saves = savedata(gameFolder);
    FileOps::EnsureFolder(saves);
    if (!previous.isEmpty() && !replaceStore(saves, store(modFolder, previous), held, problems))
        return false;
    QString error;
    if (FolderMoves::hasFiles(saves) &&
        !FolderMoves::moveAllKeeping(
            saves, FileList::resolveFolder(modFolder, QStringLiteral("C-Default")), &error))
        return fail(problems, error);
    return true;
}

bool MissionSaves::bring(const QString &modFolder, const QString &gameFolder,
                         const QString &mission, QStringList *problems) {
    const QString saves = savedata(gameFolder);
    FileOps::EnsureFolder(saves);
    const QString from = store(modFolder, mission);
    FileOps::EnsureFolder(from);
    QString error;
    if (!FolderMoves::copyAll(from, saves, &error))
        return fail(problems, error);
    return true;
}

bool MissionSaves::load(const QString &modFolder, const QString &gameFolder,
                        const QString &previous, const QString &mission, QStringList *problems) {
    return park(modFolder, gameFolder, previous, held(gameFolder), problems) &&
           bring(modFolder, gameFolder, mission, problems);
}

bool MissionSaves::toStore(const QString &modFolder, const QString &gameFolder,
                           const QString &mission, QStringList *problems) {
    const QString saves = savedata(gameFolder);
    FileOps::EnsureFolder(saves);
    const QString to = store(modFolder, mission);
    FileOps::EnsureFolder(to);
    QString error;
    if (!FolderMoves::moveAll(saves, to, &error))
        return fail(problems, error);
    return true;
}

bool MissionSaves::fromDefault(const QString &modFolder, const QString &gameFolder,
                               QStringList *problems) {
    const QString saves = savedata(gameFolder);
    FileOps::EnsureFolder(saves);
    QString error;
    if (!FolderMoves::moveAll(FileList::resolveFolder(modFolder, QStringLiteral("C-Default")),
                              saves, &error))
        return fail(problems, error);
    return true;
}

bool MissionSaves::unload(const QString &modFolder, const QString &gameFolder,
                          const QString &mission, QStringList *problems) {
    return toStore(modFolder, gameFolder, mission, problems) &&
           fromDefault(modFolder, gameFolder, problems);
}

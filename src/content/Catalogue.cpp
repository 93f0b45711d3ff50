// SPDX-License-Identifier: GPL-3.0-or-later
#include "Catalogue.h"

#include "FileList.h"
#include "FileOps.h"
#include "FolderMoves.h"
#include "Text8.h"

#include <QDir>
#include <QFileInfo>

namespace {
void ensure(const QString &path, QStringList *problems) {
    bool created = false;
    if (!FileOps::EnsureFolder(path, &created) && !created)
        problems->append(QStringLiteral("Could not create the folder \"%1\".")
                             .arg(QDir::toNativeSeparators(path)));
}
} // namespace

QString Catalogue::recordedMission(const LoadGrid &grid, const QList<QByteArray> &loadedList) {
    QString mission;
    for (const QByteArray &line : loadedList) {
        const QString name = Text8::toUnicode(line);
        if (!LoadGrid::storeOf(name).isEmpty() && grid.find(name) > 0)
            mission = name;
    }
    return mission;
}

void Catalogue::build(const QString &modFolder, const QString &gameFolder, LoadGrid &grid,
                      const QList<QByteArray> &loadedList, QStringList *problems) {
    grid.rows.clear();
    grid.hint = LoadGrid::AllAvailable;
    for (const QString &path : FileList::folders(modFolder)) {
        const QString name = QFileInfo(path).fileName();
        if (LoadGrid::listed(name))
            grid.rows.append(LoadGrid::Row{path, name});
    }
    for (const LoadGrid::Row &row : grid.rows) {
        const QString store = LoadGrid::storeOf(row.name);
        if (!store.isEmpty())
            ensure(FileList::resolveFolder(modFolder, store), problems);
    }
    const QString cDefault = FileList::resolveFolder(modFolder, QStringLiteral("C-Default"));
    const QString savedata = FileList::resolveFolder(gameFolder, QStringLiteral("Savedata"));
    ensure(cDefault, problems);
    ensure(savedata, problems);
    if (recordedMission(grid, loadedList).isEmpty() && FolderMoves::hasFiles(savedata)) {
        QString error;
        if (!FolderMoves::moveAllKeeping(savedata, cDefault, &error))
            problems->append(error);
    }
    ensure(FileList::resolveFolder(modFolder, QStringLiteral("Interchange")), problems);
}

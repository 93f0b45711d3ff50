// SPDX-License-Identifier: GPL-3.0-or-later
#include "Catalogue.h"

#include "FileList.h"
#include "FileOps.h"
#include "FolderMoves.h"
#include "Text8.h"

#include <QDir>

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
    const QStringList names = FileList::folderNames(modFolder);
    grid.rows.reserve(names.size());
    for (const QString &name : names)
        if (LoadGrid::listed(name))
            grid.rows.append(LoadGrid::Row{FileList::join(modFolder, name), name});
    // Every store is looked up in this one listing: a VEK folder of thousands of mission
    // folders is not read again for each.
    FileList::Index present(names);
    const auto made = [&](const QString &name) {
        const QString found = present.find(name);
        if (!found.isEmpty())
            return FileList::join(modFolder, found);
        const QString path = FileList::join(modFolder, name);
        ensure(path, problems);
        present.add(name);
        return path;
    };
    for (const LoadGrid::Row &row : std::as_const(grid.rows))
        if (const QString store = LoadGrid::storeOf(row.name); !store.isEmpty())
            made(store);
    const QString cDefault = made(QStringLiteral("C-Default"));
    const QString savedata = FileList::resolveFolder(gameFolder, QStringLiteral("Savedata"));
    ensure(savedata, problems);
    // With no mission loaded, Savedata holds the game's own saves, and they stay there. What
    // an earlier start parked in C-Default comes back beside them: the game's saves are the
    // newer and keep their names.
    if (recordedMission(grid, loadedList).isEmpty() && FolderMoves::hasFiles(cDefault)) {
        QString error;
        if (!FolderMoves::moveAllBeside(cDefault, savedata, &error))
            problems->append(error);
    }
    made(QStringLiteral("Interchange"));
}

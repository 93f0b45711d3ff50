// SPDX-License-Identifier: GPL-3.0-or-later
#include "Catalogue.h"

#include "FileList.h"
#include "FileOps.h"
#include "StartSaves.h"

#include <QDir>

namespace {
void ensure(const QString &path, QStringList *problems) {
    bool created = false;
    if (!FileOps::EnsureFolder(path, &created) && !created)
        problems->append(QStringLiteral("Could not create the folder \"%1\".")
                             .arg(QDir::toNativeSeparators(path)));
}
} // namespace

void Catalogue::build(const QString &modFolder, const QString &gameFolder, LoadGrid &grid,
                      const QList<QByteArray> &loadedList, QStringList *told,
                      QStringList *problems) {
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
    made(QStringLiteral("C-Default"));
    ensure(FileList::resolveFolder(gameFolder, QStringLiteral("Savedata")), problems);
    StartSaves::settle(modFolder, gameFolder, grid, loadedList, told, problems);
    made(QStringLiteral("Interchange"));
}

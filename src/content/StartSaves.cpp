// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartSaves.h"

#include "FileCompare.h"
#include "FileList.h"
#include "FileOps.h"
#include "FolderMoves.h"
#include "Ledgers.h"
#include "LoadGrid.h"
#include "MissionSaves.h"
#include "SaveExchange.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// The mission lines of a ledger, each once, in the order of their last line.
QStringList missionsOf(const QList<QByteArray> &ledger) {
    QStringList missions;
    for (const QByteArray &line : ledger) {
        const QString name = Text8::toUnicode(line);
        if (LoadGrid::storeOf(name).isEmpty())
            continue;
        missions.removeAll(name);
        missions << name;
    }
    return missions;
}

// A mission's store, made when it is not there.
QString storeFor(const QString &modFolder, const QString &mission) {
    const QString store = MissionSaves::store(modFolder, mission);
    FileOps::EnsureFolder(store);
    return store;
}

// The ledger without the lines of `dropped`, written whole.
bool dropLines(const QString &modFolder, const QList<QByteArray> &ledger,
               const QStringList &dropped, QString *error) {
    QList<QByteArray> kept;
    for (const QByteArray &line : ledger)
        if (!dropped.contains(Text8::toUnicode(line)))
            kept << line;
    return FileOps::writeAtomic(FileList::resolve(modFolder, Ledgers::FoldersLoaded),
                                Ledgers::foldersLoadedBytes(kept), error);
}

// The mission of `missions` that the load order ledger names last, or empty.
QString loadedLast(const QString &modFolder, const QStringList &missions) {
    const QString name = FileList::find(modFolder, Ledgers::LoadOrder);
    QList<QByteArray> lines;
    if (name.isEmpty() || !TextFile::readLines(FileList::join(modFolder, name), &lines, nullptr))
        return QString();
    QString last;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split('\t');
        if (parts.size() >= 2 && parts[0] == "folder" &&
            missions.contains(Text8::toUnicode(parts[1])))
            last = Text8::toUnicode(parts[1]);
    }
    return last;
}

// What C-Default of `modFolder` holds comes back into Savedata beside the game's saves.
void bringParked(const QString &modFolder, const QString &saves, QStringList *problems) {
    const QString parked = FileList::resolveFolder(modFolder, QStringLiteral("C-Default"));
    QString error;
    if (FolderMoves::hasFiles(parked) && !FolderMoves::moveAllBeside(parked, saves, &error))
        problems->append(QStringLiteral("The campaign saves kept in \"%1\" could not come back "
                                        "into the game's Savedata, so none of them moved: %2")
                             .arg(shown(parked), error));
}

// Savedata holds a copy of part of the store or nothing: a load's copy cut short. The rest
// comes in; any save of Savedata's own (the game played on) leaves it as it is.
void completeCopy(const QString &store, const QString &saves, QStringList *problems) {
    const QStringList inStore = SaveExchange::saves(store);
    if (inStore.isEmpty())
        return;
    FileList::Index storeNames(inStore);
    const QStringList present = SaveExchange::saves(saves);
    for (const QString &name : present) {
        const QString there = storeNames.find(name);
        if (there.isEmpty() ||
            FileCompare::sameBytes(FileList::join(saves, name), FileList::join(store, there),
                                   nullptr) != FileCompare::Result::Same)
            return;
    }
    FileList::Index presentNames(present);
    QString error;
    for (const QString &name : inStore)
        if (presentNames.find(name).isEmpty() &&
            !FileOps::copyReplace(FileList::join(store, name), FileList::join(saves, name),
                                  &error)) {
            problems->append(error);
            return;
        }
}

} // namespace

void StartSaves::sendHome(const QString &gameFolder, const QString &lastModFolder,
                          QStringList *told, QStringList *problems) {
    if (lastModFolder.isEmpty() || !QFileInfo(lastModFolder).isDir() ||
        FileList::find(lastModFolder, QStringLiteral("linkscreen")).isEmpty())
        return;
    const QList<QByteArray> ledger = Ledgers::readFoldersLoaded(lastModFolder);
    const QStringList missions = missionsOf(ledger);
    if (missions.isEmpty()) {
        // No mission loaded there: what it parked comes back, as at a start there would.
        bringParked(lastModFolder, MissionSaves::savedata(gameFolder), problems);
        return;
    }
    const QString mission = missions.last();
    const QString saves = MissionSaves::savedata(gameFolder);
    const bool gone = !QFileInfo(FileList::resolveFolder(lastModFolder, mission)).isDir();
    const QString store = storeFor(lastModFolder, mission);
    QString error;
    // Savedata holds the newer state of what the store gave it, as at an unload; a store
    // that has lost its mission folder keeps whatever it holds.
    const bool moved = gone ? FolderMoves::moveAllKeeping(saves, store, &error)
                            : FolderMoves::moveAllAsOne(saves, store, &error);
    if (!moved) {
        problems->append(error + QStringLiteral(" The campaign saves of \"%1\" stay in the game's "
                                                "Savedata.")
                                     .arg(mission));
        return;
    }
    // The ledger first: a start cut short after it finds no mission there, and brings the
    // game's own saves back as below.
    if (!dropLines(lastModFolder, ledger, missions, &error)) {
        problems->append(error);
        return;
    }
    bringParked(lastModFolder, saves, problems);
    told->append(QStringLiteral("The mission \"%1\" was loaded from the VEK folder \"%2\"%3: its "
                                "campaign saves went back to its store \"%4\", and the game's "
                                "own saves came back into Savedata.")
                     .arg(mission, shown(lastModFolder),
                          gone ? QStringLiteral(" (its folder is not there any more)") : QString(),
                          shown(store)));
}

void StartSaves::settle(const QString &modFolder, const QString &gameFolder, const LoadGrid &grid,
                        const QList<QByteArray> &ledger, QStringList *told, QStringList *problems) {
    const QString saves = MissionSaves::savedata(gameFolder);
    const QString parked = FileList::resolveFolder(modFolder, QStringLiteral("C-Default"));
    const QStringList missions = missionsOf(ledger);
    QString error;
    if (missions.isEmpty()) {
        // The game's own saves stay; what an earlier start parked comes back beside them.
        bringParked(modFolder, saves, problems);
        return;
    }
    QStringList listed;
    for (const QString &m : missions)
        if (grid.find(m) > 0)
            listed << m;
    const QString winner = listed.isEmpty() ? QString() : listed.last();
    const QString last = missions.last();
    // Whose progress Savedata holds: the later line's, unless two folders both listed leave it
    // to the load order ledger to say.
    QString owner = last;
    if (last == winner && listed.size() > 1)
        owner = loadedLast(modFolder, listed);
    QStringList dropped = missions;
    dropped.removeAll(winner);

    if (owner != winner && FolderMoves::hasFiles(saves)) {
        const QString to = owner.isEmpty() ? parked : storeFor(modFolder, owner);
        const bool moved = owner.isEmpty() ? FolderMoves::moveAllBeside(saves, to, &error)
                                           : FolderMoves::moveAllKeeping(saves, to, &error);
        if (!moved) {
            problems->append(error + QStringLiteral(" The campaign saves stay in the game's "
                                                    "Savedata."));
            return;
        }
        if (owner.isEmpty())
            told->append(QStringLiteral("FoldersLoaded.txt records %1 as loaded; \"%2\" stays "
                                        "loaded. Whose campaign saves the game's Savedata held "
                                        "is not known, so they were moved to \"%3\" (a save of a "
                                        "name already there under a numbered name).")
                             .arg(QStringLiteral("\"") + missions.join(QStringLiteral("\", \"")) +
                                      QStringLiteral("\""),
                                  winner, shown(to)));
        else if (grid.find(owner) > 0)
            told->append(QStringLiteral("FoldersLoaded.txt records more than one mission as "
                                        "loaded; \"%1\" stays loaded. The campaign saves in the "
                                        "game's Savedata were those of \"%2\": they were moved "
                                        "to its store \"%3\".")
                             .arg(winner, owner, shown(to)));
        else
            told->append(QStringLiteral("The mission folder \"%1\", recorded as loaded, is not "
                                        "in the VEK folder any more. Its campaign saves were "
                                        "moved from the game's Savedata to \"%2\".")
                             .arg(owner, shown(to)));
    }
    if (!dropped.isEmpty() && !dropLines(modFolder, ledger, dropped, &error)) {
        problems->append(error);
        return;
    }
    if (winner.isEmpty()) {
        bringParked(modFolder, saves, problems);
        return;
    }
    // The mission that stays loaded finds its saves in Savedata, as its load gave them.
    completeCopy(MissionSaves::store(modFolder, winner), saves, problems);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "MissionSaves.h"

#include "FileList.h"
#include "FileOps.h"
#include "FolderMoves.h"
#include "LoadGrid.h"
#include "SaveExchange.h"

#include <QSet>

QString MissionSaves::savedata(const QString &gameFolder) {
    return FileList::resolveFolder(gameFolder, QStringLiteral("Savedata"));
}

QString MissionSaves::store(const QString &modFolder, const QString &mission) {
    return FileList::resolveFolder(modFolder, LoadGrid::storeOf(mission));
}

namespace {

QString defaultStore(const QString &modFolder) {
    return FileList::resolveFolder(modFolder, QStringLiteral("C-Default"));
}

// A folder the exchange writes into: there, with no copy of a killed exchange left in it.
QString prepared(const QString &folder) {
    FileOps::EnsureFolder(folder);
    SaveExchange::clearStaged(folder, nullptr);
    return folder;
}

} // namespace

QStringList MissionSaves::held(const QString &gameFolder) {
    return SaveExchange::saves(savedata(gameFolder));
}

void MissionSaves::planLoad(const QString &modFolder, const QString &gameFolder,
                            const QString &previous, const QString &mission,
                            const QStringList &held, SaveExchange *out, SaveExchange *in) {
    const QString saves = prepared(savedata(gameFolder));
    if (previous.isEmpty()) {
        const QString parked = prepared(defaultStore(modFolder));
        FolderMoves::planMoveAllKeeping(saves, parked, SaveExchange::saves(parked), out);
    } else {
        // The previous store comes to hold exactly what Savedata held: run again after a
        // crash, the saves already moved are in the store under names among `held`, and stay.
        const QString to = prepared(store(modFolder, previous));
        const QStringList there = SaveExchange::saves(to);
        FolderMoves::planMoveAll(saves, to, there, out);
        QSet<QString> kept;
        for (const QString &n : held)
            kept.insert(n.toUpper());
        for (const QString &n : there)
            if (!kept.contains(n.toUpper()))
                out->prune(FileList::join(to, n));
    }
    planBring(modFolder, gameFolder, mission, in);
}

void MissionSaves::planBring(const QString &modFolder, const QString &gameFolder,
                             const QString &mission, SaveExchange *in) {
    const QString saves = prepared(savedata(gameFolder));
    const QString from = store(modFolder, mission);
    FileOps::EnsureFolder(from);
    FolderMoves::planCopyAll(from, saves, {}, in);
}

void MissionSaves::planUnload(const QString &modFolder, const QString &gameFolder,
                              const QString &mission, SaveExchange *out, SaveExchange *in) {
    const QString saves = prepared(savedata(gameFolder));
    const QString to = prepared(store(modFolder, mission));
    FolderMoves::planMoveAll(saves, to, SaveExchange::saves(to), out);
    planFromDefault(modFolder, gameFolder, in);
}

void MissionSaves::planFromDefault(const QString &modFolder, const QString &gameFolder,
                                   SaveExchange *in) {
    const QString saves = prepared(savedata(gameFolder));
    FolderMoves::planMoveAll(prepared(defaultStore(modFolder)), saves, {}, in);
}

bool MissionSaves::ready(SaveExchange &out, SaveExchange &in, QStringList *problems) {
    QString error;
    if (!out.ready(&error)) {
        problems->append(error);
        return false;
    }
    if (!in.ready(&error)) {
        out.discard();
        problems->append(error);
        return false;
    }
    return true;
}

namespace {
bool make(SaveExchange &out, SaveExchange &in, QStringList *problems) {
    if (!MissionSaves::ready(out, in, problems))
        return false;
    QString error;
    if (!out.commit(&error) || !in.commit(&error)) {
        out.discard();
        in.discard();
        problems->append(error);
        return false;
    }
    return true;
}
} // namespace

bool MissionSaves::load(const QString &modFolder, const QString &gameFolder,
                        const QString &previous, const QString &mission, QStringList *problems) {
    SaveExchange out;
    SaveExchange in;
    planLoad(modFolder, gameFolder, previous, mission, held(gameFolder), &out, &in);
    return make(out, in, problems);
}

bool MissionSaves::unload(const QString &modFolder, const QString &gameFolder,
                          const QString &mission, QStringList *problems) {
    SaveExchange out;
    SaveExchange in;
    planUnload(modFolder, gameFolder, mission, &out, &in);
    return make(out, in, problems);
}

bool MissionSaves::checkUnload(const QString &modFolder, const QString &gameFolder,
                               const QString &mission, QStringList *problems) {
    SaveExchange out;
    SaveExchange in;
    planUnload(modFolder, gameFolder, mission, &out, &in);
    QString error;
    if (out.check(&error) && in.check(&error))
        return true;
    problems->append(error);
    return false;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class LoadGrid;

/// Where the game's campaign saves belong when the window loads. The game's Savedata holds the
/// progress of the mission that was loaded last, or the game's own saves when none was; a
/// start must never take one for the other, or the first unload files a campaign over another
/// one's save. Every move here is all or nothing (see `FolderMoves`), keeps every save, and
/// can be made again after a crash cut it short; the player is told what moved where.
class StartSaves {
public:
    /// At the first start with another VEK folder than last time (`lastModFolder`): a mission
    /// that folder's ledger records as loaded has its progress in Savedata. It goes home to
    /// its own store there ("C-X", made when the mission folder has gone), the mission's line
    /// leaves that ledger, so that a later start there does not take the game's saves for the
    /// mission's, and the game's own saves come back from that folder's C-Default (also when
    /// no mission is recorded there: a start cut short after the ledger was rewritten).
    static void sendHome(const QString &gameFolder, const QString &lastModFolder, QStringList *told,
                         QStringList *problems);

    /// At every start, once `grid` is listed: the mission lines of `ledger` (FoldersLoaded.txt)
    /// decide whose saves Savedata holds.
    /// - No mission: the game's own; saves found in C-Default come back beside them.
    /// - The last mission line names a folder that has gone: its progress goes to a store
    ///   named after it, and its line leaves the ledger.
    /// - Two or more missions: the last listed one is loaded (its line wins). Savedata holds
    ///   the saves of the one loaded last by the load order ledger (LoadOrder.txt) when that
    ///   is known; when it is another one, they go to its store, and when it is not known, to
    ///   C-Default beside its saves (numbered where a name is taken). The losing lines leave
    ///   the ledger and the winner's store is copied into Savedata, as its load would.
    /// - One mission, and Savedata holding nothing but a part of its store's copy (a start cut
    ///   short while it copied the store in): the rest is copied in, as its load would.
    static void settle(const QString &modFolder, const QString &gameFolder, const LoadGrid &grid,
                       const QList<QByteArray> &ledger, QStringList *told, QStringList *problems);
};

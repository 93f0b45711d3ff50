#pragma once

#include <QString>
#include <QStringList>

/// The campaign save exchange of mission folders. While mission "M-X" is loaded, the game's
/// Savedata holds X's campaign; X's store "C-X" keeps it while X is not loaded, and
/// "C-Default" keeps the game's own saves while any mission is loaded.
///
/// A mission "M Alpha" (blank instead of "-") uses the store "C-Alpha", the one the
/// catalogue creates for it. No save is ever lost: every move copies, verifies and then
/// deletes, and saves that have nowhere defined to go are moved into C-Default without
/// replacing anything there.
class MissionSaves {
public:
    /// Loading `mission` (grid name). `previous` is the mission that the same click unloaded,
    /// or empty. The previous mission's Savedata becomes its store's content; saves the game
    /// wrote since the window opened go to C-Default; then the new mission's store is copied
    /// into Savedata (the store keeps its files).
    static bool load(const QString &modFolder, const QString &gameFolder, const QString &previous,
                     const QString &mission, QStringList *problems);

    /// Unloading `mission`: Savedata goes to its store, C-Default comes back into Savedata.
    static bool unload(const QString &modFolder, const QString &gameFolder, const QString &mission,
                       QStringList *problems);

    /// The steps of `load` and `unload`, for the journal, which records the step reached so
    /// that a start after a crash can go on from there. Each step may be run again after a
    /// crash cut it short without losing a save.
    ///
    /// `load`, first step: Savedata's files go to the previous mission's store, which then
    /// keeps only the names in `held` (Savedata's files when the exchange began), or without a
    /// previous mission to C-Default; Savedata is empty afterwards.
    static bool park(const QString &modFolder, const QString &gameFolder, const QString &previous,
                     const QStringList &held, QStringList *problems);
    /// `load`, second step: the mission's store is copied into Savedata.
    static bool bring(const QString &modFolder, const QString &gameFolder, const QString &mission,
                      QStringList *problems);
    /// `unload`, first step: Savedata's files go to the mission's store.
    static bool toStore(const QString &modFolder, const QString &gameFolder, const QString &mission,
                        QStringList *problems);
    /// `unload`, second step: C-Default's files come back into Savedata.
    static bool fromDefault(const QString &modFolder, const QString &gameFolder,
                            QStringList *problems);

    /// The names of Savedata's files now: `held` for `park`.
    static QStringList held(const QString &gameFolder);

    static QString savedata(const QString &gameFolder);
    static QString store(const QString &modFolder, const QString &mission);
};

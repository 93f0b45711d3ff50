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

    static QString savedata(const QString &gameFolder);
    static QString store(const QString &modFolder, const QString &mission);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class SaveExchange;

/// The campaign save exchange of mission folders. While mission "M-X" is loaded, the game's
/// Savedata holds X's campaign; X's store "C-X" keeps it while X is not loaded, and
/// "C-Default" keeps the game's own saves while any mission is loaded.
///
/// A mission "M Alpha" (blank instead of "-") uses the store "C-Alpha", the one the
/// catalogue creates for it. No save is ever lost: an exchange is made as one `SaveExchange`
/// pair, `out` (Savedata's files leave) and `in` (Savedata's new files come), both made ready
/// (every copy made and checked) before either is committed; so a read-only save, a read-only
/// folder or a full disk leaves every save where it was. Saves that have nowhere defined to go
/// are moved into C-Default, where they take their names as the game's latest and the older
/// saves of those names are kept under numbered names.
class MissionSaves {
public:
    /// Loading `mission` (grid name). `previous` is the mission that the same click unloaded,
    /// or empty. The previous mission's Savedata becomes its store's content; saves the game
    /// wrote since the window opened go to C-Default; then the new mission's store is copied
    /// into Savedata (the store keeps its files). All or nothing.
    static bool load(const QString &modFolder, const QString &gameFolder, const QString &previous,
                     const QString &mission, QStringList *problems);

    /// Unloading `mission`: Savedata goes to its store, C-Default comes back into Savedata.
    /// All or nothing.
    static bool unload(const QString &modFolder, const QString &gameFolder, const QString &mission,
                       QStringList *problems);

    /// Whether `unload` could move the saves, as far as can be known without copying one (a
    /// read-only save, a read-only Savedata, store or C-Default): false with the reason in
    /// `problems`. Nothing is copied or moved.
    static bool checkUnload(const QString &modFolder, const QString &gameFolder,
                            const QString &mission, QStringList *problems);

    /// The exchanges planned, for the journal, which records the step reached so that a start
    /// after a crash can go on from there. Each may be planned and made again after a crash cut
    /// it short without losing a save (the copies a killed run left are removed first).
    ///
    /// A load: `out` moves Savedata's files to the previous mission's store, which then keeps
    /// only the names in `held` (Savedata's files when the exchange began), or without a
    /// previous mission to C-Default; `in` copies the mission's store into the emptied Savedata.
    static void planLoad(const QString &modFolder, const QString &gameFolder,
                         const QString &previous, const QString &mission, const QStringList &held,
                         SaveExchange *out, SaveExchange *in);
    /// A load's `in` alone, once its `out` is made.
    static void planBring(const QString &modFolder, const QString &gameFolder,
                          const QString &mission, SaveExchange *in);
    /// An unload: `out` moves Savedata's files to the mission's store, `in` moves C-Default's
    /// files into the emptied Savedata.
    static void planUnload(const QString &modFolder, const QString &gameFolder,
                           const QString &mission, SaveExchange *out, SaveExchange *in);
    /// An unload's `in` alone, once its `out` is made.
    static void planFromDefault(const QString &modFolder, const QString &gameFolder,
                                SaveExchange *in);
    /// Makes both ready, or neither (the copies of the one made ready are removed).
    static bool ready(SaveExchange &out, SaveExchange &in, QStringList *problems);

    /// The names of Savedata's files now: `held` for `planLoad`.
    static QStringList held(const QString &gameFolder);

    static QString savedata(const QString &gameFolder);
    static QString store(const QString &modFolder, const QString &mission);
};

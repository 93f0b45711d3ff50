// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Reporter;
struct SelectorState;
class OperationJournal;
class LoadedFiles;
class LoadedList;
class Options;
class LoadFiles;
class Planes;
class Skins;

/// "Reset Completely" (`Command1` on "General", `Command11` on "Autoscripts"): takes every
/// loaded content folder and skin out through the grids' own unload, empties the aircraft
/// grid, sweeps the content kinds out of the game folder (`StrayCleanup`: what no folder
/// carries is moved aside, not deleted), empties FoldersLoaded.txt, puts the
/// original eaw.ini back, switches the cheat check off and clears its byte in flt.cdf.
///
/// Each unload is an operation of its own with its own record in the operation journal; the
/// reset's journal (`JournalName`) only says that the sequence is not over. Every step of the
/// reset can run twice, so the next start after a crash simply runs it again on what is left.
class CompleteReset {
public:
    static inline const QString Caption = QStringLiteral("Reset Completely");
    static inline const QString ToolTip =
        QStringLiteral("Moves all extra files added by this software to the EAW folder back to "
                       "their original folders.");

    /// Says, in the VEK folder, that a reset is under way, from before its first change to
    /// after its last: a start that finds it runs the reset again to its end (`resume`). Its
    /// lines: a sentence, the game folder, then the names of the game's own files that were kept
    /// while content replaced them when the reset began (its sweep leaves those files).
    static inline const QString JournalName = QStringLiteral("ResetJournal.txt");

    CompleteReset(SelectorState &state, Reporter &reporter, OperationJournal &journal,
                  LoadedFiles &loadedFiles, LoadedList &loadedList, Options &options,
                  LoadFiles &loadFiles, Skins &skins, Planes &planes)
        : s_(state), r_(reporter), journal_(journal), loadedFiles_(loadedFiles),
          loadedList_(loadedList), options_(options), loadFiles_(loadFiles), skins_(skins),
          planes_(planes) {}

    /// Runs the reset to its end whatever fails on the way: a folder or skin that vanished or
    /// a file that cannot be deleted loses its mark all the same. Everything that could not be
    /// taken out is told once, at the end, with where the sweep moved files; answers false when
    /// there was any such thing.
    /// Refused before anything moves when a ledger cannot be rewritten or a loaded mission's
    /// saves could not be moved (a read-only save, Savedata or store). A mission whose saves
    /// fail to move all the same (a full disk) stays loaded with its files, and is told.
    /// Only the player stops it: a cancel (through the selector's `Progress`) undoes the unload
    /// under way, does nothing more, and tells the player what is still loaded.
    bool run();

    /// The start-up step after the re-load: a reset that a crash cut short (its journal is
    /// still there) is run again, so nothing it had not reached stays loaded. The operation it
    /// was on has been put right by the operation journal's recovery before.
    void resume();

private:
    /// Each answers false when an unload was cancelled.
    bool unloadContent();
    bool unloadSkins();
    /// Before anything moves: false, the player told, when the reset could not end true to
    /// the ledgers (one that cannot be rewritten) or would part a mission from its saves.
    bool mayRun();
    bool writeJournal(const QStringList &spared);
    void removeJournal();
    QStringList resumedSpared_; ///< the game's own files a reset cut short had found kept

    SelectorState &s_;
    Reporter &r_;
    OperationJournal &journal_;
    LoadedFiles &loadedFiles_;
    LoadedList &loadedList_;
    Options &options_;
    LoadFiles &loadFiles_;
    Skins &skins_;
    Planes &planes_;
};

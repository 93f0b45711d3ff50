// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Journal.h"
#include "KeptFiles.h"
#include "SaveExchange.h"
#include "SharedListing.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Reporter;
struct SelectorState;
class LoadedFiles;
class LoadedList;

/// Keeps the journal (`Journal`, "Journal.txt" in the VEK folder) of every operation that
/// changes the game folder, and puts things right at the next start when a crash cut one short.
///
/// An operation writes its record before its first file operation (`begin*`), moves it on at
/// each stage of a mission's save exchange, and removes it when its ledgers are rewritten
/// (`Scope`). A reset or an autoscript run is a sequence of such operations, one record each.
///
/// At start-up (`recover`, before the load sequence re-loads FoldersLoaded.txt) a record that
/// is still there is finished or undone:
/// - a load, an unload, a skin load or unload is finished (the folder whose files were going
///   out goes out, the folder whose files were coming in comes in) when every folder it loads
///   is still there, and undone otherwise (the files of the folder that is gone, known by the
///   names the record holds, are taken out again; a folder it unloaded comes back in);
/// - a mission's save exchange goes on from the stage it reached, so a save that exists only
///   once is moved, never deleted; one that still cannot be finished keeps its record, and the
///   next start tries again;
/// - a move in the load order is finished: the order it leaves, and each game file whose owner
///   it changes made its new owner's copy once the grids are read (`settle`);
/// - an aircraft swap is undone: every file it rewrites gets its old bytes back from the record,
///   so planes.dat, pnames.str, the menus, loadout.dat and the flight file are all as before.
/// The game files a load replaced are kept beside them until it is over (`kept`): a load that
/// is finished drops them, one that is undone puts them back. A kept file that no record claims
/// (a record lost or unreadable, the game folder used with another VEK folder since) is never
/// deleted: it goes back under its name when that is free, else beside it as "<name>.kept",
/// and the player is told once.
/// FoldersLoaded.txt (and SkinsLoaded.txt for a finished skin load) is then made to say what the
/// game folder holds, LoadOrder.txt what the whole operation (or none of it) leaves, and the
/// player is told once what was done. The record goes after the re-load (`settle`), once the
/// files it deleted that folders staying loaded carry are back.
///
/// Its work is in four files: the record (OperationJournal.cpp), the undo of an operation
/// cancelled, failed or unrecorded (OperationJournalUndo.cpp), the mission save exchange's
/// stages (OperationJournalSaves.cpp) and the start-up recovery (OperationJournalRecovery.cpp).
class OperationJournal {
public:
    OperationJournal(SelectorState &state, Reporter &reporter, LoadedFiles &loadedFiles,
                     LoadedList &loadedList)
        : s_(state), r_(reporter), loadedFiles_(loadedFiles), loadedList_(loadedList) {}

    /// Records the load of `Unigrid` row `row`, taking out `previousRow` (0 for none) first.
    /// False (the player told) when the record cannot be written: the operation must not start.
    /// While the window loads (no files are copied) nothing is recorded.
    bool beginLoad(int row, int previousRow);
    /// Records the unload of `Unigrid` row `row`.
    bool beginUnload(int row);
    /// Records the load of skin row `row` of `SK1`, taking out the loaded skins `others` of
    /// its slot first; `withFlt` is "Include 'flt' files".
    bool beginSkinLoad(int row, const QList<int> &others, bool withFlt);
    /// Records the unload of skin row `row`.
    bool beginSkinUnload(int row);
    /// Records a move in the load order (`operation` says which, "moving ..."): the order's
    /// ledger lines it leaves (`after`) and the game files whose owner it changes (`files`).
    /// A crash is finished at the next start: the order as `after` says, each of `files` its
    /// new owner's copy. Cancel and a failed copy are undone by `undoCancelled(0)` and
    /// `undoFailed(0, ...)` while the order is still the old one.
    bool beginReorder(const QString &operation, const QStringList &after, const QStringList &files);
    /// Records the swap of `G1` row `row` into its slot, with the bytes of every file in
    /// `targets` (empty paths are skipped) as they are now.
    bool beginSwap(int row, const QStringList &targets);

    /// The game files the operation recorded now has replaced so far, kept until it is over:
    /// a load passes them to `FileMover::MoveIn`; the end of the `Scope` drops them, before the
    /// record goes, so a crash never leaves a kept file that no record claims.
    KeptFiles &kept() { return kept_; }

    /// Unmarks the load grid's row `name` (a skin's row when `skin`): its load was undone and
    /// left it out. The grids are their parts': the selector plugs them in here.
    std::function<void(const QString &name, bool skin)> loadUndone;

    /// Whether an operation is under way (a `Scope` is open): the grids must not change then.
    bool underWay() const { return underWay_ > 0; }

    /// Makes the save exchange of the mission load (`loading`, `previous` the mission the same
    /// click takes out, or empty) or unload recorded now ready before any of the click's files
    /// move: every save copied and checked beside its target, nothing replaced or deleted. False,
    /// with `problems`, when that fails (a read-only save or folder, a full disk): then nothing
    /// has changed and the click must not go on. The exchange is given up when the operation
    /// ends without `missionLoad` or `missionUnload`.
    bool prepareMission(bool loading, const QString &previous, const QString &mission,
                        QStringList *problems);
    /// The mission save exchanges of `MissionSaves`, one journal stage per step: the one made
    /// ready by `prepareMission`, or (while the window loads, and at a start after a crash) one
    /// planned and made ready here.
    bool missionLoad(const QString &previous, const QString &mission, QStringList *problems);
    bool missionUnload(const QString &mission, QStringList *problems);

    /// The names of `folder`'s files as the open record lists them for taking it out, or null
    /// when no open record takes it out: an unload deletes by them instead of reading the
    /// folder a second time.
    const QStringList *listedOut(const QString &folder) const;
    /// The same for a folder the open record brings in.
    const QStringList *listedIn(const QString &folder) const;

    /// Undoes the swap recorded now (a write failed): every file gets its old bytes back.
    bool undoSwap(QStringList *problems);

    /// The files the operation recorded now moves: those its loads copy and its unloads delete.
    qsizetype files() const;

    /// After the player cancelled the operation recorded now (its `Progress` said stop): puts
    /// the game folder back as it was before it. Moves before `reached` were done, move
    /// `reached` was cut short. Folders it took out are copied back in, folders it brought in
    /// are taken out (the one cut short has had its copies removed by the mover), and then every
    /// file of those folders that a loaded folder carries is made its owner's copy again. The
    /// caller has put the grids' marks back first; the ledgers are not rewritten, as they never
    /// changed. Tells the player what was cancelled and what happened.
    void undoCancelled(qsizetype reached);
    /// The same undo after a move failed: a click that fails half-way leaves everything as
    /// before it. `cause` says why (the mover's message, not told yet); the player is told in one
    /// message what failed and what happened to each folder the click had taken out. A folder
    /// that cannot be brought back in is unmarked, and the ledgers then say it is out. A
    /// sequence goes on.
    void undoFailed(qsizetype reached, const QString &cause);

    /// A ledger write failed (`error` names the file and why). While an operation is recorded
    /// the error waits for that operation to undo itself (`undoUnrecorded`), since its files
    /// would otherwise stay in the game folder without the ledger knowing them; otherwise the
    /// player is told now.
    void ledgerFailed(const QString &error);
    /// Whether a ledger write of the operation recorded now failed: it must be undone.
    bool unrecorded() const { return !ledgerError_.isEmpty(); }
    /// Undoes the operation recorded now after one of its ledger writes failed: the ledgers
    /// get the bytes they had when it began, and every move it made (or the swap's files) is
    /// undone. `reached` is as for `undoFailed` (-1: every move was done). The caller has put
    /// the grids' marks back first. Tells the player which ledger could not be written, why,
    /// and what was undone.
    void undoUnrecorded(qsizetype reached = -1);
    /// Whether the last operation was cancelled (and undone): a sequence stops there.
    bool cancelled() const { return cancelled_; }
    /// A sequence starts: a cancel before it says nothing of its operations.
    void forgetCancel() { cancelled_ = false; }

    /// Removes the record when the scope ends: the operation's ledgers have been rewritten.
    /// While the scope lasts, the front end's `Progress` follows the operation's files.
    class Scope {
    public:
        explicit Scope(OperationJournal &journal) : journal_(journal) { journal_.started(); }
        ~Scope() {
            journal_.ended();
            journal_.end();
        }
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        OperationJournal &journal_;
    };

    /// The start-up step: finishes or undoes the operation a crash cut short, if any, and
    /// brings the ledgers (the loaded list, the load order) to what the game folder holds.
    void recover();
    /// The start-up step after the re-load, when the grids say who carries what: the files the
    /// recovered operation deleted that a folder staying loaded carries are copied back from
    /// their owner, as after a whole unload (or every file of an undone operation is made its
    /// owner's copy, as after a cancel); then the record goes.
    void settle();
    /// Whether `recover` found a record in this run.
    bool recovered() const { return recovered_; }

private:
    bool begin(Journal::Record record);
    void undoMoves(qsizetype reached, const QString &said, const QString &cause = QString());
    void keepLedgers();
    void restoreLedgers(QStringList *problems);
    void end();
    void started();
    void ended();
    int underWay_ = 0;
    bool advance(const QString &stage, const QStringList &held, QStringList *problems);
    bool saves(bool loading, QString stage, QStringList *problems);
    bool commitSaves(bool loading, QStringList *problems);
    Journal::Move contentMove(bool in, int row) const;
    Journal::Move skinMove(bool in, int row, bool withFlt) const;
    QStringList markedAircraft() const;

    bool takeOut(const Journal::Move &move, QStringList *problems,
                 const QStringList *listed = nullptr) const;
    bool proven(const Journal::Move &move, Journal::Move *proof, QStringList *problems);
    bool takeOutProven(const Journal::Move &move, QStringList *problems);
    bool bringIn(const Journal::Move &move, QStringList *problems);
    void adoptKept(const Journal::Record *record, QStringList *problems);
    bool finish(Journal::Record &record, QList<QByteArray> *ledger, QStringList *problems);
    void undo(const Journal::Record &record, QList<QByteArray> *ledger, QStringList *problems);
    void setSkinsLoaded(int slot, const QString &folder, QStringList *problems) const;

    SelectorState &s_;
    Reporter &r_;
    LoadedFiles &loadedFiles_;
    LoadedList &loadedList_;
    Journal::Record record_;
    KeptFiles kept_;
    SaveExchange savesOut_; ///< the mission save exchange made ready: Savedata's files leave
    SaveExchange savesIn_;  ///< and its new files come
    bool savesReady_ = false;
    QStringList savesHeld_;
    bool keepRecord_ = false; ///< the record outlives the operation: the next start goes on
    bool open_ = false;
    /// While the operation is open, each folder is listed once for all its steps (the deletes,
    /// the cheat byte, the game files put back): a game folder of tens of thousands of files
    /// would otherwise be read three times by one unload.
    std::optional<SharedListing::Scope> listings_;
    bool recovered_ = false;
    bool cancelled_ = false;
    /// The ledgers as the operation recorded now found them, put back when it is undone.
    struct LedgerBytes {
        QString path;
        bool existed = false;
        QByteArray bytes;
    };
    QList<LedgerBytes> ledgers_;
    QString ledgerError_;
    // Left for `settle` by `recover`.
    bool settling_ = false;
    QString operation_;
    QStringList deleted_;
    QStringList putBack_;
    /// The recovered mission's save exchange could not be finished: its record stays.
    bool savesUnfinished_ = false;
};

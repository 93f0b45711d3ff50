// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileCheck.h"
#include "Journal.h"
#include "KeptFiles.h"
#include "Ownership.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class Reporter;
struct SelectorState;

/// What the loaded content folders and skins put into the game folder, and who owns each file:
/// the part behind "Check loaded files", "Repair" and the restore of shared files after an
/// unload.
///
/// The owner of a file is the folder loaded last of those that carry it. `FoldersLoaded.txt`
/// lists folders in grid order, not load order, so the order is kept in a ledger of its own,
/// `LoadOrder.txt` in the VEK folder: a line per loaded content folder ("folder", a tab, its
/// name) or skin ("skin", a tab, its name, and a tab and "no flt" when it was loaded without
/// its .FLT files), earliest first. It follows the grids' marks whenever the loaded list is
/// rewritten: what was unloaded leaves it, what was loaded is added at its end. A folder the
/// marks show loaded that the ledger does not name (a first start with this ledger, a ledger
/// lost) counts as loaded before all others, content folders then skins in grid order.
///
/// Beside it, `LoadedNames.txt` keeps the names of the files each of them brought (a line
/// "folder" or "skin", a tab, its name, a tab, a file's name), taken when it came into the
/// ledger: a folder that has gone from the VEK folder since can still be taken out by them.
///
/// The ledger and the restores are in LoadedFiles.cpp, check and repair in LoadedFilesCheck.cpp,
/// the conflicts view (the click preview, the shared files) in LoadedFilesConflicts.cpp.
class LoadedFiles {
public:
    LoadedFiles(SelectorState &state, Reporter &reporter) : s_(state), r_(reporter) {}

    /// Brings the load order up to the grids' marks and rewrites the ledger when it changed:
    /// what was loaded since goes to the end.
    void follow();
    /// The same at start-up, after the re-load has set the marks: the ledger is read again,
    /// and what the marks show loaded without a record goes before what it records.
    void startUp();
    /// The ledger was put back as it was before an operation that was undone: it is read
    /// again before its next use.
    void forget() { read_ = false; }

    /// The loaded names in load order, earliest first (content folders and skins).
    QStringList order();

    /// The names of the files the ledgers record the content folder or skin `name` as having
    /// brought into the game folder (empty when they record none). Read before the start-up re-load
    /// forgets a folder that has gone.
    QStringList recordedNames(const QString &name);
    /// A content folder the ledger named has gone from the VEK folder; of the files it brought,
    /// `present` are still in the game folder. `askAboutGone` offers to take them out.
    void noteGone(const QString &name, const QStringList &present);
    /// Asks the player, once, whether to take out of the game folder the files of the folders
    /// `noteGone` was told of (those no loaded folder or skin carries), and deletes them when
    /// the answer is OK. Nothing when there are none. Answers false when a file could not be
    /// deleted (the player told).
    bool askAboutGone();
    /// Whether `askAboutGone` has anything to ask.
    bool goneToAsk() const { return !gone_.isEmpty(); }

    /// The ledger's lines as they stand now (brought up to the grids' marks first): an
    /// operation's journal record keeps them, so that the recovery after a crash knows the
    /// order the operation began from.
    QStringList ledgerLines();
    /// The recovery at start-up, before the re-load, of an operation a crash cut short:
    /// rewrites the ledger as the whole operation would have left it, or as it was before, when
    /// it was undone. `before` is the ledger the record kept (empty: the ledger as it is now);
    /// each folder or skin of the record's `moves` that the loaded list `loaded` names keeps its
    /// place there, or goes to the end when it came in, and the others leave it.
    void recovered(const QStringList &before, const QList<Journal::Move> &moves,
                   const QList<QByteArray> &loaded);

    /// Who carries what now; `without` (a folder's path) is left out, as if unloaded.
    Ownership ownership(const QString &without = QString());

    /// "Check loaded files": fills `Findings` and `CheckResult`. Answers true when every
    /// loaded file is whole. Files that cannot be read are told to the player.
    bool check();

    /// "Repair": copies back exactly what a check finds now, tells the player what was copied
    /// from where, then checks again. Answers false when something is still off.
    bool repair();

    /// The game files a load of the content folder or skin `name` would replace, each a line
    /// "file TAB present owner" (a loaded folder or skin, or "game" where no loaded content
    /// carries it), in name order. Answers false (the player told) when no folder or skin has
    /// that name.
    bool conflictsOf(const QString &name, QStringList *lines);
    /// Every game file that more than one loaded folder or skin carries, each a line
    /// "file TAB the owner that wins now TAB the others, latest first, joined by ", "".
    /// `tell`: a loaded folder that cannot be read is told to the player (else it is left out
    /// silently, as the window's conflicts view does on every refresh).
    QStringList sharedFiles(bool tell = true);

    /// What a click on the load grid's row `row` would do to the game folder, in a sentence
    /// or two for the hover beside the row's description. For a folder not loaded: how many
    /// game files its load replaces, and whose they are now (a loaded folder's, the game's
    /// own). For a loaded one: how many files its unload deletes, and how many of those come
    /// back from folders that stay loaded. Empty for a row that is not a content folder.
    ///
    /// Pointing moves from row to row quickly, so the picture of who carries what and the
    /// game folder's names are kept between calls, until the loaded list or the game folder's
    /// names change (its modification time says so).
    QString clickPreview(int row);

    /// Called when an unload has deleted the files of `folder` (a content folder or skin still
    /// marked loaded): the deleted files that a folder staying loaded also carries are copied
    /// back from the one of those loaded last, and the player is told which came from where.
    void restoreAfterUnload(const QString &folder);
    /// The rule behind `restoreAfterUnload`, also for the recovery at start-up of an operation
    /// that deleted files: of `deleted`, the files that a loaded folder or skin other than
    /// `without` (a folder's path, or empty) carries and that are gone are copied back from
    /// their owner. Answers what was copied, "file from "folder"" each.
    QStringList restoreDeleted(const QStringList &deleted, const QString &without,
                               QStringList *problems);

    /// Which game files a load of `without` (a folder's path) replaces are the game's own: those
    /// no other loaded folder or skin carries. Who carries what is read at the first question.
    KeptFiles::Rule gameOwnRule(const QString &without);
    /// The same at start-up, before the grids are read, for the recovery of a load a crash cut
    /// short: the carriers are the folders and skins of `ledgerLines` (LoadOrder.txt's lines
    /// as the journal's record kept them) but those of `without` (folders' paths).
    KeptFiles::Rule gameOwnRuleOf(const QStringList &ledgerLines, const QStringList &without);
    /// After an operation that unloaded something, once its journal record is gone, and at
    /// start-up: the game's own files kept while loaded content replaced them go back under
    /// their names when no loaded folder or skin (other than `without`, a folder's path)
    /// carries them, and the player is told. `found`, when given, holds the kept names as the
    /// caller has just listed them.
    void putBackGameOwn(const QString &without, const QStringList *found = nullptr);

    /// After a cancelled operation was undone: the files named `names` that a loaded folder
    /// carries are made their owner's copy again (problems go to `problems`).
    void putBack(const QStringList &names, QStringList *problems);

    /// Whether unloads restore shared files; the complete reset turns it off, since it takes
    /// everything out anyway.
    bool RestoreShared = true;

    /// The last check's findings, and its result as the page "What is loaded!" shows it: one
    /// line per finding (`FileCheck::Finding::line`), or a line saying all is whole.
    QList<FileCheck::Finding> Findings;
    QString CheckResult;

    /// The files that the selector itself changes after loading them (an aircraft swap, a
    /// fuel click, the cheat byte, eaw.ini and eaw.exe): checked for presence only.
    bool changedBySelector(const QString &name);

    /// The names of `folder`'s files as the operation under way has just listed them (its
    /// journal's record), or null: what a folder loaded now brings is taken from them.
    std::function<const QStringList *(const QString &folder)> listed;

    /// Called when LoadOrder.txt could not be written (the file and why): the operation under
    /// way must be undone.
    std::function<void(const QString &)> ledgerFailed;

    /// One line of the load order: a content folder or a skin (and whether its .FLT files came).
    struct Entry {
        bool skin = false;
        QString name;
        bool withFlt = true;
        bool operator==(const Entry &o) const = default;
    };
    /// The load order's entries, earliest first (brought up to the grids' marks first).
    QList<Entry> entries();
    /// Puts the same entries in the order `order` and rewrites the ledger: a move in the load
    /// order, whose copies are made. A list that is not a reordering of `entries()` is ignored.
    void reorder(const QList<Entry> &order);
    /// The ledger lines of `order`, as LoadOrder.txt holds them.
    static QStringList linesOf(const QList<Entry> &order);
    /// The folder of `e` (empty for a content folder the grid does not know).
    QString folderOf(const Entry &e) const;

private:
    QList<Entry> marked() const;
    static QList<Entry> parse(const QList<QByteArray> &lines);
    QList<QByteArray> lines() const;
    void readLedger();
    void reconcile(bool unknownFirst);
    void writeLedger();
    static QString key(const Entry &e);
    QStringList brought(const Entry &e) const;
    QList<Ownership::Carrier> carriers(const QString &without);
    QList<Ownership::Carrier> carriersOf(const QList<Entry> &entries, const QString &without) const;
    Ownership markedOwnership(const QString &without);
    bool run(QStringList *problems);
    struct Replaced {
        QString file;
        QString owner; ///< a loaded folder or skin, or empty for the game's own
    };
    QList<Replaced> replacedBy(const Entry &entry, const QString &folder, bool tell);
    void refreshPicture(bool tell);

    SelectorState &s_;
    Reporter &r_;
    QList<Entry> order_;
    /// The files each entry of `order_` brought, by `key`.
    QHash<QString, QStringList> names_;
    bool read_ = false;
    /// The folders gone from the VEK folder whose files are still in the game folder.
    QList<QPair<QString, QStringList>> gone_;
    QStringList presenceOnly_;

    // The picture `clickPreview` and `conflictsOf` read, and what it was taken of.
    struct Picture {
        bool valid = false;
        QList<Entry> order;
        qint64 gameFolderTime = 0;
        Ownership owners;
        QSet<QString> inGame; ///< the game folder's names, case-folded
    } picture_;
};

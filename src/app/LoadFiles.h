// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileMover.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

class Reporter;
struct SelectorState;
struct LoadFilesFields;
class OperationJournal;
class LoadedList;
class Options;
class Mover;
class Planes;

/// The page "Load Files": the load grid's click handler with its group rules and the
/// mission save exchange, the start-up re-load, the group filter and the hover description.
class LoadFiles {
public:
    LoadFiles(SelectorState &state, Reporter &reporter, OperationJournal &journal,
              LoadedList &loadedList, Options &options, Mover &mover, Planes &planes)
        : s_(state), r_(reporter), journal_(journal), loadedList_(loadedList), options_(options),
          mover_(mover), planes_(planes) {}

    /// A click (or Enter) on grid row `row`: unloads a loaded folder, loads another. Answers
    /// false when a file operation stopped it (the player has been told; the grid and the
    /// ledger say what is in the game folder).
    bool click(int row);

    /// Whether the last click stopped before anything moved because its campaign saves could
    /// not be exchanged (the player has been told that the folder stays as it was).
    bool savesStopped() const { return savesStopped_; }

    /// The start-up re-load of one FoldersLoaded.txt line: every row of its name (`rows`, found
    /// by the caller in an index of the grid) is marked through the click handler while the
    /// window is still loading (no files are copied). Answers whether an "F" row was clicked,
    /// which gives the aircraft grid new rows.
    bool reloadRows(const QList<int> &rows);
    /// Before the re-load: what each folder the ledger marks loaded brings into the game folder
    /// (its path, the names its load copies), asked of `brings` when the re-load first takes a
    /// folder out. A folder the re-load takes out to make way for another of its group leaves
    /// the names that a folder staying loaded brings too: nothing is copied while the window
    /// loads, so a file deleted then would be missing afterwards. Empty after the re-load.
    /// Given, it starts the re-load; empty, it ends it.
    void reloadCarriers(std::function<QHash<QString, QStringList>()> brings);

    /// The load sequence's steps: the group filter `List3` and the group table from vek.ini;
    /// the content catalogue in `Unigrid`, its problems told with the start-up messages.
    void readGroupTable();
    void buildCatalogue();
    /// Colours the loaded rows as loaded (the loaded list was rebuilt).
    void colourLoaded();
    /// Unmarks row `name` (row `row`): a load undone, or a reset, left it out.
    void unmark(const QString &name);
    void unmarkRow(int row);

    /// Group filter entry `index` of `List3`.
    void filter(int index);

    /// The pointer is over grid row `row` (0 for the header): the row's description and
    /// preview picture. Moving within the same row does nothing.
    void hover(int row);
    /// The VEK folder's folders read again, for folders added or removed since the catalogue
    /// was built: a new folder comes in as an unloaded row, in its place by name; a folder
    /// gone goes, unless it is loaded (its files are in the game folder, and its unload tells
    /// that the folder has gone). Marks and the group filter are kept. Answers whether any row
    /// came or went.
    bool rescan();
    /// The pointer left the grid for the filter list or the frame.
    void clearDescription();

    /// Whether an "F" folder carries alternative aircraft ("P-" subfolders, any case).
    static bool hasAltPlanes(const QString &folder);

    int ClickedRow = 0;
    int PreviousRow = 0;
    int LastHoverRow = -1;
    bool HasAltPlanes = false;
    QString MyLabel; ///< description of the row under the pointer (lines end CR LF)
    QString MyImage; ///< path of its preview picture, or empty

private:
    bool unload(int row);
    bool load(int row);
    void undoLoad(qsizetype reached, bool swapped);
    /// Makes the mission save exchange of the click ready (see
    /// `OperationJournal::prepareMission`); false, the player told, when the click must stop.
    bool readySaves(bool loading, const QString &previous, const QString &mission);
    void planesAfterLoad(int row);
    bool savesStopped_ = false;

    LoadFilesFields &own();
    SelectorState &s_;
    Reporter &r_;
    OperationJournal &journal_;
    LoadedList &loadedList_;
    Options &options_;
    Mover &mover_;
    Planes &planes_;
    /// The folders the re-load has unloaded to make way for another of their group. Nothing is
    /// copied into the game folder while the window loads, so a second unload of one of them
    /// would find nothing to delete; a long ledger that names the folders of a group in turn
    /// would otherwise read the game folder once a line.
    QSet<QString> movedOutWhileLoading_;
    /// The re-load's carriers (`reloadCarriers`), and for each folded name how many of those
    /// not taken out yet bring it.
    std::function<QHash<QString, QStringList>()> reloadCarriers_;
    bool reloadCounted_ = false;
    QHash<QString, QStringList> reloadBrings_;
    QHash<QString, int> reloadCount_;
    /// The rule for taking out `folder` while the window loads: the names still brought by
    /// another folder of the ledger stay.
    FileMover::Rule reloadKeep(const QString &folder);
    /// Whether the start-up re-load is under way (between the two `reloadCarriers` calls).
    bool reloading_ = false;
    /// While it is, the loaded row of each group letter. Rows are marked only by `reloadRows`
    /// then, and a load takes out the loaded row of its letter, so a letter has one at most
    /// (the last of the grid, should the re-load find several). A ledger of many lines thus
    /// costs one walk of the grid, not one a line.
    QHash<QString, int> reloadMarked_;
    /// `LoadGrid::takenOutBy` while the re-load is under way, answered by `reloadMarked_`.
    int reloadTakenOutBy(int row) const;
};

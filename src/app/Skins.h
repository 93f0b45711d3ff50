// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Reporter;
struct SelectorState;
struct SkinsFields;
class OperationJournal;
class LoadedFiles;
class LoadedList;
class Planes;

/// The skin side of the page "Planes and Skins": the grid `SK1` (kept by the selector), the
/// description `Label4` and picture `Image2` of the skin clicked or under the pointer, the
/// load and unload of a skin with at most one skin per aircraft slot, and "Include 'flt'
/// files".
class Skins {
public:
    static inline const QString Check5Caption = QStringLiteral("Include 'flt' files");
    static inline const QString Check5ToolTip =
        QStringLiteral("If checked it will load any *.fly files which come with the skin folder");

    Skins(SelectorState &state, Reporter &reporter, OperationJournal &journal,
          LoadedFiles &loadedFiles, LoadedList &loadedList, Planes &planes);

    /// Fills `SK1` from the skin folder (once, while the window loads).
    void fill();

    /// A click on `SK1` row `row`, or a change of its current cell: shows the skin and takes
    /// its slot as `SkinSlot`. Does nothing while `SkinEventsOn` is false.
    void click(int row);

    /// The pointer is over `SK1` row `row`: shows that skin; moving within the row does
    /// nothing.
    void hover(int row);
    /// The skin folders read again, as `LoadFiles::rescan` does for content folders: new ones
    /// come in unloaded, gone ones go unless loaded; marks and the slot filter are kept.
    /// Answers whether any row came or went.
    bool rescan();

    /// A double-click or Enter on `SK1` row `row`: unloads a loaded skin, loads another (taking
    /// a loaded skin of the same slot out first). A skin is loaded whole or not at all: when a
    /// copy fails the copies made are removed again and the player is told. Answers false when
    /// the skin could not be loaded or unloaded (the player has been told why).
    bool activate(int row);

    /// The slot filter's entry `entry` ("A-05: ...", empty for "ALL"): only that slot's skins
    /// are shown.
    void filter(int entry, const QString &entryText);
    /// "Include 'flt' files" ticked or not: whether a skin's .FLT files load with it.
    void includeFlt(bool on);
    /// Clicks on `SK1` show nothing until the grid is filled again (while the window loads).
    void ignoreClicks();
    /// Marks `row` loaded or not: an unload or a recovery changed what is in the game folder.
    void mark(int row, bool loaded);
    /// The start-up re-load of the FoldersLoaded.txt lines (`SkinGrid::markLines`).
    QList<bool> markLines(const QStringList &lines);

    /// `SkinTable`: per slot 0 to 30, the path of the skin folder last loaded for it in this
    /// run (empty until then). An unload leaves its entry.
    QStringList SkinTable;
    int SkinSlot = -1;
    QString Label4; ///< description of the skin shown (lines end CR LF)
    QString Image2; ///< its picture, or the game's background picture, or empty
    int LastHoverRow = -1;

private:
    QString folderOf(int row) const;
    void show(int row);
    bool takeOut(int row);
    bool unload(int row);
    bool load(int row);
    bool writeSkinsLoaded();

    SkinsFields &own();
    SelectorState &s_;
    Reporter &r_;
    OperationJournal &journal_;
    LoadedFiles &loadedFiles_;
    LoadedList &loadedList_;
    Planes &planes_;
};

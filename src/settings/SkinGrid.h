// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The skin grid `SK1` of the page "Planes and Skins": one row per folder of the VEK folder's
/// "Skinfolder", in name order, below a header row. Row numbers are the grid's: skins are rows
/// 1 and up. A skin folder's name carries the aircraft slot it dresses ("A-05 Red Tails" is
/// slot 5), and its files are copied into the game folder by the copy rule and taken out by
/// the delete rule below.
class SkinGrid {
public:
    /// Equal when nothing the grid shows differs.
    bool operator==(const SkinGrid &) const = default;

    /// Column-0 backgrounds, stored blue-green-red as the grid keeps them.
    static constexpr unsigned LoadedColour = 0xC0E0FF;
    static constexpr unsigned DefaultCellColour = 0x80000005;
    static constexpr int ShownHeight = 240; ///< twips
    static constexpr int LastSlot = 30;
    static inline const QString Folder = QStringLiteral("Skinfolder");
    /// Where a skin's description and preview picture are looked for.
    static inline const QString Pictures = QStringLiteral("mypic;skinpic;*.jpg");

    struct Row {
        QString name;        ///< column 0: the skin folder's name
        bool loaded = false; ///< column 1 holds "S"
        unsigned colour = DefaultCellColour;
        int height = ShownHeight;
        bool operator==(const Row &) const = default;
    };

    QList<Row> rows;

    int rowCount() const { return int(rows.size()) + 1; }
    Row &row(int r) { return rows[r - 1]; }
    const Row &row(int r) const { return rows.at(r - 1); }
    /// The grid row named exactly `name`, or 0.
    int find(const QString &name) const;

    /// Fills the grid from the subfolders of `skinFolder`; a missing folder gives no rows.
    void fill(const QString &skinFolder);

    /// Marks `row` loaded or not, with its colour.
    void mark(int row, bool loaded);

    /// The start-up re-load of the FoldersLoaded.txt lines: every row whose name ends a line
    /// is marked loaded (the line may carry more in front, such as a path). A line costs a
    /// lookup per distinct length of the names, never a pass over the rows, however long the
    /// ledger is. Answers, for each line, whether it marked a row.
    QList<bool> markLines(const QStringList &lines);

    /// The slot filter: entry 0 ("ALL", empty `entryText`) shows every row; otherwise only
    /// rows whose first four characters equal those of `entryText` ("A-05").
    void filter(int entry, const QString &entryText);

    /// The slot a skin folder's name gives: the whole number at its third character (blanks
    /// and a sign allowed before the digits, anything after them ignored). -1 when there are
    /// no digits there or the number lies outside 0 to 30.
    static int slotOf(const QString &name);

    /// The copy rule: whether a load leaves the file `name` out. The description, the preview
    /// pictures "SKINPIC" and "MYPIC" and every ".JPG", ".ASK" and ".PCX"; and ".FLT" files
    /// unless `withFlt` ("Include 'flt' files").
    static bool skippedOnLoad(const QString &name, bool withFlt = true);

    /// The delete rule: whether an unload leaves the game folder's file `name` in place. The
    /// copy rule's kinds plus the game data a skin may bring, which other content shares:
    /// LOADOUT.DAT, PLANES.DAT, WEAPONS.DAT and every ".FLT" and ".STR" file.
    static bool keptOnUnload(const QString &name);
};

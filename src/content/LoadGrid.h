// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class GroupTable;

/// The load grid `Unigrid`: one row per content folder, in name order, below a header row.
/// Row numbers are the grid's: row 0 is the header, content folders are rows 1 and up.
class LoadGrid {
public:
    /// Equal when nothing the grid shows differs.
    bool operator==(const LoadGrid &) const = default;

    /// Cell colours, stored blue-green-red as the grid keeps them.
    static constexpr unsigned LoadedColour = 0xC0FFC0;
    /// The background of an unmarked cell: the system's window colour.
    static constexpr unsigned DefaultCellColour = 0x80000005;
    static constexpr int ShownHeight = 240; ///< twips
    static constexpr int HeaderColumnWidth = 5000;

    static inline const QString AllAvailable = QStringLiteral("All folders are available");
    static inline const QString OneOnly = QStringLiteral("Only one selection can be made!");
    static inline const QString Multiple = QStringLiteral("Multiple selections are allowed!");
    static inline const QString Instruction = QStringLiteral(
        "Click on a white row to load a folder, or click on a green row to unload it.");

    struct Row {
        QString path;        ///< column 0: full path of the content folder
        QString name;        ///< column 1
        bool loaded = false; ///< column 2 holds "S"
        int height = ShownHeight;
        unsigned colour = DefaultCellColour; ///< background of column 1
        bool operator==(const Row &) const = default;
    };

    /// Rows 1.. of the grid.
    QList<Row> rows;
    /// The header's hint (row 0, column 1).
    QString hint = AllAvailable;

    int rowCount() const { return int(rows.size()) + 1; }
    Row &row(int r) { return rows[r - 1]; }
    const Row &row(int r) const { return rows.at(r - 1); }

    /// The grid row whose name is exactly `name`, or 0.
    int find(const QString &name) const;

    /// The group letter of row r: the first character of its name.
    QString letter(int r) const { return row(r).name.left(1); }

    /// The loaded row a load of row r takes out: one folder of a group letter is loaded at a
    /// time, "G" excepted, so it is the loaded row of r's letter (the last, should there be
    /// several); 0 when there is none. The click and the pointer's preview both ask this, so
    /// the preview names what the click does.
    int takenOutBy(int r) const;

    /// Whether the name is listed at all (the autoscript and skin folders are not).
    static bool listed(const QString &name);

    /// The campaign store of a mission folder "M-" or "M " + rest: "C-" + rest ("Mrest":
    /// "Crest"); empty for other names, and for a mission whose name gives no rest ("M",
    /// "M-"): such a mission has no store, and its saves are not exchanged.
    static QString storeOf(const QString &missionName);

    /// The group filter for entry `index` of the filter list (0 "Show ALL", 1 "Show
    /// Selections", 2.. the groups of `groups`).
    void filter(int index, const GroupTable &groups);

    /// Height of the grid in twips for `rowCount` rows: up to 26 rows it fits them all;
    /// beyond, it shows 26 and scrolls.
    static int gridHeight(int rowCount, int rowHeight = ShownHeight);
};

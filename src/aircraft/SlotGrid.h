// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// The aircraft grid `G1`: one row per alternative aircraft of the loaded content folder,
/// below a header row. Row numbers are the grid's: content rows are 1 and up.
class SlotGrid {
public:
    /// Equal when nothing the grid shows differs.
    bool operator==(const SlotGrid &) const = default;

    static constexpr unsigned MarkedColour = 0xC0FFC0;
    static constexpr unsigned DefaultCellColour = 0x80000005;
    static constexpr int ShownHeight = 240;

    struct Row {
        QString folder;                      ///< column 0: the "P-" folder's own name
        QString slotText;                    ///< column 1: line 2 of its .vek file, as read
        QString code;                        ///< column 2: the slot's code, upper case
        QString name;                        ///< column 3: line 1 of its .vek file, as read
        bool marked = false;                 ///< column 4 holds "S": this alternative is swapped in
        unsigned colour = DefaultCellColour; ///< background of column 3
        int height = ShownHeight;
        int slot = -1;
        bool operator==(const Row &) const = default;
    };

    QList<Row> rows;
    /// `Label2`: the content folder's path and a separator, the base of the rows' folders.
    QString base;

    int rowCount() const { return int(rows.size()) + 1; }
    Row &row(int r) { return rows[r - 1]; }
    const Row &row(int r) const { return rows.at(r - 1); }
    QString folderPath(int r) const { return base + row(r).folder; }

    void clear() {
        rows.clear();
        base.clear();
    }

    /// `GridSet`: lists the "P-" folders of `contentFolder` in name order. A folder whose
    /// .vek file is missing or unusable is not offered; `problems` says why. Answers false
    /// (the grid empty) when the folder has no "P-" folder at all.
    bool GridSet(const QString &contentFolder, QStringList *problems);

    /// Marks row `r` swapped in and unmarks the other rows of its slot.
    void mark(int r);

    /// The rows of each folder name, for the start-up re-load, which marks the rows a
    /// FoldersLoaded.txt line names (`markRows`) without a pass over the grid per line.
    QHash<QString, QList<int>> rowsByFolder() const;
    void markRows(const QList<int> &rowIndexes);

    /// The slot filter: all rows shown for entry 0, else only the rows of slot `entry` - 1.
    void filter(int entry);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The keyboard-control feature table `KC` of the game folder, as the grid `G7` holds it:
/// row 0 is the header, row r (1..30) is line r of the file split at tabs: the description
/// in column 0, the codes in the columns after it.
///
/// A missing KC is an empty table (no features is a normal game folder). Only 30 features can
/// be chosen (there are 30 buttons), so lines past the 30th are not taken; `skipped` tells how
/// many were left out, for the player to hear of it. Empty lines count as features, since a
/// feature's number is its line number and the cheat check sends that number to the other
/// players.
class FeatureTable {
public:
    static constexpr int MaxFeatures = 30;
    static inline const QString Header = QStringLiteral("Feature to be disabled:");

    /// Reads GameFolder\KC (any case). Answers false with `error` when the file is there but
    /// cannot be read; the table is then empty.
    bool read(const QString &gameFolder, QString *error);

    /// Rows of the grid, header included.
    int rowCount() const { return int(rows_.size()) + 1; }
    /// Columns of the grid: enough for the longest line, at least the description column.
    int columnCount() const;
    /// Cell (row, column); row 0 is the header. Empty outside the table.
    QString cell(int row, int column) const;
    /// The codes of feature row `row` (columns 1 to the last).
    QStringList codes(int row) const;
    /// The number of features (rows without the header).
    int count() const { return int(rows_.size()); }
    /// KC lines past the 30th that were left out.
    int skipped = 0;
    /// Whether the game folder had a KC file at the last read.
    bool present = false;

private:
    QList<QStringList> rows_;
};

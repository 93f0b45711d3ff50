// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

/// The grid `Fuel`: one row per slot with its full fuel load (as read from the loaded content
/// folder's planes.dat) and the loads of 95% down to 10%, in columns 2 to 20.
class FuelGrid {
public:
    /// Equal when nothing the grid shows differs.
    bool operator==(const FuelGrid &) const = default;

    static constexpr int FirstColumn = 2;
    static constexpr int LastColumn = 20;
    static constexpr unsigned ChosenColour = 0xC0FFC0;

    struct Row {
        QString name;    ///< column 0: the slot's display name
        qint64 position; ///< column 1: 1-based position of the fuel's low byte
        int full = 0;    ///< column 2
        int chosenColumn = -1;
        bool operator==(const Row &) const = default;
    };

    /// Rows for slots 0..29; empty until a content folder with alternatives was loaded.
    QList<Row> rows;

    /// The header of column `c`: "100%" for column 2 down to "10%" for column 20.
    static QString header(int column);
    /// The load shown in column `c` for a full load `full`.
    static int value(int full, int column);

    /// Fills the grid from `planesDat`. A missing or short file leaves the grid empty and
    /// answers false with `error` naming the file: no numbers are shown that were not read.
    bool fill(const QString &planesDat, QString *error);
};

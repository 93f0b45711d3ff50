// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuelGrid.h"

#include "PlanesDat.h"
#include "Slots.h"

QString FuelGrid::header(int column) {
    return QString::number(100 - (column - FirstColumn) * 5) + QLatin1Char('%');
}

int FuelGrid::value(int full, int column) {
    return column == FirstColumn ? full : int(qint64(full) * (22 - column) / 20);
}

bool FuelGrid::fill(const QString &planesDat, QString *error) {
    QList<Row> filled;
    for (int slot = 0; slot < Slots::Count; ++slot) {
        int full = 0;
        if (!PlanesDat::readFuel(planesDat, slot, &full, error)) {
            rows.clear();
            return false;
        }
        filled.append(Row{Slots::displayNames().at(slot), PlanesDat::fuelPosition(slot), full});
    }
    rows = filled;
    return true;
}

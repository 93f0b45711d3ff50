// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class FuelGrid;

/// The grid `Fuel` for a view: 30 slot rows, column 0 the slot's name, column 1 the fuel
/// position (hidden), columns 2 to 20 the loads of 100% down to 10%.
class FuelGridModel : public GridModel {
    Q_OBJECT
public:
    explicit FuelGridModel(const FuelGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const FuelGrid &grid_;
};

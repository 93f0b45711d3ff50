// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class SlotGrid;

/// The aircraft grid `G1` for a view: columns 0 folder, 1 slot text, 2 slot code (hidden),
/// 3 aircraft name, 4 the "S" mark. Model row i is grid row i + 1.
class SlotGridModel : public GridModel {
    Q_OBJECT
public:
    explicit SlotGridModel(const SlotGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const SlotGrid &grid_;
};

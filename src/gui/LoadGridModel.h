// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class LoadGrid;

/// The load grid's rows for a view: column 0 the folder's path (hidden), column 1 its name,
/// column 2 the "S" mark. The header of column 1 carries the grid's hint. Model row i is grid
/// row i + 1.
class LoadGridModel : public GridModel {
    Q_OBJECT
public:
    explicit LoadGridModel(const LoadGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const LoadGrid &grid_;
};

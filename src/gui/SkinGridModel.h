// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class SkinGrid;

/// The skin grid `SK1` for a view: column 0 the skin folder's name (in the loaded colour when
/// loaded), column 1 the "S" mark. Model row i is grid row i + 1.
class SkinGridModel : public GridModel {
    Q_OBJECT
public:
    explicit SkinGridModel(const SkinGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const SkinGrid &grid_;
};

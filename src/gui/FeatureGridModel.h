// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class FeatureTable;

/// The keyboard-control grid `G7` for a view: column 0 the feature's description, the columns
/// after it its codes. Model row i is grid row i + 1; grid row 0 is the horizontal header.
class FeatureGridModel : public GridModel {
    Q_OBJECT
public:
    explicit FeatureGridModel(const FeatureTable &table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const FeatureTable &table_;
};

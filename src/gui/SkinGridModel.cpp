// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinGridModel.h"

#include "SkinGrid.h"

SkinGridModel::SkinGridModel(const SkinGrid &grid, QObject *parent)
    : GridModel(parent), grid_(grid) {}

int SkinGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(grid_.rows.size());
}

int SkinGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant SkinGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= grid_.rows.size())
        return {};
    const SkinGrid::Row &row = grid_.rows.at(index.row());
    if (role == Qt::DisplayRole)
        return index.column() == 0 ? row.name : (row.loaded ? QStringLiteral("S") : QString());
    if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) && index.column() == 0)
        return colour(row.colour, role);
    return {};
}

QVariant SkinGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return section == 0 ? QStringLiteral("Skins") : QString();
}

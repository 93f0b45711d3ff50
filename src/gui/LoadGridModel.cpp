// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadGridModel.h"

#include "LoadGrid.h"

LoadGridModel::LoadGridModel(const LoadGrid &grid, QObject *parent)
    : GridModel(parent), grid_(grid) {}

int LoadGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(grid_.rows.size());
}

int LoadGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant LoadGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= grid_.rows.size())
        return {};
    const LoadGrid::Row &row = grid_.rows.at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return row.path;
        case 1:
            return row.name;
        default:
            return row.loaded ? QStringLiteral("S") : QString();
        }
    }
    if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) && index.column() == 1)
        return colour(row.colour, role);
    return {};
}

QVariant LoadGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return section == 1 ? QVariant(grid_.hint) : QVariant(QString());
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuelGridModel.h"

#include "FuelGrid.h"

FuelGridModel::FuelGridModel(const FuelGrid &grid, QObject *parent)
    : GridModel(parent), grid_(grid) {}

int FuelGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(grid_.rows.size());
}

int FuelGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : FuelGrid::LastColumn + 1;
}

QVariant FuelGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= grid_.rows.size())
        return {};
    const FuelGrid::Row &row = grid_.rows.at(index.row());
    const int c = index.column();
    if (role == Qt::DisplayRole) {
        if (c == 0)
            return row.name;
        if (c == 1)
            return row.position;
        return FuelGrid::value(row.full, c);
    }
    if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) && c >= FuelGrid::FirstColumn &&
        c == row.chosenColumn)
        return colour(FuelGrid::ChosenColour, role);
    if (role == Qt::TextAlignmentRole && c >= FuelGrid::FirstColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant FuelGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return section >= FuelGrid::FirstColumn ? FuelGrid::header(section) : QString();
}

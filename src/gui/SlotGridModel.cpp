// SPDX-License-Identifier: GPL-3.0-or-later
#include "SlotGridModel.h"

#include "SlotGrid.h"

SlotGridModel::SlotGridModel(const SlotGrid &grid, QObject *parent)
    : GridModel(parent), grid_(grid) {}

int SlotGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(grid_.rows.size());
}

int SlotGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant SlotGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= grid_.rows.size())
        return {};
    const SlotGrid::Row &row = grid_.rows.at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return row.folder;
        case 1:
            return row.slotText;
        case 2:
            return row.code;
        case 3:
            return row.name;
        default:
            return row.marked ? QStringLiteral("S") : QString();
        }
    }
    if ((role == Qt::BackgroundRole || role == Qt::ForegroundRole) && index.column() == 3)
        return colour(row.colour, role);
    return {};
}

QVariant SlotGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    if (section == 2)
        return QStringLiteral("Slot");
    if (section == 3)
        return QStringLiteral("Aircraft");
    return QString();
}

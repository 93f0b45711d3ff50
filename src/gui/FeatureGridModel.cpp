// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeatureGridModel.h"

#include "FeatureTable.h"

FeatureGridModel::FeatureGridModel(const FeatureTable &table, QObject *parent)
    : GridModel(parent), table_(table) {}

int FeatureGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : table_.count();
}

int FeatureGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : table_.columnCount();
}

QVariant FeatureGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return table_.cell(index.row() + 1, index.column());
}

QVariant FeatureGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return table_.cell(0, section);
}

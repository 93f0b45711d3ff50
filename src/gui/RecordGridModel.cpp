// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordGridModel.h"

#include "PlanesDat.h"
#include "RecordEditor.h"

RecordGridModel::RecordGridModel(RecordEditor &editor, QObject *parent)
    : GridModel(parent), editor_(editor) {}

int RecordGridModel::rowCount(const QModelIndex &parent) const {
    // The row numbers stand from the start, also while no record is shown.
    return parent.isValid() ? 0 : PlanesDat::SpanSize;
}

int RecordGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 5;
}

QVariant RecordGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    if (index.column() == 4)
        return index.row() + 1;
    if (index.row() >= editor_.rows.size())
        return {};
    const RecordEditor::Row &row = editor_.rows.at(index.row());
    switch (index.column()) {
    case 0:
        return row.position;
    case 1:
        return row.read;
    case 2:
        return row.current;
    default:
        return {};
    }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    static const char *const titles[] = {"Pos", "Was", "Is", "", "Row"};
    return section >= 0 && section < 5 ? QString::fromLatin1(titles[section]) : QVariant();
}

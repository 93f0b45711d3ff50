// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringListModel.h"

#include "StringEditor.h"
#include "Text8.h"

StringListModel::StringListModel(StringEditor &editor, QObject *parent)
    : GridModel(parent), editor_(editor) {}

int StringListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(editor_.SFG2.size());
}

int StringListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 1;
}

QVariant StringListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= editor_.SFG2.size())
        return {};
    if (role == Qt::DisplayRole)
        return Text8::toUnicode(editor_.SFG2.at(index.row()));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteViewModel.h"

#include "StringEditor.h"

ByteViewModel::ByteViewModel(StringEditor &editor, QObject *parent)
    : GridModel(parent), editor_(editor) {}

int ByteViewModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 3;
}

int ByteViewModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(editor_.SFG1.size());
}

QVariant ByteViewModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.column() >= editor_.SFG1.size())
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const auto byte = static_cast<quint8>(editor_.SFG1.at(index.column()));
    switch (index.row()) {
    case 0:
        return StringEditor::character(byte);
    case 1:
        return int(byte);
    default:
        return index.column() + 1;
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class StringEditor;

/// The string list `SFG2` of the string file editor: one column, row i = string i.
class StringListModel : public GridModel {
    Q_OBJECT
public:
    explicit StringListModel(StringEditor &editor, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    StringEditor &editor_;
};

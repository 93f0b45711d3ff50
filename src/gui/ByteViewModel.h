// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class StringEditor;

/// The byte view `SFG1` of the string file editor: one column per byte of the file, row 0
/// the byte as a character, row 1 its value, row 2 its 1-based position. Cells are made when
/// the view asks for them, so a file of any size costs one model, not a widget per byte.
class ByteViewModel : public GridModel {
    Q_OBJECT
public:
    explicit ByteViewModel(StringEditor &editor, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    StringEditor &editor_;
};

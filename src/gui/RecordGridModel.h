// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GridModel.h"

class RecordEditor;

/// The byte grid `G1` of the planes.dat editor: columns 0 position, 1 value read, 2 value
/// written back, 3 empty, 4 the row number; model row k - 1 is span row k.
class RecordGridModel : public GridModel {
    Q_OBJECT
public:
    explicit RecordGridModel(RecordEditor &editor, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    RecordEditor &editor_;
};

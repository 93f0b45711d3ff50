// SPDX-License-Identifier: GPL-3.0-or-later
#include "GridModel.h"

#include "Contrast.h"

#include <QColor>

void GridModel::refresh() {
    const int rows = rowCount();
    const int columns = columnCount();
    if (rows == rows_ && columns == columns_) {
        if (rows > 0 && columns > 0)
            Q_EMIT dataChanged(index(0, 0), index(rows - 1, columns - 1));
        if (columns > 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, 0, columns - 1);
        return;
    }
    beginResetModel();
    rows_ = rows;
    columns_ = columns;
    endResetModel();
}

QVariant GridModel::colour(unsigned bgr, int role) {
    if (bgr & 0x80000000u)
        return {};
    const QColor background(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    return role == Qt::ForegroundRole ? Contrast::textOn(background) : background;
}

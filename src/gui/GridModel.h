// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>

/// A table model over one of the engine's grids. The engine changes the grid in place and
/// the page calls `refresh`: a change of cells is passed on as changed data, so the view
/// keeps its current cell and scroll position; only a change in the number of rows or
/// columns resets the view.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    /// The grid changed under the model.
    void refresh();

    /// A blue-green-red cell colour as a QColor for `Qt::BackgroundRole`, and for
    /// `Qt::ForegroundRole` the text colour that reads on it; the system window colour is no
    /// colour of its own (the view's base and text are used).
    static QVariant colour(unsigned bgr, int role = Qt::BackgroundRole);

private:
    int rows_ = -1;
    int columns_ = -1;
};

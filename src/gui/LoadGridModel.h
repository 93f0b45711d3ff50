#pragma once

#include <QAbstractTableModel>

class LoadGrid;

/// The load grid's rows for a view: column 0 the folder's path (hidden), column 1 its name,
/// column 2 the "S" mark. The header of column 1 carries the grid's hint. Model row i is grid
/// row i + 1.
class LoadGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LoadGridModel(LoadGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    /// The grid changed under the model.
    void reset();

    /// A blue-green-red cell colour as a QColor; the system window colour is no colour of
    /// its own (the view's base is used).
    static QVariant colour(unsigned bgr);

private:
    LoadGrid &grid_;
};

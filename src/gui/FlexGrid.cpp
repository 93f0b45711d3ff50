#include "FlexGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

FlexGrid::FlexGrid(const QString &name, QWidget *parent) : QTableView(parent) {
    setObjectName(name);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    connect(this, &QTableView::clicked, this, [this](const QModelIndex &index) {
        if (clickChooses_)
            Q_EMIT chosen(index);
    });
}

void FlexGrid::keyPressEvent(QKeyEvent *event) {
    const int key = event->key();
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) {
        if (currentIndex().isValid())
            Q_EMIT chosen(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void FlexGrid::refill(const std::function<void()> &fill) {
    const QModelIndex current = currentIndex();
    const int row = current.row();
    const int column = current.column();
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    fill();
    // A reset model lays its rows out later; the scroll range must be known before the old
    // position can be put back.
    executeDelayedItemsLayout();
    if (row >= 0 && row < model()->rowCount() && column < model()->columnCount() &&
        currentIndex() != model()->index(row, column))
        selectionModel()->setCurrentIndex(model()->index(row, column),
                                          QItemSelectionModel::NoUpdate);
    verticalScrollBar()->setValue(top);
    horizontalScrollBar()->setValue(left);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FlexGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

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
        // A row a filter hides is not the player's to choose: the keys would act on a row
        // they cannot see (a slot filter hides the other slots' aircraft).
        if (currentIndex().isValid() && !isRowHidden(currentIndex().row()))
            Q_EMIT chosen(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void FlexGrid::paintEvent(QPaintEvent *event) {
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid() || isRowHidden(current.row()))
        return;
    const int top = rowViewportPosition(current.row());
    const int width =
        std::min(viewport()->width(), horizontalHeader()->length() - horizontalHeader()->offset());
    const QRect row(0, top, width, rowHeight(current.row()));
    if (row.isEmpty())
        return;
    QPainter painter(viewport());
    const int pen = std::max(3, fontMetrics().height() / 5);
    painter.setPen(QPen(palette().color(QPalette::Highlight), pen, Qt::SolidLine, Qt::SquareCap,
                        Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(row.adjusted(pen / 2, pen / 2, -(pen + 1) / 2, -(pen + 1) / 2));
}

void FlexGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    viewport()->update();
}

void FlexGrid::focusInEvent(QFocusEvent *event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void FlexGrid::focusOutEvent(QFocusEvent *event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void FlexGrid::refill(const std::function<void()> &fill) {
    const QModelIndex current = currentIndex();
    int row = current.row();
    const int column = current.column();
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    const int topRow = rowAt(0);
    const QString currentKey = keys_.value(row), topKey = keys_.value(topRow);
    const int topOffset = topRow >= 0 ? rowViewportPosition(topRow) : 0;
    fill();
    // A reset model lays its rows out later; the scroll range must be known before the old
    // position can be put back.
    executeDelayedItemsLayout();
    // Rows came or went: the same names, not the same numbers, are the player's place.
    bool byName = false;
    if (keyColumn_ >= 0) {
        QStringList keys;
        keys.reserve(model()->rowCount());
        for (int r = 0; r < model()->rowCount(); ++r)
            keys.append(model()->index(r, keyColumn_).data().toString());
        byName = keys != keys_;
        keys_ = std::move(keys);
    }
    // A row that went leaves the place at its number: the row after it.
    if (byName && rowOf(currentKey) >= 0)
        row = rowOf(currentKey);
    if (row >= 0 && row < model()->rowCount() && column < model()->columnCount() &&
        currentIndex() != model()->index(row, column))
        selectionModel()->setCurrentIndex(model()->index(row, column),
                                          QItemSelectionModel::NoUpdate);
    const int newTop = byName ? rowOf(topKey) : -1;
    if (newTop >= 0) {
        scrollTo(model()->index(newTop, std::max(0, keyColumn_)), PositionAtTop);
        if (verticalScrollMode() == ScrollPerPixel)
            verticalScrollBar()->setValue(verticalScrollBar()->value() - topOffset);
    } else
        verticalScrollBar()->setValue(top);
    horizontalScrollBar()->setValue(left);
}

int FlexGrid::rowOf(const QString &key) const {
    return int(keys_.indexOf(key));
}

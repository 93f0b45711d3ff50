// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemModel>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

/// The texts of one column of a model, top to bottom: the rows a grid, a list or a combo box
/// shows, to compare in one go.
inline QStringList columnOf(const QAbstractItemModel *model, int column = 0) {
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        texts << model->index(r, column).data().toString();
    return texts;
}

/// Escape, pressed wherever the keyboard is once `window` is active: true when that closed it.
inline bool escapeCloses(QWidget *window) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window,
                    Qt::Key_Escape);
    return !window->isVisible();
}

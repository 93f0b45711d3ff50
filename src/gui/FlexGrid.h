// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableView>

#include <functional>

/// The selector's grid control: a table view whose cells carry their own colours (so it
/// keeps no selection of its own), a current cell the arrow keys move, and one signal for
/// a cell chosen by a click, Enter or Space. Tab leaves the grid instead of walking its
/// cells, so the keyboard reaches the rest of the page.
class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(const QString &name, QWidget *parent = nullptr);

    /// Whether a mouse click chooses a cell (default); a grid that chooses on double-click
    /// turns it off and listens to `doubleClicked` itself.
    void setClickChooses(bool on) { clickChooses_ = on; }

    /// Runs `fill`, which fills the grid again from the engine (a model refresh, row
    /// heights, hidden rows), and keeps the player's place: the current cell and the scroll
    /// position stay as they were, so the row just clicked stays under the pointer.
    void refill(const std::function<void()> &fill);

    /// The column whose text names a row (-1: none). With one, a refill that adds or removes
    /// rows keeps the player's place by name: the current row and the row at the top stay
    /// the rows of those names, wherever they are now.
    void setKeyColumn(int column) { keyColumn_ = column; }

Q_SIGNALS:
    /// A cell was chosen: clicked (when clicks choose), or Enter or Space on the current cell.
    void chosen(const QModelIndex &index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    /// The current row is outlined in the palette's highlight colour while the grid has the
    /// keyboard focus: the cells keep their own colours, so a selection cannot show it.
    void paintEvent(QPaintEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool clickChooses_ = true;
    int keyColumn_ = -1;
    // The names of the rows as the last refill left them: the engine changes its grid before
    // the refill, so the old rows' names are only known from here.
    QStringList keys_;
    int rowOf(const QString &key) const;
};

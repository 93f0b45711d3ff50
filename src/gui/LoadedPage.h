// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LoadOrder.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableWidget;
class QTreeWidget;
class Selector;

/// The page "What is loaded!": the list of loaded folders, skins and aircraft, and the check
/// of the files they put into the game folder with its repair, and the files that more than
/// one of them carries. The load order lists the loaded folders and skins, the one that wins
/// last; an entry moves by drag and drop or Alt+Up and Alt+Down, and a shared file's row makes
/// one of its carriers win or its owner lose (the buttons, the context menu, the Menu key).
class LoadedPage : public QWidget {
    Q_OBJECT
public:
    explicit LoadedPage(Selector &selector, QWidget *parent = nullptr);
    void refresh();

    QGroupBox *Frame;
    QLabel *Label8;
    QGroupBox *CheckFrame;
    QPushButton *CheckLoadedFiles;  ///< "Check loaded files"
    QPushButton *RepairLoadedFiles; ///< "Repair"
    QLabel *CheckResult;            ///< the last check's findings
    QGroupBox *ConflictsFrame;
    /// Every file more than one loaded folder or skin carries: file, winner, the others.
    QTableWidget *Conflicts;
    QGroupBox *OrderFrame;
    /// The load order, earliest first: kind, name, files won and lost.
    QTreeWidget *Order;
    QPushButton *MakeWin;  ///< "Make this one win" for the shared file's row
    QPushButton *MakeLose; ///< "Make this one lose"

    /// The load order's current entry dropped at `at` (the list's viewport): before or after
    /// the row there, by the half it lands on; below the rows, last.
    void dropAt(const QPoint &at);
    /// The load order's names, earliest first (what the list shows).
    QStringList orderShown() const;
    /// The choices of a shared file's row: "Make "X" win" for each other carrier (`win`),
    /// "Make "W" lose" for its owner (`lose`): the context menu has both, a button its own.
    QMenu *choicesFor(int row, bool win, bool lose, QWidget *parent);

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showConflicts();
    void showOrder();
    /// Moves the entry of the load order's row `row`; keeps it the current row.
    void moveRow(int row, ::LoadOrder::Place place, const QString &other);
    void makeWinOrLose(bool win);
    Selector &selector_;
};

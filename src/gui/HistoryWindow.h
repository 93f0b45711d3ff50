// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

class History;
class QLabel;
class QPushButton;
class QTreeWidget;

/// "History of changes": the entries of the history, newest at the top (number, local time,
/// what it did), and "Go back to here" (the button, or Enter on the list) for the selected one.
/// Entries that can no longer be returned to are shown in the palette's disabled text and say
/// why; the entry the files are in now is in bold.
class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    HistoryWindow(History &history, QWidget *parent);

    /// Reads the entries again, keeping the selected one when it is still there.
    void refresh();
    /// The entry of a row of the list, or -1.
    int entryAt(int row) const;

    QTreeWidget *HistoryList;
    QLabel *Now;
    QPushButton *GoBack;
    QPushButton *Done;

Q_SIGNALS:
    void goBackRequested(int entry);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void goBack();
    void selectionMoved();
    History &history_;
    QStringList shownLines_;
    int shownNow_ = -1;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class Selector;

/// The page "What is loaded!": the list of loaded folders, skins and aircraft, and the check
/// of the files they put into the game folder with its repair, and the files that more than
/// one of them carries.
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

Q_SIGNALS:
    void changed();

private:
    void showConflicts();
    Selector &selector_;
};

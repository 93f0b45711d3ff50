// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RecordEditor.h"

#include <QWidget>

class FlexGrid;
class QCheckBox;
class QGroupBox;
class QListWidget;
class RecordGridModel;
class Selector;

/// The planes.dat record editor: shows the `RecordEditor` of the game folder and forwards the
/// clicks on the aircraft list and the flag boxes. It stays open beside the main window.
class Airgrid : public QWidget {
    Q_OBJECT
public:
    explicit Airgrid(Selector &selector, QWidget *parent = nullptr);

    /// Shows the editor's state; never runs a handler.
    void refresh();
    /// The game folder was brought back to another state: the record shown is read again.
    void reread();

    RecordEditor &editor() { return editor_; }

    QListWidget *List1;
    FlexGrid *G1;
    QGroupBox *F1;
    QGroupBox *F2;
    QCheckBox *Check1[8];
    QCheckBox *Check2[8];

private:
    RecordEditor editor_;
    RecordGridModel *model_;
};

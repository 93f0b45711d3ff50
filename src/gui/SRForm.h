// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StringEditor.h"

#include <QWidget>

class ByteViewModel;
class FlexGrid;
class QLineEdit;
class QPushButton;
class Selector;
class StringListModel;

/// The string file editor: shows the `StringEditor` of the game's pnames.str and forwards the
/// buttons, the keys typed in the byte view and the right mouse button on the string list.
class SRForm : public QWidget {
    Q_OBJECT
public:
    explicit SRForm(Selector &selector, QWidget *parent = nullptr);

    /// Shows the editor's state; never runs a handler.
    void refresh();
    /// The game folder was brought back to another state: a string file that no longer holds
    /// the bytes shown is loaded again (lines replaced but not yet made into the file stay
    /// while the file is as shown).
    void reread();

    StringEditor &editor() { return editor_; }

    FlexGrid *SFG1;
    FlexGrid *SFG2;
    QLineEdit *SRText;
    QPushButton *Command1;
    QPushButton *Command9;
    QPushButton *Command5;
    QPushButton *Command3;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    StringEditor editor_;
    ByteViewModel *bytes_;
    StringListModel *strings_;
};

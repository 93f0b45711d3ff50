// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ClickableLabel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class Selector;

/// The page "Autoscripts": the saved autoscripts (`File10`), the entries of the one clicked
/// (`List2`) and "OK load this one!", the save controls (`Text1`, `Text2`, "Save current
/// settings") and a second "Reset Completely".
class AutoscriptsPage : public QWidget {
    Q_OBJECT
public:
    explicit AutoscriptsPage(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state; never runs a handler.
    void refresh();

    QGroupBox *Frame3;
    QListWidget *File10;
    QLabel *Label13;
    QListWidget *List2;
    QPushButton *Command6; ///< "OK load this one!"
    QGroupBox *Frame8;
    QLineEdit *Text1;
    ClickableLabel *Label5; ///< the editing hint; a click hides it
    QPlainTextEdit *Text2;
    QPushButton *Command7;  ///< "Save current settings"
    QPushButton *Command11; ///< "Reset Completely"

Q_SIGNALS:
    void changed();

private:
    Selector &selector_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

class HelpWindow;
class QAction;

/// The "?" button beside the page tabs: its menu holds "Help" (also F1 from any window of the
/// program), which opens the player's guide, and "About".
class HelpMenu : public QPushButton {
    Q_OBJECT
public:
    /// `window`: the main window, which the help window and the About box belong to.
    HelpMenu(QWidget *window, QWidget *parent);

    void openHelp();
    void openAbout();
    /// The About box's text: the program's name and version, its licence, the Qt it runs on.
    static QString aboutText();

    QAction *HelpAction;
    QAction *AboutAction;
    /// Null until the help is first opened; kept (hidden when closed) afterwards.
    HelpWindow *helpWindow() const { return help_; }

private:
    QWidget *window_;
    HelpWindow *help_ = nullptr;
};

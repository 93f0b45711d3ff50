// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QPointer>

class WindowHistory;

/// The window program's application object. Every input of the player (a click, a key, a
/// wheel turn, a drop, a shortcut, a window's close box) is handed to the main window's
/// `WindowHistory` around its dispatch, so whatever a handler changes, in any window, is one
/// entry of the history: no handler can be written that escapes it.
class SelectorApplication : public QApplication {
    Q_OBJECT
public:
    SelectorApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    /// The history the player's inputs go to (the main window's; none while only the locator
    /// is open).
    static void setRecorder(WindowHistory *recorder);
    static WindowHistory *recorder();
    /// Whether `event` is one the player makes.
    static bool isPlayerInput(const QEvent *event);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

/// How a second start finds the selector that runs already: the first start listens on a
/// local socket named after the user's instance lock, and a start the lock refuses asks it to
/// come to the front before it says "Hang On...", so the player sees where the selector is.
class RunningWindow : public QObject {
    Q_OBJECT
public:
    explicit RunningWindow(QObject *parent = nullptr);
    ~RunningWindow() override;

    /// Listens for a second start. Called while the instance lock is held, so a socket left
    /// by a selector that crashed can be taken over. False when the socket cannot be made
    /// (the second start then only shows its message).
    bool listen();
    /// Asks the selector that listens to come to the front; false when none answers within
    /// `timeoutMs`.
    static bool askToShow(int timeoutMs = 1000);

    /// The socket's name: one per instance lock, so one per user (and per test).
    static QString serverName();

signals:
    /// A second start asked for the window.
    void showRequested();

private:
    QLocalServer *server_ = nullptr;
};

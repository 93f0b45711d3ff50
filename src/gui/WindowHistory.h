// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class Selector;

/// The main window's side of the history of changes. Each input of the player, in the main
/// window or any of its side windows, is one entry (`SelectorApplication` calls `begin` and
/// `end` around its dispatch; inputs during it, such as the answer to a question it asks, are
/// part of it). The entry takes the status line's sentence when the input set one, else it
/// names the control; an entry that changed nothing is dropped by the history. Undo and going
/// back run only once no entry is open, so they are entries of their own.
class WindowHistory : public QObject {
    Q_OBJECT
public:
    /// Becomes the history the player's inputs go to.
    explicit WindowHistory(Selector &selector, QObject *parent = nullptr);
    ~WindowHistory() override;

    void begin(QObject *receiver);
    void end();

    /// Runs `action` once no entry is open: now, or right after the input being handled.
    void afterEntry(std::function<void()> action);
    /// Takes back the latest change and says on the status line what it was.
    void undo();
    /// Brings back the state right after entry `number`.
    void back(int number);

    /// The sentence an input without a status line of its own is recorded with.
    static QString describe(QObject *receiver);

Q_SIGNALS:
    /// The files were brought back to another state: the window shows them again.
    void wentBack();
    /// An input has been handled (and recorded, when it changed something).
    void recorded();

private:
    QPointer<Selector> selector_;
    int depth_ = 0;
    /// While a going back runs (its progress dialog handles inputs): no entry of our own.
    bool busy_ = false;
    bool statusTold_ = false;
    QString statusAtOpen_;
    QString control_;
    QList<std::function<void()>> after_;
};

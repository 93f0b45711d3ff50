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
/// part of it). The entry takes the status line's sentence when the input set one, else the
/// sentence its handler gave (`nameChange`), else one made from the control ("Option "X"
/// turned on."); an entry that changed nothing is dropped by the history. Undo and going back
/// run only once no entry is open, so they are entries of their own.
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

    /// What the player did with `receiver`, read once the input has been handled: an option
    /// turned on or off or chosen, a button clicked, else the control and where it is.
    static QString describe(QObject *receiver);
    /// A handler whose change the engine tells on no status line says in the player's words
    /// what the input being handled did (nothing while no input is being recorded).
    static void nameChange(const QString &sentence);

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
    QPointer<QObject> control_;
    bool controlTaken_ = false;
    QString named_;
    QList<std::function<void()>> after_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InstanceGuard.h"
#include "Locator.h"
#include "MessageBoxPrompt.h"
#include "RunningWindow.h"

#include <QObject>

#include <memory>

class Form2;
class Selector;
class VEKForm;

/// The window program's start: the instance guard, the locator window and the main window
/// it opens, which holds the game folder's lock while it is open. The locator stays alive, hidden,
/// while the main window is open.
class SelectorWindows : public QObject {
    Q_OBJECT
public:
    /// Messages go to `prompt`, or to message boxes when none is given.
    explicit SelectorWindows(Prompt *prompt = nullptr);
    ~SelectorWindows() override;

    /// Start with `currentDir` as the game folder. Answers false when another instance runs
    /// (the player has been told; the process should end).
    bool start(const QString &currentDir);

    /// The locator's OK: takes the game folder's lock, loads and shows a new main window,
    /// hides the locator. Answers false when the lock was refused (the player has been told;
    /// the locator is shown).
    bool ok();
    /// "Exit": runs the exit procedure and, unless the player cancelled, ends the program.
    void exit();
    /// "New VEK Directory": records what is loaded, closes the main window, shows the locator.
    void newVekDirectory();

    Form2 *form2() const { return form2_.get(); }
    VEKForm *vekForm() const { return vekForm_.get(); }
    Selector *selector() const { return selector_.get(); }
    Locator &locator() { return locator_; }
    Prompt &prompt() { return prompt_; }

Q_SIGNALS:
    /// The main window's credits label was clicked: the window program opens its browser
    /// (which lives in a library of its own, apart from the other windows).
    void linksRequested();
    /// The main window has opened on `gameFolder` (the locator may have changed it).
    void mainWindowOpened(const QString &gameFolder);

private:
    void closeMainWindow();
    void comeToTheFront();

    InstanceGuard guard_;
    RunningWindow running_;
    MessageBoxPrompt messageBoxes_;
    Prompt &prompt_;
    Locator locator_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Selector> selector_;
    std::unique_ptr<VEKForm> vekForm_;
};

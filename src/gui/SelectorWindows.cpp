// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectorWindows.h"

#include "ButtonKeys.h"
#include "History.h"
#include "ProgramIcon.h"

#include <optional>

#include "FolderListBox.h"
#include "Form2.h"
#include "Selector.h"
#include "VEKForm.h"
#include "WindowCommands.h"

#include <QApplication>
#include <QCoreApplication>

SelectorWindows::SelectorWindows(Prompt *prompt)
    : prompt_(prompt ? *prompt : messageBoxes_), locator_(prompt_) {
    // Every window of the program: the program's icon, and Enter on a focused button.
    ProgramIcon::install();
    ButtonKeys::install();
}

SelectorWindows::~SelectorWindows() {
    vekForm_.reset();
    selector_.reset();
}

bool SelectorWindows::start(const QString &currentDir) {
    // An instance lock that cannot be made or judged does not stop the start: it only spares
    // the player a second window, and the game folder's lock, taken at OK, keeps the folders
    // whole.
    if (!guard_.tryAcquire() && guard_.outcome() == InstanceGuard::Outcome::Busy) {
        // The selector that runs comes to the front first, so the player sees where it is
        // when the message tells them it runs.
        RunningWindow::askToShow();
        QCoreApplication::setApplicationName(QStringLiteral("... duplicate instance."));
        Locator::refuseDuplicate(prompt_);
        return false;
    }
    if (running_.listen())
        connect(&running_, &RunningWindow::showRequested, this, &SelectorWindows::comeToTheFront);
    const Locator::Start start = locator_.start(currentDir);
    form2_ = std::make_unique<Form2>(locator_);
    // The folder list opens on the start directory without choosing it as the VEK folder.
    form2_->Dir1->blockSignals(true);
    form2_->Dir1->setPath(currentDir);
    form2_->Dir1->blockSignals(false);
    form2_->refresh();
    connect(form2_.get(), &Form2::okClicked, this, &SelectorWindows::ok);
    if (start == Locator::Start::Automatic) {
        ok(); // refused, it shows the locator
        return true;
    }
    form2_->show();
    if (!locator_.startProblem.isEmpty())
        prompt_.fail(locator_.startProblem);
    return true;
}

void SelectorWindows::comeToTheFront() {
    // The main window once it is open, else the locator; a modal box of either stays on top.
    QWidget *window =
        vekForm_ && vekForm_->isVisible() ? static_cast<QWidget *>(vekForm_.get()) : form2_.get();
    if (!window || !window->isVisible())
        return;
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

void SelectorWindows::closeMainWindow() {
    // Called from the window's own handlers: the window and its engine go once the event
    // that got us here has finished.
    if (vekForm_) {
        vekForm_->allowClose();
        vekForm_->close();
        vekForm_.release()->deleteLater();
    }
    if (selector_)
        selector_.release()->deleteLater();
}

void SelectorWindows::exit() {
    if (!selector_ || !selector_->commands().ExitProcedure())
        return;
    closeMainWindow();
    if (form2_)
        form2_->hide();
    QCoreApplication::quit();
}

void SelectorWindows::newVekDirectory() {
    if (!selector_)
        return;
    selector_->commands().NewVekDirectory();
    closeMainWindow();
    form2_->refresh();
    form2_->show();
}

bool SelectorWindows::ok() {
    closeMainWindow();
    // The main window may change the game folder from its first moment (the load sequence
    // sweeps, recovers, rewrites eaw.ini), so it opens only under the folder's lock, and holds
    // it as long as it is open on that folder. Refused, the locator stays for another choice.
    if (guard_.lockGameFolder(locator_.Label3) != InstanceGuard::Outcome::Taken) {
        prompt_.fail(guard_.problem());
        form2_->refresh();
        form2_->show();
        return false;
    }
    std::optional<History::Early> early(std::in_place);
    Folders folders = locator_.ok();
    early.reset();
    folders.AfterCut = guard_.tookLeftLock();
    selector_ = std::make_unique<Selector>(folders, prompt_);
    selector_->newsOnStatusLine();
    selector_->offerNewVekDirectory();
    // Queued: the click that found the VEK folder gone returns before its window goes.
    connect(selector_.get(), &Selector::newVekDirectoryRequested, this,
            &SelectorWindows::newVekDirectory, Qt::QueuedConnection);
    vekForm_ = std::make_unique<VEKForm>(*selector_);
    connect(vekForm_.get(), &VEKForm::exitRequested, this, &SelectorWindows::exit);
    connect(vekForm_.get(), &VEKForm::newVekDirectoryRequested, this,
            &SelectorWindows::newVekDirectory);
    connect(vekForm_.get(), &VEKForm::linksRequested, this, &SelectorWindows::linksRequested);
    vekForm_->load();
    vekForm_->show();
    form2_->hide();
    // A question the load held back comes once the window is there to be seen.
    selector_->askAfterLoad();
    Q_EMIT mainWindowOpened(selector_->GameFolder());
    return true;
}

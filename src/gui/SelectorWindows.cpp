#include "SelectorWindows.h"

#include "FolderListBox.h"
#include "Form2.h"
#include "Selector.h"
#include "VEKForm.h"
#include "WindowCommands.h"

#include <QCoreApplication>

SelectorWindows::SelectorWindows(Prompt *prompt)
    : prompt_(prompt ? *prompt : messageBoxes_), locator_(prompt_) {}

SelectorWindows::~SelectorWindows() {
    vekForm_.reset();
    selector_.reset();
}

bool SelectorWindows::start(const QString &currentDir) {
    if (!guard_.tryAcquire()) {
        QCoreApplication::setApplicationName(QStringLiteral("... duplicate instance."));
        Locator::refuseDuplicate(prompt_);
        return false;
    }
    const Locator::Start start = locator_.start(currentDir);
    form2_ = std::make_unique<Form2>(locator_);
    // The folder list opens on the start directory without choosing it as the VEK folder.
    form2_->Dir1->blockSignals(true);
    form2_->Dir1->setPath(currentDir);
    form2_->Dir1->blockSignals(false);
    form2_->refresh();
    connect(form2_.get(), &Form2::okClicked, this, &SelectorWindows::ok);
    if (start == Locator::Start::Automatic) {
        ok();
    } else {
        form2_->show();
        if (!locator_.startProblem.isEmpty())
            prompt_.fail(locator_.startProblem);
    }
    return true;
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

void SelectorWindows::ok() {
    closeMainWindow();
    selector_ = std::make_unique<Selector>(locator_.ok(), prompt_);
    vekForm_ = std::make_unique<VEKForm>(*selector_);
    connect(vekForm_.get(), &VEKForm::exitRequested, this, &SelectorWindows::exit);
    connect(vekForm_.get(), &VEKForm::newVekDirectoryRequested, this,
            &SelectorWindows::newVekDirectory);
    connect(vekForm_.get(), &VEKForm::linksRequested, this, &SelectorWindows::linksRequested);
    vekForm_->load();
    vekForm_->show();
    form2_->hide();
    Q_EMIT mainWindowOpened(selector_->GameFolder());
}

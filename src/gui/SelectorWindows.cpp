#include "SelectorWindows.h"

#include "FolderListBox.h"
#include "Form2.h"
#include "Selector.h"
#include "VEKForm.h"

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
    vekForm_.reset();
    selector_.reset();
}

void SelectorWindows::ok() {
    closeMainWindow();
    selector_ = std::make_unique<Selector>(locator_.ok(), prompt_);
    vekForm_ = std::make_unique<VEKForm>(*selector_);
    vekForm_->load();
    vekForm_->show();
    form2_->hide();
}

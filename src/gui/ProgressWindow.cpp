// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressWindow.h"

#include "Selector.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ProgressWindow::ProgressWindow(Selector &selector, QWidget *parent)
    : QDialog(parent), selector_(selector) {
    setObjectName(QStringLiteral("ProgressWindow"));
    // Application-wide: the side windows (the planes.dat editor, the string file editor) must
    // not write game files while an operation is under way either.
    setWindowModality(Qt::ApplicationModal);
    setMinimumWidth(460);
    Label = new QLabel(this);
    Label->setObjectName(QStringLiteral("Label"));
    Label->setTextFormat(Qt::PlainText);
    Bar = new QProgressBar(this);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setTextVisible(false);
    Counts = new QLabel(this);
    Counts->setObjectName(QStringLiteral("Counts"));
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Counts, 1);
    buttons->addWidget(Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label);
    layout->addWidget(Bar);
    layout->addLayout(buttons);
    connect(Cancel, &QPushButton::clicked, this, &ProgressWindow::reject);
    selector_.setProgress(this);
}

ProgressWindow::~ProgressWindow() {
    selector_.setProgress(nullptr);
}

void ProgressWindow::beginning(qsizetype total) {
    on_ = false;
    cancel_ = false;
    started_.start();
    since_.start();
    if (total > Threshold)
        showDialog();
}

void ProgressWindow::showDialog() {
    on_ = true;
    Bar->setRange(0, int(filesTotal()));
    Cancel->setEnabled(true);
    display(filesDone(), QString());
    QDialog::show();
    raise();
    QApplication::processEvents();
}

bool ProgressWindow::proceed(qsizetype done, const QString &file) {
    // A look at the clock, and nothing else, for all files but the first, the last and the
    // first after each interval: painting, and handling events, cost far more than a copy.
    if (done != 0 && done + 1 != filesTotal() && since_.elapsed() < interval_)
        return !cancel_;
    since_.start();
    Q_EMIT captionDue(selector_.caption());
    if (!on_ && started_.elapsed() >= showAfter_)
        showDialog();
    if (on_) {
        display(done, file);
        QApplication::processEvents();
    }
    return !cancel_;
}

void ProgressWindow::display(qsizetype done, const QString &file) {
    const QString caption = selector_.caption();
    setWindowTitle(caption == Selector::Caption ? QStringLiteral("VEK Selector") : caption);
    // The progress caption names the file ("Please wait- copying: :" + name); a move that sets
    // none (a skin's) shows the name alone.
    Label->setText(caption.endsWith(file) ? caption : file);
    Bar->setValue(int(done));
    Counts->setText(QStringLiteral("%1 of %2 files").arg(done).arg(filesTotal()));
    Q_EMIT shown(done, file);
}

void ProgressWindow::reject() {
    if (!on_ || cancel_)
        return;
    cancel_ = true;
    Cancel->setEnabled(false);
    Label->setText(QStringLiteral("Cancelling: putting back what was done..."));
}

void ProgressWindow::ending() {
    if (on_)
        hide();
    on_ = false;
}

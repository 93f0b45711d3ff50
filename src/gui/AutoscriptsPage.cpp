#include "AutoscriptsPage.h"

#include "ClickableLabel.h"
#include "Selector.h"

#include <QGridLayout>
#include <QListWidget>

AutoscriptsPage::AutoscriptsPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Autoscripts"));
    File10 = new QListWidget(this);
    File10->setObjectName(QStringLiteral("File10"));
    File10->setMaximumWidth(240);
    Label5 = new ClickableLabel(
        QStringLiteral("You can edit the text below, and even change the order in which folders "
                       "will be loaded (if you want to) before you save the AutoScript"),
        this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setWordWrap(true);
    connect(Label5, &ClickableLabel::clicked, Label5, &QWidget::hide);
    auto *layout = new QGridLayout(this);
    layout->addWidget(File10, 0, 0, 2, 1);
    layout->addWidget(Label5, 0, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(1, 1);
}

void AutoscriptsPage::refresh() {
    File10->clear();
    File10->addItems(selector_.File10);
}

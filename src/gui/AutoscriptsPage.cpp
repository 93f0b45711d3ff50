#include "AutoscriptsPage.h"

#include "Selector.h"

#include <QHBoxLayout>
#include <QListWidget>

AutoscriptsPage::AutoscriptsPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Autoscripts"));
    File10 = new QListWidget(this);
    File10->setObjectName(QStringLiteral("File10"));
    File10->setMaximumWidth(240);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(File10);
    layout->addStretch(1);
}

void AutoscriptsPage::refresh() {
    File10->clear();
    File10->addItems(selector_.File10);
}

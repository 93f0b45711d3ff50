#include "LoadFilesPage.h"

#include "Selector.h"

#include <QHBoxLayout>
#include <QListWidget>

LoadFilesPage::LoadFilesPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Load Files"));
    List3 = new QListWidget(this);
    List3->setObjectName(QStringLiteral("List3"));
    List3->setMaximumWidth(240);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(List3);
    layout->addStretch(1);
}

void LoadFilesPage::refresh() {
    List3->clear();
    List3->addItems(selector_.List3);
    List3->setCurrentRow(selector_.List3Index);
}

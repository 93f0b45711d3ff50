#include "LoadedPage.h"

#include "Selector.h"

#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

LoadedPage::LoadedPage(Selector &selector, QWidget *parent) : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("What is loaded!"));
    Frame = new QGroupBox(QStringLiteral("Folders currently loaded"), this);
    Label8 = new QLabel;
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label8->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *scroll = new QScrollArea(Frame);
    scroll->setWidget(Label8);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *inner = new QVBoxLayout(Frame);
    inner->addWidget(scroll);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Frame);
}

void LoadedPage::refresh() {
    QString text = selector_.Label8();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Label8->setText(text);
    Label8->setVisible(!text.isEmpty());
}

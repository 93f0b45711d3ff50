// SPDX-License-Identifier: GPL-3.0-or-later
#include "Niteform.h"

#include "NightSwitch.h"
#include "Options.h"
#include "Selector.h"
#include "Twips.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

Niteform::Niteform(Selector &selector, QWidget *parent)
    : QWidget(parent, Qt::Window), selector_(selector) {
    setObjectName(QStringLiteral("niteform"));
    setWindowTitle(QStringLiteral("Nox's nightpatch"));
    // Escape closes a side window, as it closes a dialog.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    NPframe = new QGroupBox(QStringLiteral("Nightswitch"), this);
    NPframe->setObjectName(QStringLiteral("NPframe"));
    auto *frameLayout = new QVBoxLayout(NPframe);
    for (int i = 0; i < 4; ++i) {
        niteopt[i] = new QRadioButton(QLatin1String(NightSwitch::Versions[i].caption), NPframe);
        niteopt[i]->setObjectName(QStringLiteral("niteopt(%1)").arg(i));
        frameLayout->addWidget(niteopt[i]);
    }
    niteopt[0]->setChecked(true);
    nitebut = new QPushButton(QStringLiteral("Day ==> Night"), NPframe);
    nitebut->setObjectName(QStringLiteral("nitebut"));
    daybut = new QPushButton(QStringLiteral("Reset to normal"), NPframe);
    daybut->setObjectName(QStringLiteral("daybut"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(nitebut);
    buttons->addWidget(daybut);
    frameLayout->addLayout(buttons);

    NowLabel = new QLabel(this);
    NowLabel->setObjectName(QStringLiteral("NowLabel"));
    NowLabel->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(NPframe);
    layout->addWidget(NowLabel);

    connect(nitebut, &QPushButton::clicked, this, [this] {
        selector_.options().nightSwitch(version(), true);
        refresh();
    });
    connect(daybut, &QPushButton::clicked, this, [this] {
        selector_.options().nightSwitch(version(), false);
        refresh();
    });
    refresh();
}

void Niteform::refresh() {
    NowLabel->setText(NightSwitch::state(selector_.GameFolder()));
}

int Niteform::version() const {
    // A later selected index would win; only one can be selected.
    int chosen = 0;
    for (int i = 0; i < 4; ++i)
        if (niteopt[i]->isChecked())
            chosen = i;
    return chosen;
}

void Niteform::place() {
    adjustSize();
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - frameGeometry().width()) / 2,
         area.top() + twipsToPixels(this, 2000));
}

#include "PlanesSkinsPage.h"

PlanesSkinsPage::PlanesSkinsPage(Selector &selector, QWidget *parent)
    : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Planes and Skins"));
}

#include "FuelPage.h"

FuelPage::FuelPage(Selector &selector, QWidget *parent) : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Fuel"));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuelPage.h"

#include "FlexGrid.h"
#include "FuelGridModel.h"
#include "Planes.h"
#include "Selector.h"
#include "Twips.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

FuelPage::FuelPage(Selector &selector, QWidget *parent) : QWidget(parent), selector_(selector) {
    setObjectName(QStringLiteral("Fuel"));
    model_ = new FuelGridModel(selector.Fuel, this);
    Fuel = new FlexGrid(QStringLiteral("Fuel"), this);
    Fuel->setAccessibleName(QStringLiteral("Fuel loads"));
    Fuel->setModel(model_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Fuel);
    connect(Fuel, &FlexGrid::chosen, this, [this](const QModelIndex &index) {
        selector_.planes().fuelClick(index.row() + 1, index.column());
        Q_EMIT changed();
    });
}

void FuelPage::refresh() {
    Fuel->refill([this] {
        model_->refresh();
        Fuel->setColumnHidden(1, true);
        fitColumn(Fuel, 0, 960);
        for (int c = 2; c <= 20; ++c)
            fitColumn(Fuel, c, 475);
        Fuel->resizeRowsToContents();
    });
}

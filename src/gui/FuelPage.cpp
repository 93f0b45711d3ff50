#include "FuelPage.h"

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
    Fuel = new QTableView(this);
    Fuel->setObjectName(QStringLiteral("Fuel"));
    Fuel->setModel(model_);
    Fuel->setSelectionMode(QAbstractItemView::NoSelection);
    Fuel->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Fuel->verticalHeader()->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Fuel);
    connect(Fuel, &QTableView::clicked, this, [this](const QModelIndex &index) {
        selector_.planes().fuelClick(index.row() + 1, index.column());
        Q_EMIT changed();
    });
}

void FuelPage::refresh() {
    model_->reset();
    Fuel->setColumnHidden(1, true);
    fitColumn(Fuel, 0, 960);
    for (int c = 2; c <= 20; ++c)
        fitColumn(Fuel, c, 475);
    Fuel->resizeRowsToContents();
}

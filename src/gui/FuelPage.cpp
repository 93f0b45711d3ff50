#include "FuelPage.h"

#include "FuelGridModel.h"
#include "Planes.h"
#include "Selector.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace {
int twipsToPixels(const QWidget *w, int twips) {
    return twips * w->logicalDpiY() / 1440;
}
} // namespace

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
    Fuel->setColumnWidth(0, twipsToPixels(this, 960));
    for (int c = 2; c <= 20; ++c)
        Fuel->setColumnWidth(c, twipsToPixels(this, 475));
}

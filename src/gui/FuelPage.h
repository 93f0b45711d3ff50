// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class FlexGrid;
class FuelGridModel;
class Selector;

/// The page "Fuel": the grid `Fuel`; a click on a load writes it as the slot's fuel.
class FuelPage : public QWidget {
    Q_OBJECT
public:
    explicit FuelPage(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state; never runs a handler.
    void refresh();

    FlexGrid *Fuel;

Q_SIGNALS:
    void changed();

private:
    Selector &selector_;
    FuelGridModel *model_;
};

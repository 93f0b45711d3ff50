#pragma once

#include <QWidget>

class Selector;

/// The page "Fuel": the fuel grid (filled as that feature arrives).
class FuelPage : public QWidget {
    Q_OBJECT
public:
    explicit FuelPage(Selector &selector, QWidget *parent = nullptr);
    void refresh() {}

private:
    Selector &selector_;
};

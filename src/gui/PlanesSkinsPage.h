#pragma once

#include <QWidget>

class Selector;

/// The page "Planes and Skins": the skin grid, the slot filter and the alternative planes
/// (filled as those features arrive).
class PlanesSkinsPage : public QWidget {
    Q_OBJECT
public:
    explicit PlanesSkinsPage(Selector &selector, QWidget *parent = nullptr);
    void refresh() {}

private:
    Selector &selector_;
};

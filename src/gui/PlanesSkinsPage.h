#pragma once

#include <QWidget>

class FlexGrid;
class PictureBox;
class QGroupBox;
class QLabel;
class QListWidget;
class Selector;
class SlotGridModel;

/// The page "Planes and Skins": the slot filter `List1` and the frame "Alternative Planes:"
/// with the grid `G1` and the description `Label4` (the skin grid joins when skins arrive).
class PlanesSkinsPage : public QWidget {
    Q_OBJECT
public:
    explicit PlanesSkinsPage(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state; never runs a handler.
    void refresh();

    QListWidget *List1;
    QGroupBox *Frame6;
    FlexGrid *G1;
    QLabel *Label4;
    PictureBox *Image2;

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Selector &selector_;
    SlotGridModel *model_;
};

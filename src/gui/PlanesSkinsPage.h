// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SelectorState.h"

#include <QWidget>

class FlexGrid;
class PictureBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class Selector;
class SkinGridModel;
class SlotGridModel;

/// The page "Planes and Skins": the slot filter `List1`, the skin grid `SK1` with "Include
/// 'flt' files" (`Check5`), the frame "Alternative Planes:" with the grid `G1`, and the
/// description `Label4` and picture `Image2` of the skin or aircraft under the pointer.
class PlanesSkinsPage : public QWidget {
    Q_OBJECT
public:
    explicit PlanesSkinsPage(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state again, never running a handler: the aircraft when `what` has
    /// `Change::Slots`, the skins when it has `Change::Skins`.
    void refresh(Changes what = Change::Everything);

    QListWidget *List1;
    FlexGrid *SK1;
    QCheckBox *Check5;
    QGroupBox *Frame6;
    FlexGrid *G1;
    QLabel *Label4;
    PictureBox *Image2;

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showDescription(const QString &text, const QString &picture);
    Selector &selector_;
    SkinGridModel *skinModel_;
    SlotGridModel *model_;
};

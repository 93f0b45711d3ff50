// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class FeatureGridModel;
class FlexGrid;
class PictureBox;
class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class Selector;

/// The frame "Disable Keyboard Control" (`Frame13`) of the page "General": the feature grid
/// `G7`, the buttons `Option13`, "OK! Set this one", the cheat check and the labels that show
/// the feature chosen, with the display-info frame and the VEK folder's picture below.
class FeaturesBox : public QGroupBox {
    Q_OBJECT
public:
    explicit FeaturesBox(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state; never runs a handler.
    void refresh();

    FlexGrid *G7;               ///< the features of KC; grid row r is model row r - 1
    QRadioButton *Option13[30]; ///< "# 1" ... "# 30"
    QPushButton *Command15;     ///< "OK! Set this one"
    QCheckBox *Check4;          ///< "Activate the cheatcheck"
    QPushButton *Command12;     ///< "V1cheksum"
    QLabel *Label18, *Label21, *Label14, *HUDLab, *Notice;
    QGroupBox *Frame1; ///< the display-info frame
    QLabel *DispLab;
    PictureBox *Image3; ///< the VEK folder's newpic

Q_SIGNALS:
    /// The engine's state changed through a control of this frame.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /// The history entry of a feature applied names it.
    void nameFeature();
    Selector &selector_;
    FeatureGridModel *model_;
};

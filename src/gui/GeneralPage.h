// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class ClickableLabel;
class FeaturesBox;
class MusicBox;
class Niteform;
class PictureBox;
class QCheckBox;
class QPushButton;
class QRadioButton;
class Selector;

/// The page "General": the eaw.ini options, the keyboard-control features with the cheat
/// check (`FeaturesBox`), the music sets and "Del MSN" (`MusicBox`), the program commands,
/// the credits and the background picture.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state; never runs a handler.
    void refresh();

    QRadioButton *Option2[7]; ///< resolution
    QRadioButton *Option4[6]; ///< extra squads
    QCheckBox *Check1, *Check2, *Check3;
    QRadioButton *Option8[3]; ///< sync rate
    QPushButton *Command1;    ///< "Reset Completely"
    QPushButton *Command2;    ///< "Restore my original eaw.ini"
    QPushButton *Command5;    ///< "Launch EAW"
    QPushButton *Command8;    ///< "Minimise"
    QPushButton *Command3;    ///< "Exit"
    QPushButton *Command9;    ///< "New VEK Directory"
    QPushButton *Command13;   ///< "Edit Planes.dat"
    ClickableLabel *Label3;
    PictureBox *Image1;           ///< Image1(0), the game folder's BACKGROUND
    FeaturesBox *Frame13;         ///< "Disable Keyboard Control"
    MusicBox *Frame12;            ///< the music sets
    QPushButton *Command14;       ///< "Show the nightswitch"
    Niteform *niteform = nullptr; ///< made when first shown

Q_SIGNALS:
    /// The engine's state changed through a control of this page.
    void changed();
    void exitRequested();
    void newVekDirectoryRequested();
    void linksRequested();
    void editPlanesRequested();

private:
    void showNightswitch();
    Selector &selector_;
};

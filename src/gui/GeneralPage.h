#pragma once

#include <QWidget>

class ClickableLabel;
class Niteform;
class PictureBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class Selector;

/// The page "General": the eaw.ini options, the keyboard-control features with the cheat
/// check, the music sets and "Del MSN", the program commands, the credits and the pictures.
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
    PictureBox *Image1; ///< Image1(0), the game folder's BACKGROUND
    QGroupBox *Frame13; ///< "Disable Keyboard Control"
    PictureBox *Image3; ///< the VEK folder's newpic

    QTableWidget *G7;           ///< the features of KC; grid row r is table row r - 1
    QRadioButton *Option13[30]; ///< "# 1" ... "# 30"
    QPushButton *Command15;     ///< "OK! Set this one"
    QCheckBox *Check4;          ///< "Activate the cheatcheck"
    QPushButton *Command12;     ///< "V1cheksum"
    QLabel *Label18, *Label21, *Label14, *HUDLab, *Notice;
    QGroupBox *Frame1; ///< the display-info frame
    QLabel *DispLab;
    QLabel *MusicPlaying; ///< which music the game plays now

    QGroupBox *Frame12;        ///< the music sets; its title is the description under the pointer
    QRadioButton *Option12[7]; ///< one per music set
    QPushButton *delmsn;       ///< "Del MSN"
    QPushButton *Command14;    ///< "Show the nightswitch"
    Niteform *niteform = nullptr; ///< made when first shown

Q_SIGNALS:
    /// The engine's state changed through a control of this page.
    void changed();
    void exitRequested();
    void newVekDirectoryRequested();
    void linksRequested();
    void editPlanesRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGroupBox *featuresBox();
    QGroupBox *musicBox();
    void showNightswitch();
    void refreshFeatures();
    Selector &selector_;
};

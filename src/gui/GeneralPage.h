#pragma once

#include <QWidget>

class ClickableLabel;
class PictureBox;
class QGroupBox;
class Selector;

/// The page "General": credits, background picture and (as they arrive) the option and
/// command controls.
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(Selector &selector, QWidget *parent = nullptr);
    void refresh();

    ClickableLabel *Label3;
    PictureBox *Image1; ///< Image1(0), the game folder's BACKGROUND
    QGroupBox *Frame13; ///< "Disable Keyboard Control"
    PictureBox *Image3; ///< the VEK folder's newpic

private:
    Selector &selector_;
};

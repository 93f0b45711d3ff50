#pragma once

#include <QWidget>

class QGroupBox;
class QPushButton;
class QRadioButton;
class Selector;

/// The night switch window "Nox's nightpatch": the game version and the two buttons that
/// patch eaw.exe. The patch itself, with its checks, is the engine's.
class Niteform : public QWidget {
    Q_OBJECT
public:
    explicit Niteform(Selector &selector, QWidget *parent = nullptr);

    /// Centred horizontally on the screen, 2000 twips from its top.
    void place();
    /// The selected `niteopt` index.
    int version() const;

    QGroupBox *NPframe;
    QRadioButton *niteopt[4];
    QPushButton *nitebut; ///< "Day ==> Night"
    QPushButton *daybut;  ///< "Reset to normal"

private:
    Selector &selector_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
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
    QLabel *NowLabel;     ///< what the game program holds now: night or day missions

    /// Shows what the game program holds now.
    void refresh();

private:
    Selector &selector_;
};

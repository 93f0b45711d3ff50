// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class QLabel;
class QPushButton;
class QRadioButton;
class Selector;

/// The music sets' frame (`Frame12`) of the page "General": a button per set that switches to
/// it, which music the game plays now, and "Del MSN". The frame's title is the description of
/// the set under the pointer.
class MusicBox : public QGroupBox {
    Q_OBJECT
public:
    explicit MusicBox(Selector &selector, QWidget *parent = nullptr);
    /// Shows the engine's state; never runs a handler.
    void refresh();

    QRadioButton *Option12[7]; ///< one per music set
    QLabel *MusicPlaying;      ///< which music the game plays now
    QPushButton *delmsn;       ///< "Del MSN"

Q_SIGNALS:
    /// The engine's state changed through a control of this frame.
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Selector &selector_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Reporter;
struct SelectorState;

/// The music buttons `Option12` with the frame `Frame12`, and "Del MSN", on the page "General".
class MusicButtons {
public:
    MusicButtons(SelectorState &state, Reporter &reporter) : s_(state), r_(reporter) {}

    /// The load step: one button per music set of the game folder (at most seven). More sets,
    /// or a Musictemp left by an interrupted switch, are told to the player.
    void fill();
    /// A click on `Option12`(index): switches to that set. The button is left unselected so it
    /// can be clicked again; its caption stays (it now names the set that was active).
    bool click(int index);
    /// The pointer is over `Option12`(index): the set's description becomes the frame caption;
    /// without a music.txt the caption stays.
    void hover(int index);
    /// The pointer over the frame itself, off its buttons: the caption empties.
    void hoverFrame() { Frame12.clear(); }
    /// "Del MSN": deletes the game's default mission files.
    bool delmsn();

    QStringList Option12; ///< captions of the shown buttons, in order
    QString Frame12 = QStringLiteral("Music");
    /// Which music the game plays now, for the player: the description of the Music folder's
    /// set, else the name of the set last switched to, else that the Music folder's set has no
    /// description. Set by the fill and by every switch.
    QString Playing;

private:
    void findPlaying(const QString &switchedTo);
    SelectorState &s_;
    Reporter &r_;
};

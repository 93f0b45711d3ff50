// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// Which folder the window program takes as its game folder when it is not given one, and the
/// game folders the player used last.
///
/// Started in the game folder (from a terminal there, or by a launcher that sets it), the
/// selector takes that folder, as always. Started from the desktop menu it finds itself in the
/// player's home folder, which is no game folder: then it takes the game folder it was last
/// started with, and when there is none (or it is gone) the locator asks as before.
///
/// A folder counts as a game folder when it holds the game's program, "eaw.exe" (any case); a
/// "LastVEKDir" alone does not make one. The folders last started with are kept in the
/// user's configuration ("vekselector/vekselector.conf" under the configuration folder:
/// `XDG_CONFIG_HOME` or ~/.config on Linux), never in the game folder.
class GameFolderChoice {
public:
    /// How many game folders `recent` keeps.
    static constexpr int Kept = 6;

    /// The game folder for a start in `currentDir` without one given: `currentDir` when it is
    /// a game folder, else the most recent remembered one that still is one, else empty.
    static QString choose(const QString &currentDir);

    /// Keeps `folder` as the game folder of the last start, at the head of `recent`.
    static void remember(const QString &folder);
    /// The game folder of the last start, or empty.
    static QString remembered();
    /// The game folders of the last starts, the latest first, each once; folders that are no
    /// game folder any more (gone, or without eaw.exe) are left out.
    static QStringList recent();
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Which folder the window program takes as its game folder when it is not given one.
///
/// Started in the game folder (from a terminal there, or by a launcher that sets it), the
/// selector takes that folder, as always. Started from the desktop menu it finds itself in the
/// player's home folder, which is no game folder: then it takes the game folder it was last
/// started with, and when there is none (or it is gone) the locator asks as before.
///
/// A folder counts as a game folder when it holds the game's program, "eaw.exe" (any case); a
/// "LastVEKDir" alone does not make one. The folder last
/// started with is kept in the user's configuration ("vekselector/vekselector.conf" under the
/// configuration folder: `XDG_CONFIG_HOME` or ~/.config on Linux), never in the game folder.
class GameFolderChoice {
public:
    /// The game folder for a start in `currentDir` without one given: `currentDir` when it is
    /// a game folder, else the remembered one when it still is one, else empty.
    static QString choose(const QString &currentDir);

    /// Keeps `folder` as the game folder of the last start.
    static void remember(const QString &folder);
    /// The game folder kept by `remember`, or empty.
    static QString remembered();
};

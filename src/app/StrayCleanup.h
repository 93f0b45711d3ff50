// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

/// Sweeps content files out of the game folder: every file that matches `StrayPatterns`,
/// except EXTRA.SPT and CHATLINE.TXT (in any case). The window load runs it after a change of
/// VEK folder, "Reset Completely" after its unloads.
///
/// A sweep never destroys the only copy of a file. A file that a folder of the VEK folder
/// carries with the same bytes (a content folder, one of its subfolders such as an aircraft's
/// "P-" folder, a skin) can be loaded again and is deleted; any other (the game's own
/// planes.dat, a player's file) is moved into a dated folder of the selector's own data
/// folder (`sweptRoot`), where nothing lists it as content. A read-only file is left where it
/// is, as an unload leaves it, and named.
class StrayCleanup {
public:
    static inline const QString StrayPatterns = QStringLiteral(
        "*.hm;*.jpg;*.pcx;*.txt;mypic;planepic;skinpic;*.mnu;*.dat;*.mpc;*.wsp;*.pic;*.spt;"
        "*.str;*.ter;*.tm;*.tpc;*.flt;*.3dz;*.snd;*.bil;*.bin;*.cpt");

    /// What one sweep did besides deleting.
    struct Outcome {
        /// The files left in the game folder, each a sentence naming it and the reason.
        QStringList problems;
        /// The folder the moved files went to; empty when none was moved.
        QString movedTo;
        /// The names the moved files have there, in name order.
        QStringList moved;
    };

    /// Sweeps `gameFolder` in name order and goes on past a file it cannot delete or move.
    /// `modFolder` is the VEK folder whose folders tell which files can be deleted. The VEK
    /// folder is read only when there is something to sweep, once per folder (O(n + m)).
    /// `spared` (case-folded names) are the game's own files the selector kept while content
    /// replaced them and has put back: they stay.
    static Outcome run(const QString &gameFolder, const QString &modFolder,
                       const QSet<QString> &spared = {});

    /// The one message that tells the player where the moved files went; empty when none was.
    static QString notice(const Outcome &outcome);

    /// "swept" in the selector's data folder: the user's data location (on Linux
    /// `XDG_DATA_HOME`, else ~/.local/share) + "vekselector", the same for both front ends.
    /// Each sweep that moves a file makes one folder in it named after the time of the sweep.
    static QString sweptRoot();
    /// The user's data location `sweptRoot` builds on (the platform's by default, and again
    /// when `folder` is empty); a dry run points it at a stand-in inside its twin.
    static void setDataFolder(const QString &folder);
    static QString dataFolder();

    static bool kept(const QString &name);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QString>

/// The two folders every operation works in, fixed by the locator, and the VEK folder of the
/// previous run. Paths carry no trailing separator: every path built from them joins a name
/// with one separator, and a name cut from such a path starts after it.
struct Folders {
    QString GameFolder;
    QString ModFolder;
    /// First line of LastVEKDir as read before the main window loads: the previous VEK folder
    /// or "None".
    QString LastModFolder;
    /// The game folder the player's options are kept for (`KeptOptions`): empty for
    /// `GameFolder` itself; a dry run, which works on a twin, names the real one.
    QString OptionsFolder = {};
    /// The game folder's lock was left by a run that ended without its clean-up (killed, or a
    /// power cut): the start looks for what its writes cut short left. A run that ended well
    /// leaves nothing, and its next start spends no listing on the search.
    bool AfterCut = false;
    const QString &optionsFolder() const {
        return OptionsFolder.isEmpty() ? GameFolder : OptionsFolder;
    }

    /// `path` as the folders keep it: without a trailing separator (a LastVEKDir edited by
    /// hand or written by another tool may end in one), nor "." or doubled separators. A root
    /// keeps its separator.
    static QString clean(const QString &path) {
        return path.isEmpty() ? path : QDir::cleanPath(path);
    }
    /// These folders, each `clean`.
    Folders cleaned() const {
        Folders f = *this;
        for (QString *path : {&f.GameFolder, &f.ModFolder, &f.LastModFolder, &f.OptionsFolder})
            *path = clean(*path);
        return f;
    }
};

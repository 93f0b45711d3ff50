// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The game program eaw.exe measured against the original copy kept in the VEK folder.
///
/// The selector puts its copy back at every start and exit, to undo the night switch: the
/// switch lasts one run. Everything else that makes the game's program differ from the copy
/// was done by someone else, a game patch the player installed most likely, and putting the
/// copy back would quietly undo it. So only a program that differs from the copy in nothing
/// but one version's two night-switch bytes (each side holding the day or the night pair) is
/// put back; any other difference, a different size included, makes the game's program the
/// new original copy. The previous copy is kept beside it under a name of its own, never
/// overwritten, so a player who wants the old program back still has it.
class GameProgram {
public:
    /// How the game's program stands to the original copy.
    enum class Kind {
        Same,        ///< the same bytes
        NightSwitch, ///< only one version's night-switch bytes differ
        New,         ///< any other difference: another program
    };

    /// Compares the game's program `present` with the original copy `original`. False, with
    /// `error` naming the file and the reason, when one of them cannot be read.
    static bool compare(const QString &present, const QString &original, Kind *kind,
                        QString *error);

    /// The name, in `mod`, the previous original copy is kept under when a new program takes
    /// its place: "eaw.exe.before-update", or the first of "eaw.exe.before-update-2", "-3" ...
    /// that no file of the folder holds in any case.
    static QString asideName(const QString &mod);

    /// Restore's step for the program: puts the original copy back over a night-switched (or
    /// missing) game program, leaves the same program alone, and makes a new program the
    /// original copy, the previous one kept under `asideName`. `notice` receives what the
    /// player is told of a new program (empty otherwise). False, with `error` saying what
    /// could not be done, when nothing was changed: the game's program is never replaced by
    /// the copy when the copy could not be brought up to date, so a new program is never lost.
    static bool restore(const QString &game, const QString &mod, QString *notice, QString *error);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The game program eaw.exe measured against the original copy kept in the VEK folder.
///
/// The selector puts its copy back at every start and exit, to undo the night switch: the
/// switch lasts one run. Everything else that makes the game's program differ from the copy
/// was done by someone else, a game patch the player installed most likely, and putting the
/// copy back would quietly undo it. So programs are compared as day programs: at every
/// version's offset where the night pair stands, the day pair is read in its place. A
/// program that is then the copy is put back (when it holds a night pair); any other
/// difference, a different size included, makes the game's program the new original copy.
/// The previous copy is kept beside it under a name of its own, never overwritten, so a
/// player who wants the old program back still has it.
///
/// A night pair is never kept: every copy the selector writes of a program (the first
/// original copy, a new one, the previous one set aside, the one put back) holds the day
/// pair wherever a night pair stood, so a program switched to night while the selector was
/// not looking is never taken for the original.
///
/// A program that cannot be an update is not taken for one: an empty one, one too short to
/// hold the night switch's bytes (`NightSwitch::reach`), or one where no version's day or
/// night pair stands while the copy holds one. The copy is put back over it and the player
/// told; a program of any bytes is kept in the VEK folder first.
class GameProgram {
public:
    /// How the game's program stands to the original copy.
    enum class Kind {
        Same,        ///< the same day program, with no night pair
        NightSwitch, ///< the same day program, with a night pair at some version's offset
        New,         ///< any other difference: another program
        Damaged,     ///< differs, but is empty, cut short, or holds no version's bytes
    };

    /// What `compare` finds.
    struct Comparison {
        Kind kind = Kind::Same;
        /// Whether the game's program holds the night pair at some version's offset.
        bool night = false;
        /// For `Kind::Damaged`: what is wrong with the game's program, in words.
        QString damage;
    };

    /// Compares the game's program `present` with the original copy `original`, as day
    /// programs. False, with `error` naming the file and the reason, when one of them cannot
    /// be read.
    static bool compare(const QString &present, const QString &original, Comparison *result,
                        QString *error);

    /// Copies the program `from` over `to` (atomically) with the day pair put in wherever a
    /// version's night pair stands. False, with `error` naming the file and the reason.
    static bool copyAsDay(const QString &from, const QString &to, QString *error);

    /// The name, in `mod`, the previous original copy is kept under when a new program takes
    /// its place: "eaw.exe.before-update", or the first of "eaw.exe.before-update-2", "-3" ...
    /// that no file of the folder holds in any case.
    static QString asideName(const QString &mod);

    /// The same for a damaged program the copy is put back over: "eaw.exe.replaced", "-2" ...
    static QString replacedName(const QString &mod);

    /// Restore's step for the program: puts the original copy back over a night-switched,
    /// damaged or missing game program, leaves the same program alone, and makes a new
    /// program the original copy (the previous one kept under `asideName`), putting the day
    /// pair back in the game's program when it held a night pair. `notice` receives what the
    /// player is told of a new or a damaged program (empty otherwise). False, with `error`
    /// saying what could not be done: the game's program is never replaced by the copy when
    /// the copy could not be brought up to date, so a new program is never lost, and a
    /// damaged program of any bytes is replaced only once it is kept.
    static bool restore(const QString &game, const QString &mod, QString *notice, QString *error);

private:
    static bool putBack(const QString &target, const QString &original, const QString &mod,
                        const QString &damage, QString *notice, QString *error);
    static bool takeUpdate(const QString &target, const QString &original, const QString &mod,
                           bool night, QString *notice, QString *error);
};

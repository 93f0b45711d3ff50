// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DemoFolder.h"

#include <QByteArray>
#include <QString>

/// The demo game folder: a made-up game installation holding every file the selector reads
/// or writes there.
///
/// - eaw.ini (`DemoEawIni`), a stand-in eaw.exe, flt.cdf and V1V1.FLT (cheat byte 0),
///   planes.dat (30 records), pnames.str (30 names), the three plane-pick menus, loadout.dat,
///   the keyboard-control table KC, the picture BACKGROUND;
/// - the folders Music, MUSIC#Jazz and music#Quiet (music sets with music.txt) and Savedata
///   (campaign saves and default mission files);
/// - loose files: chatline.txt and EXTRA.SPT, which the selector's clean-up keeps, and
///   readme.txt, mypic, sp09.3dz and oldhud.spt, which it sweeps out as stray content.
///
/// Note that the clean-up also sweeps planes.dat, pnames.str, the menus, loadout.dat and
/// V1V1.FLT (they match its patterns); no demo folder carries them with the same bytes, so
/// on the first run they are moved into the user's data folder with the other loose files,
/// and the demo F folders bring their own. No LastVEKDir is written: the selector makes it
/// on its first run.
class DemoGameFolder {
public:
    /// Length of the stand-in eaw.exe: beyond the last byte the night switch patches
    /// (offset 699396).
    static constexpr qint64 ExeSize = 704 * 1024;
    /// Length of flt.cdf: beyond its cheat byte at offset 38257.
    static constexpr qint64 FltCdfSize = 40 * 1024;
    /// Bytes per slot in the demo loadout.dat (30 slots); .lox patches address them.
    static constexpr int LoadoutSlotSize = 64;

    /// The stand-in program: a line saying what it is, then zero padding, with the night
    /// switch's "normal" bytes 0x94, 0x07 at the offsets of all four game versions. It is
    /// not a runnable program.
    static QByteArray exeBytes();

    /// flt.cdf: made-up data, cheat byte (offset 38257) 0.
    static QByteArray fltCdfBytes();

    /// A flight file (.flt) of `size` bytes of made-up data seeded by `seed`. Byte offset 1 is
    /// 0, as V1V1.FLT has it (its cheat byte).
    static QByteArray flightFile(int seed, int size);

    /// loadout.dat: 30 slots of `LoadoutSlotSize` made-up bytes; `variant` changes them.
    static QByteArray loadoutBytes(int variant = 0);

    /// A campaign save or mission file of the Savedata folder, labelled so a test can tell
    /// where a save came from.
    static QByteArray saveFile(const QString &label);

    /// A music set folder: music.txt (`description` as its first line) and a few short tracks.
    static DemoFolder musicSet(const QString &name, const QString &description, int baseHertz);

    /// The whole game folder, named "EAW".
    static DemoFolder tree();

    /// Writes `tree()` into `path` (created when missing).
    static bool build(const QString &path, QString *error);
};

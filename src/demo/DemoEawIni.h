// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>

/// The game's options file eaw.ini as a fresh installation might have it. It carries every
/// section and key the selector writes or scans ([EAW] ExtraSquads= and DisplayInfoSetting=,
/// [GRAPHICS] Width=/Height=, [NETOPTION] online and sync keys, the ten sound keys, a [DISPLAY]
/// section of 30 HUD colour keys and a [REMAP] section of key bindings) and, around them,
/// keys and sections the selector must pass through untouched, two of them with lower-case
/// section names.
class DemoEawIni {
public:
    /// The lines, without line ends.
    static QStringList lines();

    /// The file: `lines()` in Windows-1252 with CR LF.
    static QByteArray bytes();

    /// The key bindings of [REMAP], in file order: binding i (0-based) stands i + 1 lines
    /// below the section line.
    static QStringList remapKeys();

    /// How many lines below "[REMAP]" the binding `key` stands (the number a keyboard-control
    /// feature code uses), or -1 for an unknown key.
    static int remapOffset(const QString &key);
};

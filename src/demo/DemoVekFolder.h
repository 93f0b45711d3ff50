// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DemoFolder.h"
#include "DemoLoxFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// The demo VEK folder: the selector's group table and start page and a set of content
/// folders that exercise every kind of content.
///
/// - linkscreen (start page, and the marker of a VEK folder), vek.ini, newpic, links.txt,
///   helpfile.txt;
/// - content folders of the groups A (one at a time), G (several at once, one of them named
///   with a blank after the letter: "G Cockpit sounds"), M (missions, each with its "C-"
///   campaign store holding saves), F (aircraft sets: "F-Late war fighters" with "P-"
///   alternative aircraft and a plain "Docs" subfolder, "F-Early war" without alternatives),
///   T and S; each with contents.txt and a preview picture (mypic or a .bmp);
/// - Skinfolder with skins for slots 5 (two of them), 10, 16 and 22; Autoscripts with two
///   scripts that name content folders, skins and alternative aircraft.
///
/// The ledger files, LastVEKDir, C-Default, Interchange and the original copies of eaw.ini
/// and eaw.exe are not written: the selector makes them on its first run.
class DemoVekFolder {
public:
    /// One line of vek.ini: "description:letter".
    struct Group {
        QString description;
        /// Written after the colon, blanks included; the selector takes the line's last
        /// character as the letter.
        QString afterColon;
    };

    /// An alternative aircraft: a "P-" folder with its .vek file and optional .lox and .flt.
    struct AltPlane {
        QString folder;
        QString vekFile;
        /// Line 1 of the .vek as written (may carry blanks, which the selector trims).
        QByteArray nameLine;
        int slot = 0;
        int fuel = 0;
        /// Patches of loadout.dat; empty for no .lox file.
        QList<DemoLoxFile::Patch> loadout;
        /// Name of the .flt file; empty for none.
        QString flightFile;
        QStringList contents;
    };

    static QList<Group> groups();

    /// vek.ini for `groups`.
    static QByteArray vekIni(const QList<Group> &groups);

    /// The alternatives of "F-Late war fighters", in folder-name order.
    static QList<AltPlane> altPlanes();

    /// The "P-" folder of `plane`: the .vek (span from the stock record of the slot with
    /// its own fuel load and made-up bytes), contents.txt, and the .lox and .flt if any.
    static DemoFolder altPlaneFolder(const AltPlane &plane, int variant);

    /// The whole VEK folder, named "VEK".
    static DemoFolder tree();

    /// Writes `tree()` into `path` (created when missing).
    static bool build(const QString &path, QString *error);
};

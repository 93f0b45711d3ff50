// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

/// The keyboard-control feature table KC: 8-bit text, CR LF, one feature a line, feature n on
/// line n. A line is tab-separated: the description first (its first two characters are the
/// feature's selection number), then the codes, applied left to right:
///
///     n          empty the value of the eaw.ini line n lines below "[REMAP"
///     S<d><text> set a sound key to <text>: S1 SOUNDQ ... S9 REVERSEST, S0 SUBTITLES
///     C<text>    fixed HUD colour value
///     D<text>    display-info value (DisplayInfoSetting=)
class DemoKcTable {
public:
    struct Feature {
        QString description;
        QStringList codes;
    };

    /// The demo's features. Their number codes are the positions of real bindings of the
    /// demo eaw.ini (`DemoEawIni::remapOffset`), so every code hits a keyed line.
    static QList<Feature> features();

    /// The file for `features`.
    static QByteArray bytes(const QList<Feature> &features);
};

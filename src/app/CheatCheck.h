// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The online cheat-check byte the game reads from two of its files: the chosen keyboard-
/// control feature while the check is on, else 0.
class CheatCheck {
public:
    static constexpr qint64 FltCdfPosition = 38258; ///< 1-based, file offset 0x9571
    static constexpr qint64 V1V1Position = 2;

    /// The question "Exit" asks while the check is on (OK and Cancel, no icon).
    static inline const QString ExitTitle =
        QStringLiteral("To continue with the current setting just minimise the VEK form!");
    static inline const QString ExitText = QStringLiteral(
        "This action will cancel the cheatcheck \r\nwhich is currently set to on.\r\nProceed?");

    /// The byte to write: `featureNumber` (0 for none) while the check is on, else 0.
    static unsigned char value(bool checked, int featureNumber) {
        return checked ? static_cast<unsigned char>(featureNumber) : 0;
    }

    /// The load-time clear: 0 at the flt.cdf position when the game folder has flt.cdf.
    /// Answers false with `error` set when the file is there but could not be written.
    ///
    /// Both files are only ever overwritten in place: a file too short to hold the byte is not
    /// the game's file (the game reads the byte at that position), so it is refused with a
    /// message and left as it was, never lengthened.
    static bool clearAtLoad(const QString &gameFolder, QString *error);

    /// The last file step of every eaw.ini rewrite: `value` into V1V1.FLT and flt.cdf, each
    /// when present (under any case; written under the name present). A file that cannot be
    /// written does not keep the other from being written; `error` names every failure.
    static bool step(const QString &gameFolder, unsigned char value, QString *error);
};

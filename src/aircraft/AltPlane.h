// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

/// An alternative aircraft: a "P-" folder of a content folder, read and checked whole before
/// any game file is touched.
///
/// The folder's first ".vek" file in name order describes it: line 1 the aircraft's name,
/// line 2 its slot, lines 2 to 169 the 168 bytes of its planes.dat record span. Exactly one
/// ".lox" file is a loadout patch (pairs of lines: 1-based position in loadout.dat, byte
/// value); exactly one ".flt" file is a flight file copied into the game folder. Two or more
/// of either kind are ignored, as the game tools have always done.
class AltPlane {
public:
    QString folder;                          ///< full path of the "P-" folder
    QString vekPath;                         ///< its first .vek file
    QByteArray nameLine;                     ///< line 1 as read
    QByteArray slotText;                     ///< line 2 as read
    int slot = -1;                           ///< 0..29
    QByteArray span;                         ///< 168 bytes
    QString loxPath;                         ///< empty unless exactly one .lox
    QList<QPair<qint64, unsigned char>> lox; ///< (position, value) in file order
    QString fltPath;                         ///< empty unless exactly one .flt

    /// The name for the names file: line 1 without blanks at either end.
    QByteArray name() const { return nameLine.trimmed(); }

    /// Whether `name` (the folder's own name) marks an alternative aircraft folder: it begins
    /// "P-", in any case, as every name the selector matches in a folder.
    static bool isAltFolder(const QString &name) {
        return name.startsWith(QLatin1String("P-"), Qt::CaseInsensitive);
    }

    /// Reads the .vek file and checks it: a name that is not blank and fits a menu entry
    /// (254 bytes), a slot 0 to 29, 168 whole numbers 0 to 255. Answers false with `error`
    /// naming the file and what is wrong.
    bool readVek(const QString &folder, QString *error);

    /// Reads and checks the loadout patch, when there is one: every position must lie inside
    /// a loadout.dat of `loadoutSize` bytes, every value be 0 to 255.
    bool readLox(qint64 loadoutSize, QString *error);

    /// Finds the .lox and .flt files (exactly one of each counts).
    void findExtras();

    /// The integer part of a number as the game tools read it: leading blanks skipped, an
    /// optional sign, the digits up to the first other character. False when there are none.
    static bool leadingInteger(const QByteArray &text, qint64 *value);
};

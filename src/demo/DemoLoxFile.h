// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

/// A loadout patch (.lox): 8-bit text, CR LF, pairs of lines to the end of the file: a 1-based
/// byte position in the game's loadout.dat, then the byte value (0 to 255) to write there.
class DemoLoxFile {
public:
    using Patch = QPair<qint64, int>;

    /// The file for `patches` (position, value), in the order given.
    static QByteArray bytes(const QList<Patch> &patches);
};

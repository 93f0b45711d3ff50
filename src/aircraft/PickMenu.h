// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// The game's plane-pick menus: picplna.mnu (American fighters), picplnb.mnu (British) and
/// picplng.mnu (German). Each carries the names of its side's fighter slots, so after every
/// swap of an alternative aircraft all three are generated again, completely, from the
/// built-in layout and the current names; nothing is read from the old files.
///
/// A menu file is: a header (kind 14, the picture "picplnX.pic", kind 13 with the 640 x 480
/// screen, the number of entries, the bytes 53, 0); one kind-6 entry per fighter slot (number,
/// text with its 32-bit length counting the closing zero, the hot area X, Y, W, H, then 32-bit
/// 1); two kind-6 entries leading to the other sides' menus; a kind-3 "EXIT" entry; and the
/// closing bytes 3, 0, 0. Numbers are little-endian.
///
/// Decisions:
/// - A name is cut at its first 0x00 byte (the game would end the text there anyway) and to
///   254 bytes, the longest text whose length, closing zero included, the game's reader takes
///   in one byte. Names are bytes (Windows-1252, as in the names file), so every character
///   fits one byte.
/// - `write` replaces the file atomically, so an older, longer file is cut to the new length;
///   nothing of the old file survives after the closing 3, 0, 0.
/// - The file is written under the name already present in the game folder in any case.
class PickMenu {
public:
    enum class Side { American, British, German };

    /// "picplna.mnu", "picplnb.mnu" or "picplng.mnu".
    static QString fileName(Side side);

    /// The slots whose names the menu lists, entry 1 first. (Not called `slots`: that word is
    /// one of Qt's keywords.)
    static QList<int> menuSlots(Side side);

    /// The whole menu file for `names`, given in the menu's order (entry i = the name of
    /// menuSlots(side)[i - 1]). Missing names are written as empty texts, extra ones ignored.
    static QByteArray build(Side side, const QList<QByteArray> &names);

    /// The side's names picked from the names-file entries (index = slot); empty when the
    /// entries do not reach every slot of the menu.
    static QList<QByteArray> namesFor(Side side, const QList<QByteArray> &slotNames);

    /// Writes the side's menu into `gameFolder`. `names` must hold one name per menu entry;
    /// fewer is refused. A read-only file is refused.
    static bool write(const QString &gameFolder, Side side, const QList<QByteArray> &names,
                      QString *error);

    /// Writes the German, the British and the American menu, in that order, with the names
    /// of `slotNames` (the names-file entries, index = slot). Refused before anything is
    /// written when the entries do not reach slot 24 or a menu file is read-only; a write that
    /// still fails stops the run, and the message names the file (menus written before it
    /// keep their new contents).
    static bool writeAll(const QString &gameFolder, const QList<QByteArray> &slotNames,
                         QString *error);

    /// The longest name a menu entry carries, in bytes.
    static constexpr int MaxNameLength = 254;
    /// The menus name slots up to 24: a names list must hold at least this many entries.
    static constexpr int NamesNeeded = 25;
};

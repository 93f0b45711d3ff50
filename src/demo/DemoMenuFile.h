// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// The game's plane-pick menus picplna.mnu (American), picplnb.mnu (British) and picplng.mnu
/// (German). Each is a header naming its picture and the 640 x 480 screen, one entry of kind 6
/// per fighter slot of the side (the slot's name and its hot area), two kind-6 entries that
/// lead to the other sides' menus, and a closing "EXIT" entry of kind 3. Numbers are
/// little-endian; texts carry a 32-bit length that counts their closing zero byte.
///
/// The selector regenerates these files after every aircraft swap; the demo writes the stock
/// files the same way from the stock names, so a game folder starts out consistent.
class DemoMenuFile {
public:
    enum class Side { American, British, German };

    /// "picplna.mnu", "picplnb.mnu" or "picplng.mnu".
    static QString fileName(Side side);

    /// The slots the menu lists, in its order (entry 1 first).
    static QList<int> menuSlots(Side side);

    /// The menu for the names of `slotNames` (the 30 entries of pnames.str, slot order); only
    /// the side's slots are used. Names are written in Windows-1252 and must be shorter than
    /// 255 characters (the game's length byte).
    static QByteArray bytes(Side side, const QStringList &slotNames);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

/// The game's 30 aircraft slots as the demo data describes them: the name the game shows
/// (the slot's entry of pnames.str), the four-letter code of the selector's slot list, and
/// the values the demo planes.dat record carries for the slot.
class DemoSlots {
public:
    static constexpr int Count = 30;

    /// Bits of the record's TypeFlags byte (offset 8).
    enum TypeBit : unsigned char {
        Fighter = 1,
        Bomber = 2,
        Flyable = 4,
        Jet = 8,
        TwinEngined = 16,
        FourEngined = 32,
        Rocket = 64,
        German = 128,
    };

    /// Bits of the record's NationGearFlags byte (offset 9).
    enum NationBit : unsigned char {
        British = 1,
        American = 2,
        InlineEngine = 4,
        GearBack = 16,
        GearInwards = 32,
        GearOutwards = 64,
        NoseWheel = 128,
    };

    struct Slot {
        const char *name;
        const char *code;
        unsigned char typeFlags;
        unsigned char nationGearFlags;
        /// Full fuel load in the game's unit, 0 to 32767 (the selector reads it as signed
        /// 16-bit).
        int fuel;
    };

    /// Slot `s`, 0 to 29.
    static const Slot &slot(int s);

    /// The 30 names in slot order: the stock pnames.str.
    static QStringList names();
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

/// planes.dat as the game keeps it: 30 records of 216 bytes, no header. Record s starts at
/// offset s * 216. The selector interprets only the slot number (offset 4), the two flag bytes
/// (offsets 8 and 9) and the fuel load (offsets 40 and 41, little-endian); the demo fills the
/// other bytes with made-up values that differ from slot to slot and from table to table, so
/// that a wrong record or a shifted span shows up in a comparison.
class DemoPlanesDat {
public:
    static constexpr int RecordSize = 216;
    static constexpr int RecordCount = 30;
    /// The span a swap replaces: offsets 4 to 171 of a record.
    static constexpr int SpanOffset = 4;
    static constexpr int SpanSize = 168;
    static constexpr int TypeFlagsOffset = 8;
    static constexpr int NationGearFlagsOffset = 9;
    static constexpr int FuelOffset = 40;

    /// The record of `slot` (0 to 29). `variant` 0 is the game's stock table; a content pack
    /// carries another variant, whose fuel loads are 10 % higher per step and whose
    /// uninterpreted bytes differ. `fuel` >= 0 replaces the fuel load (0 to 32767).
    static QByteArray record(int slot, int variant = 0, int fuel = -1);

    /// The 168-byte span of `record(slot, variant, fuel)`: what a .vek file carries.
    static QByteArray span(int slot, int variant = 0, int fuel = -1);

    /// The whole table of 30 records.
    static QByteArray file(int variant = 0);

    /// The fuel load `record(slot, variant)` carries.
    static int fuel(int slot, int variant = 0);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoPlanesDat.h"

#include "DemoSlots.h"

#include <algorithm>

int DemoPlanesDat::fuel(int slot, int variant) {
    return std::min(32767, DemoSlots::slot(slot).fuel * (10 + variant) / 10);
}

QByteArray DemoPlanesDat::record(int slot, int variant, int fuel) {
    QByteArray r(RecordSize, '\0');
    for (int o = 0; o < RecordSize; ++o)
        r[o] = static_cast<char>((slot * 53 + o * 29 + variant * 101 + 7) & 0xFF);
    const DemoSlots::Slot &s = DemoSlots::slot(slot);
    const int load = fuel >= 0 ? fuel : DemoPlanesDat::fuel(slot, variant);
    r[SpanOffset] = static_cast<char>(slot);
    r[TypeFlagsOffset] = static_cast<char>(s.typeFlags);
    r[NationGearFlagsOffset] = static_cast<char>(s.nationGearFlags);
    r[FuelOffset] = static_cast<char>(load & 0xFF);
    r[FuelOffset + 1] = static_cast<char>((load >> 8) & 0xFF);
    return r;
}

QByteArray DemoPlanesDat::span(int slot, int variant, int fuel) {
    return record(slot, variant, fuel).mid(SpanOffset, SpanSize);
}

QByteArray DemoPlanesDat::file(int variant) {
    QByteArray out;
    out.reserve(RecordSize * RecordCount);
    for (int s = 0; s < RecordCount; ++s)
        out += record(s, variant);
    return out;
}

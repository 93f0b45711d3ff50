// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoSlots.h"

namespace {

using S = DemoSlots;

// Flag values are plausible for each type rather than authoritative: what the game makes
// of them is its own matter, but the pairs the record editor keeps exclusive (twin/four
// engines, gear inwards/outwards) are never both set, so the editor's rules can be shown
// on stock data.
constexpr unsigned char kFighter = S::Fighter | S::Flyable;
constexpr unsigned char kBomber = S::Bomber | S::Flyable;

const S::Slot kSlots[S::Count] = {
    {"P-38H", "p38h", kFighter | S::TwinEngined,
     S::American | S::InlineEngine | S::GearBack | S::NoseWheel, 3000},
    {"P-38J", "p38j", kFighter | S::TwinEngined,
     S::American | S::InlineEngine | S::GearBack | S::NoseWheel, 3600},
    {"P-47C", "p47c", kFighter, S::American | S::GearInwards, 2300},
    {"P-47D", "p47d", kFighter, S::American | S::GearInwards, 2700},
    {"P-51B", "p51b", kFighter, S::American | S::InlineEngine | S::GearInwards, 2200},
    {"P-51D", "p51d", kFighter, S::American | S::InlineEngine | S::GearInwards, 2690},
    {"B-17F", "bb17", kBomber | S::FourEngined, S::American | S::GearBack, 17000},
    {"B-24D", "b24a", kBomber | S::FourEngined, S::American | S::GearOutwards | S::NoseWheel,
     23000},
    {"B-26B", "b26a", kBomber | S::TwinEngined, S::American | S::GearBack | S::NoseWheel, 9600},
    {"Hurricane", "hurr", kFighter, S::British | S::InlineEngine | S::GearInwards, 970},
    {"Spitfire IA", "sp2a", kFighter, S::British | S::InlineEngine | S::GearOutwards, 850},
    {"Spitfire IXC", "sp09", kFighter, S::British | S::InlineEngine | S::GearOutwards, 850},
    {"Spitfire XIVE", "sp14", kFighter, S::British | S::InlineEngine | S::GearOutwards, 1120},
    {"Typhoon IB", "typh", kFighter, S::British | S::InlineEngine | S::GearInwards, 1540},
    {"Tempest V", "temp", kFighter, S::British | S::InlineEngine | S::GearInwards, 1650},
    {"Mosquito IV", "mosq", kBomber | S::TwinEngined, S::British | S::InlineEngine | S::GearBack,
     5400},
    {"Bf 109", "109e", kFighter | S::German, S::InlineEngine | S::GearOutwards, 880},
    {"Bf 109G-6", "109g", kFighter | S::German, S::InlineEngine | S::GearOutwards, 880},
    {"Bf 109K-4", "109k", kFighter | S::German, S::InlineEngine | S::GearOutwards, 1150},
    {"Bf 110C-4", "110c", kFighter | S::TwinEngined | S::German, S::InlineEngine | S::GearBack,
     2500},
    {"Bf 110G-2", "110g", kFighter | S::TwinEngined | S::German, S::InlineEngine | S::GearBack,
     2500},
    {"Me 410A-1", "m410", kFighter | S::Bomber | S::TwinEngined | S::German,
     S::InlineEngine | S::GearBack, 4000},
    {"Fw 190A-8", "190a", kFighter | S::German, S::GearInwards, 1150},
    {"Fw 190D", "190d", kFighter | S::German, S::InlineEngine | S::GearInwards, 1200},
    {"Me 262A-1", "262a", kFighter | S::Jet | S::TwinEngined | S::German,
     S::GearInwards | S::NoseWheel, 2570},
    {"Ju 88A-4", "j88a", kBomber | S::TwinEngined | S::German, S::InlineEngine | S::GearBack, 7500},
    {"Ju 88C-6", "j88c", kFighter | S::TwinEngined | S::German, S::InlineEngine | S::GearBack,
     7500},
    {"Ju 87B-2", "ju87", kBomber | S::German, S::InlineEngine, 1200},
    {"He 111H-2", "h111", kBomber | S::TwinEngined | S::German, S::InlineEngine | S::GearBack,
     7000},
    {"V -1", "v1v1", S::Rocket | S::German, 0, 1150},
};

} // namespace

const DemoSlots::Slot &DemoSlots::slot(int s) {
    return kSlots[s];
}

QStringList DemoSlots::names() {
    QStringList out;
    for (const Slot &s : kSlots)
        out << QString::fromLatin1(s.name);
    return out;
}

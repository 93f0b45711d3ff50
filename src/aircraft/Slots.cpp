// SPDX-License-Identifier: GPL-3.0-or-later
#include "Slots.h"

const QStringList &Slots::displayNames() {
    static const QStringList names = {
        "P-38H",         "P-38J",      "P-47C",     "P-47D",       "P-51B",       "P-51D",
        "B-17F",         "B-24D",      "B-26B",     "Hurricane",   "Spitfire IA", "Spitfire IXC",
        "Spitfire XIVE", "Typhoon IB", "Tempest V", "Mosquito IV", "Bf 109",      "Bf 109G-6",
        "Bf 109K-4",     "Bf 110C-4",  "Bf 110G-2", "Me 410A-1",   "Fw 190A-8",   "Fw 190D",
        "Me 262A-1",     "Ju 88A-4",   "Ju 88C-6",  "Ju 87B-2",    "He 111H-2",   "V -1"};
    return names;
}

const QStringList &Slots::PlaneCodes() {
    static const QStringList codes = {
        "p38h", "p38j", "p47c", "p47d", "p51b", "p51d", "bb17", "b24a", "b26a", "hurr", "sp2a",
        "sp09", "sp14", "typh", "temp", "mosq", "109e", "109g", "109k", "110c", "110g", "m410",
        "190a", "190d", "262a", "j88a", "j88c", "ju87", "h111", "v1v1", ""};
    return codes;
}

QStringList Slots::filterEntries() {
    QStringList entries = {QStringLiteral("ALL")};
    for (int n = 0; n < Count; ++n)
        entries << QStringLiteral("A-%1: %2")
                       .arg(n, 2, 10, QLatin1Char('0'))
                       .arg(PlaneCodes().at(n).toUpper());
    return entries;
}

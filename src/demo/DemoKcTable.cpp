// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoKcTable.h"

#include "DemoEawIni.h"
#include "DemoFolder.h"

namespace {
QStringList remap(std::initializer_list<const char *> keys) {
    QStringList codes;
    for (const char *k : keys)
        codes << QString::number(DemoEawIni::remapOffset(QString::fromLatin1(k)));
    return codes;
}
} // namespace

QList<DemoKcTable::Feature> DemoKcTable::features() {
    return {
        {QStringLiteral("01 No padlock view"),
         remap({"PadlockView", "PadlockNext", "PadlockPrevious"})},
        {QStringLiteral("02 No external views"),
         remap({"ViewExternal", "ViewChase", "ViewFlyby", "ViewTarget", "ViewEnemy",
                "ViewFriendly"}) +
             QStringList{QStringLiteral("D0")}},
        {QStringLiteral("03 No map view"), remap({"ViewMap"}) + QStringList{QStringLiteral("D1")}},
        {QStringLiteral("04 No time compression"), remap({"TimeCompressUp", "TimeCompressDown"})},
        {QStringLiteral("05 Cockpit only, fixed HUD colour"),
         remap({"ViewExternal", "ViewChase", "ViewFlyby"}) +
             QStringList{QStringLiteral("C7"), QStringLiteral("D0")}},
        {QStringLiteral("06 No autopilot"), remap({"Autopilot"})},
        {QStringLiteral("07 Quiet cockpit (no music, low speech, no subtitles)"),
         {QStringLiteral("S70"), QStringLiteral("S850"), QStringLiteral("S00")}},
        {QStringLiteral("08 Full realism"),
         remap({"PadlockView", "PadlockNext", "PadlockPrevious", "ViewMap", "TimeCompressUp",
                "Autopilot"}) +
             QStringList{QStringLiteral("D0"), QStringLiteral("C2")}},
    };
}

QByteArray DemoKcTable::bytes(const QList<Feature> &features) {
    QStringList lines;
    for (const Feature &f : features)
        lines << (QStringList{f.description} + f.codes).join(QLatin1Char('\t'));
    return DemoFolder::textBytes(lines);
}

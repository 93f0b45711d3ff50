// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoEawIni.h"

#include "DemoFolder.h"

namespace {

struct Binding {
    const char *key;
    const char *value;
};

// Made-up key bindings; the keyboard-control features address them by their distance from
// the section line, so the order matters and is fixed.
const Binding kRemap[] = {
    {"PadlockView", "P"},
    {"PadlockNext", "Shift+P"},
    {"PadlockPrevious", "Ctrl+P"},
    {"ViewForward", "F1"},
    {"ViewBack", "F2"},
    {"ViewLeft", "F3"},
    {"ViewRight", "F4"},
    {"ViewUp", "F5"},
    {"ViewDown", "F6"},
    {"ViewCockpit", "F7"},
    {"ViewExternal", "F8"},
    {"ViewChase", "F9"},
    {"ViewFlyby", "F10"},
    {"ViewTarget", "F11"},
    {"ViewEnemy", "F12"},
    {"ViewFriendly", "Shift+F12"},
    {"ViewMap", "M"},
    {"ZoomIn", "Z"},
    {"ZoomOut", "Shift+Z"},
    {"TimeCompressUp", "Ctrl+X"},
    {"TimeCompressDown", "Ctrl+Z"},
    {"TimeNormal", "Ctrl+N"},
    {"Pause", "Alt+P"},
    {"Autopilot", "A"},
    {"NextWaypoint", "W"},
    {"Formation", "Shift+F"},
    {"WingmenAttack", "Shift+A"},
    {"WingmenCover", "Shift+C"},
    {"WingmenReturn", "Shift+R"},
    {"RadioMenu", "R"},
    {"ChatMessage", "Enter"},
    {"NextTarget", "T"},
    {"PreviousTarget", "Shift+T"},
    {"TargetNearest", "Ctrl+T"},
    {"FireGuns", "Space"},
    {"FireCannon", "Ctrl+Space"},
    {"DropBombs", "B"},
    {"FireRockets", "Shift+B"},
    {"Gear", "G"},
    {"Flaps", "F"},
    {"Brakes", "Period"},
    {"Engine", "E"},
    {"ThrottleUp", "Plus"},
    {"ThrottleDown", "Minus"},
    {"Eject", "Ctrl+E"},
    {"HudToggle", "H"},
    {"ScreenShot", "Ctrl+S"},
    {"Quit", "Alt+Q"},
};

// Exactly 30 keys: a fixed HUD colour is written to every keyed line among the 30 lines after
// [DISPLAY], so a longer section would keep some, a shorter one would spill into [REMAP].
const char *const kHud[30] = {
    "HudCompass",  "HudAirspeed",  "HudAltitude",  "HudHeading",    "HudThrottle",    "HudFuel",
    "HudAmmo",     "HudGunsight",  "HudTargetBox", "HudTargetName", "HudTargetRange", "HudRadar",
    "HudWaypoint", "HudMessages",  "HudChat",      "HudFlaps",      "HudGear",        "HudBrakes",
    "HudClock",    "HudFrameRate", "HudDamage",    "HudWingmen",    "HudEnemy",       "HudFriendly",
    "HudGround",   "HudBomb",      "HudTorque",    "HudRpm",        "HudPitch",       "HudBank",
};

} // namespace

QStringList DemoEawIni::remapKeys() {
    QStringList keys;
    for (const Binding &b : kRemap)
        keys << QString::fromLatin1(b.key);
    return keys;
}

int DemoEawIni::remapOffset(const QString &key) {
    const int i = remapKeys().indexOf(key);
    return i < 0 ? -1 : i + 1;
}

QStringList DemoEawIni::lines() {
    QStringList l{
        QStringLiteral("[EAW]"),
        QStringLiteral("GameVersion=1.2"),
        QStringLiteral("PilotName=Demo Pilot"),
        QStringLiteral("Difficulty=2"),
        QStringLiteral("ExtraSquads=0"),
        QStringLiteral("DisplayInfoSetting=1"),
        QStringLiteral("CampaignLength=Full"),
        QStringLiteral(""),
        QStringLiteral("[GRAPHICS]"),
        QStringLiteral("Width=1024"),
        QStringLiteral("Height=768"),
        QStringLiteral("ColourDepth=16"),
        QStringLiteral("Gamma=5"),
        QStringLiteral("TerrainDetail=4"),
        QStringLiteral("CloudDetail=3"),
        QStringLiteral(""),
        QStringLiteral("[sound]"),
        QStringLiteral("SoundQuality=1"),
        QStringLiteral("SoundChannels=16"),
        QStringLiteral("SoundDevice=0"),
        QStringLiteral("SoundVolume=100"),
        QStringLiteral("EngineVolume=80"),
        QStringLiteral("ExternalVolume=70"),
        QStringLiteral("MusicVolume=60"),
        QStringLiteral("SpeechVolume=90"),
        QStringLiteral("ReverseStereo=0"),
        QStringLiteral("Subtitles=1"),
        QStringLiteral(""),
        QStringLiteral("[NETOPTION]"),
        QStringLiteral("SessionName=VEK Demo"),
        QStringLiteral("MaxPlayers=8"),
        QStringLiteral("StartOnGround=0"),
        QStringLiteral("NoAI=0"),
        QStringLiteral("AllowRespawn=1"),
        QStringLiteral("AI_PlaneUpdateRate=160"),
        QStringLiteral("PlayerPlaneUpdateRate=16"),
        QStringLiteral("ClockSyncRate=75"),
        QStringLiteral(""),
        QStringLiteral("[joystick]"),
        QStringLiteral("DeadZone=8"),
        QStringLiteral("RudderPedals=1"),
        QStringLiteral("ThrottleAxis=2"),
        QStringLiteral(""),
        QStringLiteral("[DISPLAY]"),
    };
    for (int i = 0; i < 30; ++i)
        l << QStringLiteral("%1=%2").arg(QLatin1String(kHud[i])).arg(1 + (i * 3) % 7);
    l << QStringLiteral("[REMAP]");
    for (const Binding &b : kRemap)
        l << QStringLiteral("%1=%2").arg(QLatin1String(b.key), QLatin1String(b.value));
    return l;
}

QByteArray DemoEawIni::bytes() {
    return DemoFolder::textBytes(lines());
}

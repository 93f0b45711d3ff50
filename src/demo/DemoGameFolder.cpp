// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoGameFolder.h"

#include "DemoBitmap.h"
#include "DemoEawIni.h"
#include "DemoKcTable.h"
#include "DemoMenuFile.h"
#include "DemoPlanesDat.h"
#include "DemoSlots.h"
#include "DemoStringFile.h"
#include "DemoWave.h"

namespace {

// Where the game versions keep the two bytes the night switch toggles.
constexpr qint64 kNightOffsets[] = {594615, 582209, 699395, 636635};

QByteArray filler(int seed, int size) {
    QByteArray out(size, '\0');
    quint32 x = 0x9E3779B9u ^ static_cast<quint32>(seed);
    for (int i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u; // a fixed sequence, so every build is identical
        out[i] = static_cast<char>(x >> 24);
    }
    return out;
}

} // namespace

QByteArray DemoGameFolder::exeBytes() {
    QByteArray out(ExeSize, '\0');
    const QByteArray banner =
        "VEK Selector demo: stand-in for the game program. It is not a program and does "
        "not run.\r\n";
    out.replace(0, banner.size(), banner);
    for (qint64 offset : kNightOffsets) {
        out[offset] = static_cast<char>(0x94);
        out[offset + 1] = static_cast<char>(0x07);
    }
    return out;
}

QByteArray DemoGameFolder::fltCdfBytes() {
    QByteArray out = filler(38258, static_cast<int>(FltCdfSize));
    out[38257] = '\0';
    return out;
}

QByteArray DemoGameFolder::flightFile(int seed, int size) {
    QByteArray out = filler(seed, qMax(size, 2));
    out[1] = '\0';
    return out;
}

QByteArray DemoGameFolder::loadoutBytes(int variant) {
    return filler(7000 + variant, DemoSlots::Count * LoadoutSlotSize);
}

QByteArray DemoGameFolder::saveFile(const QString &label) {
    QByteArray out = "DEMO SAVE " + label.toLatin1() + '\0';
    int seed = 0;
    for (QChar c : label)
        seed = (seed * 31 + c.unicode()) & 0xFFFFFF;
    out += filler(seed, 512 - static_cast<int>(out.size()));
    return out;
}

DemoFolder DemoGameFolder::musicSet(const QString &name, const QString &description,
                                    int baseHertz) {
    DemoFolder set(name);
    set.text(QStringLiteral("music.txt"), {description});
    set.file(QStringLiteral("track01.wav"), DemoWave::tone(baseHertz, 400));
    set.file(QStringLiteral("track02.wav"), DemoWave::tone(baseHertz * 5 / 4, 400));
    set.file(QStringLiteral("track03.wav"), DemoWave::tone(baseHertz * 3 / 2, 400));
    return set;
}

DemoFolder DemoGameFolder::tree() {
    const QStringList names = DemoSlots::names();
    DemoFolder eaw(QStringLiteral("EAW"));
    eaw.file(QStringLiteral("eaw.ini"), DemoEawIni::bytes());
    eaw.file(QStringLiteral("eaw.exe"), exeBytes());
    eaw.file(QStringLiteral("flt.cdf"), fltCdfBytes());
    eaw.file(QStringLiteral("V1V1.FLT"), flightFile(29, 1024));
    eaw.file(QStringLiteral("planes.dat"), DemoPlanesDat::file(0));
    eaw.file(QStringLiteral("pnames.str"), DemoStringFile::bytes(names));
    for (auto side :
         {DemoMenuFile::Side::American, DemoMenuFile::Side::British, DemoMenuFile::Side::German})
        eaw.file(DemoMenuFile::fileName(side), DemoMenuFile::bytes(side, names));
    eaw.file(QStringLiteral("loadout.dat"), loadoutBytes(0));
    eaw.file(QStringLiteral("KC"), DemoKcTable::bytes(DemoKcTable::features()));
    eaw.file(QStringLiteral("BACKGROUND"), DemoBitmap::gradient(160, 120, 0x1E3C78, 0xC8B48C));

    // Loose files: the first two survive the selector's clean-up, the others are stray.
    eaw.text(QStringLiteral("chatline.txt"),
             {QStringLiteral("Good luck and good hunting!"), QStringLiteral("Check six!"),
              QStringLiteral("Rejoin on me.")});
    eaw.text(QStringLiteral("EXTRA.SPT"), {QStringLiteral("; extra sprites kept by the game"),
                                           QStringLiteral("flak 12"), QStringLiteral("tracer 4")});
    eaw.text(QStringLiteral("readme.txt"),
             {QStringLiteral("Left behind by an old add-on: this file is not the game's own.")});
    eaw.file(QStringLiteral("mypic"), DemoBitmap::gradient(32, 24, 0x604020, 0xE0C080));
    eaw.file(QStringLiteral("sp09.3dz"), filler(11, 2048));
    eaw.text(QStringLiteral("oldhud.spt"), {QStringLiteral("hud 3")});

    eaw.folder(musicSet(QStringLiteral("Music"), QStringLiteral("The game's own music"), 440));
    eaw.folder(musicSet(QStringLiteral("MUSIC#Jazz"),
                        QStringLiteral("Big band jazz for the long patrols"), 392));
    eaw.folder(musicSet(QStringLiteral("music#Quiet"),
                        QStringLiteral("Quiet strings for night missions"), 330));

    DemoFolder saves(QStringLiteral("Savedata"));
    saves.file(QStringLiteral("Campaign1.sav"), saveFile(QStringLiteral("default campaign 1")));
    saves.file(QStringLiteral("Campaign2.sav"), saveFile(QStringLiteral("default campaign 2")));
    saves.file(QStringLiteral("Default1.msn"), saveFile(QStringLiteral("default mission 1")));
    saves.file(QStringLiteral("Default2.msn"), saveFile(QStringLiteral("default mission 2")));
    eaw.folder(saves);
    return eaw;
}

bool DemoGameFolder::build(const QString &path, QString *error) {
    return tree().write(path, error);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoVekFolder.h"

#include "DemoBitmap.h"
#include "DemoGameFolder.h"
#include "DemoPlanesDat.h"
#include "DemoSlots.h"
#include "DemoStringFile.h"
#include "DemoVekFile.h"

namespace {

QByteArray preview(unsigned top, unsigned bottom) {
    return DemoBitmap::gradient(64, 48, top, bottom);
}

QByteArray made(const QString &what) {
    // Stand-in for a game data file (model, texture, sound, terrain): a readable line that
    // says what it would be, so a copied file can be recognised in the game folder.
    return "VEK demo data: " + what.toLatin1() + "\r\n";
}

DemoFolder content(const QString &name, const QStringList &files, const QStringList &contents,
                   unsigned top, unsigned bottom,
                   const QString &pictureName = QStringLiteral("mypic")) {
    DemoFolder f(name);
    for (const QString &file : files)
        f.file(file, made(name + QLatin1Char('/') + file));
    f.text(QStringLiteral("contents.txt"), contents);
    f.file(pictureName, preview(top, bottom));
    return f;
}

DemoFolder skin(const QString &name, const QStringList &files, const QStringList &contents,
                unsigned top, unsigned bottom) {
    DemoFolder f(name);
    for (const QString &file : files)
        f.file(file, made(QStringLiteral("skin ") + name + QLatin1Char('/') + file));
    f.text(QStringLiteral("contents.txt"), contents);
    f.file(QStringLiteral("skinpic"), preview(top, bottom));
    return f;
}

DemoFolder lateWarFighters() {
    DemoFolder f = content(QStringLiteral("F-Late war fighters"),
                           {QStringLiteral("mustang3.3dz"), QStringLiteral("spit16.3dz"),
                            QStringLiteral("fw190a9.tpc"), QStringLiteral("ta152h.3dz")},
                           {QStringLiteral("Late war fighters"),
                            QStringLiteral("Alternative aircraft for the 1944-45 slots:"),
                            QStringLiteral("Mustang III and IV, Spitfire XVI, Fw 190A-9, Ta 152H."),
                            QStringLiteral("Flight models by Jürgen Weiß.")},
                           0x3050A0, 0xA0C0E0);
    f.file(QStringLiteral("planes.dat"), DemoPlanesDat::file(1));
    f.file(QStringLiteral("pnames.str"), DemoStringFile::bytes(DemoSlots::names()));
    f.file(QStringLiteral("loadout.dat"), DemoGameFolder::loadoutBytes(1));
    int variant = 10;
    for (const DemoVekFolder::AltPlane &p : DemoVekFolder::altPlanes())
        f.folder(DemoVekFolder::altPlaneFolder(p, variant++));
    // Not an alternative aircraft: its name does not begin with "P-".
    DemoFolder docs(QStringLiteral("Docs"));
    docs.text(QStringLiteral("readme.txt"),
              {QStringLiteral("Notes on the late war set. This folder is never copied.")});
    f.folder(docs);
    return f;
}

DemoFolder earlyWar() {
    QStringList names = DemoSlots::names();
    names[11] = QStringLiteral("Spitfire VB");
    names[17] = QStringLiteral("Bf 109F-4");
    names[22] = QStringLiteral("Fw 190A-4");
    DemoFolder f = content(QStringLiteral("F-Early war"),
                           {QStringLiteral("109f.3dz"), QStringLiteral("sp05.tpc")},
                           {QStringLiteral("Early war"),
                            QStringLiteral("Renames three slots to their 1941-42 variants and"),
                            QStringLiteral("brings the matching flight data. No alternatives.")},
                           0x506030, 0xC0D0A0);
    f.file(QStringLiteral("planes.dat"), DemoPlanesDat::file(2));
    f.file(QStringLiteral("pnames.str"), DemoStringFile::bytes(names));
    f.file(QStringLiteral("loadout.dat"), DemoGameFolder::loadoutBytes(2));
    return f;
}

DemoFolder campaignStore(const QString &name, int saves) {
    DemoFolder f(name);
    for (int i = 1; i <= saves; ++i)
        f.file(QStringLiteral("Campaign%1.sav").arg(i),
               DemoGameFolder::saveFile(QStringLiteral("%1 save %2").arg(name).arg(i)));
    return f;
}

QByteArray script(const QStringList &entries) {
    // As the selector saves one: the loaded list, each name with CR LF, then one more CR LF.
    return DemoFolder::textBytes(entries + QStringList{QString()});
}

} // namespace

QList<DemoVekFolder::Group> DemoVekFolder::groups() {
    return {
        {QStringLiteral("Aircraft models"), QStringLiteral("A")},
        {QStringLiteral("Add-ons (several at once)"), QStringLiteral("G")},
        {QStringLiteral("Missions and campaigns"), QStringLiteral("M")},
        {QStringLiteral("Flyable aircraft sets"), QStringLiteral("F")},
        {QStringLiteral("Terrain"), QStringLiteral("T")},
        // A blank after the colon: the letter is still the line's last character.
        {QStringLiteral("Sound packs"), QStringLiteral(" S")},
    };
}

QByteArray DemoVekFolder::vekIni(const QList<Group> &groups) {
    QStringList lines;
    for (const Group &g : groups)
        lines << g.description + QLatin1Char(':') + g.afterColon;
    return DemoFolder::textBytes(lines);
}

QList<DemoVekFolder::AltPlane> DemoVekFolder::altPlanes() {
    const int slotBytes = DemoGameFolder::LoadoutSlotSize;
    return {
        {QStringLiteral("P-Fw 190A-9"),
         QStringLiteral("fw190a9.vek"),
         "Fw 190A-9",
         22,
         1180,
         {{22 * slotBytes + 3, 1}},
         QString(),
         {QStringLiteral("Fw 190A-9"), QStringLiteral("Takes the place of the Fw 190A-8.")}},
        {QStringLiteral("P-Mustang III"),
         QStringLiteral("mustang3.vek"),
         "  Mustang III  ",
         4,
         2400,
         {{4 * slotBytes + 1, 2}, {4 * slotBytes + 2, 6}},
         QStringLiteral("p51b.flt"),
         {QStringLiteral("Mustang III"), QStringLiteral("RAF Mustang with the Malcolm hood."),
          QStringLiteral("Takes the place of the P-51B.")}},
        {QStringLiteral("P-Mustang IV"),
         QStringLiteral("mustang4.vek"),
         "Mustang IV",
         5,
         2690,
         {},
         QString(),
         {QStringLiteral("Mustang IV"), QStringLiteral("Takes the place of the P-51D.")}},
        {QStringLiteral("P-Mustang IV Long Range"),
         QStringLiteral("mustang4lr.vek"),
         "Mustang IV (long range)",
         5,
         3950,
         {{5 * slotBytes + 1, 4}},
         QString(),
         {QStringLiteral("Mustang IV with drop tanks"),
          QStringLiteral("A second choice for the P-51D slot.")}},
        {QStringLiteral("P-Spitfire XVI"),
         QStringLiteral("spit16.vek"),
         "Spitfire XVI",
         11,
         900,
         {},
         QStringLiteral("sp09.flt"),
         {QStringLiteral("Spitfire XVI"), QStringLiteral("Takes the place of the Spitfire IXC.")}},
        {QStringLiteral("P-Ta 152H"),
         QStringLiteral("ta152h.vek"),
         "Ta 152H-1",
         23,
         1400,
         {},
         QString(),
         {QStringLiteral("Ta 152H-1"), QStringLiteral("Takes the place of the Fw 190D.")}},
    };
}

DemoFolder DemoVekFolder::altPlaneFolder(const AltPlane &plane, int variant) {
    DemoFolder f(plane.folder);
    f.file(plane.vekFile, DemoVekFile::bytes(plane.nameLine,
                                             DemoPlanesDat::span(plane.slot, variant, plane.fuel)));
    f.text(QStringLiteral("contents.txt"), plane.contents);
    if (!plane.loadout.isEmpty()) {
        QString lox = plane.vekFile;
        lox.replace(QStringLiteral(".vek"), QStringLiteral(".lox"));
        f.file(lox, DemoLoxFile::bytes(plane.loadout));
    }
    if (!plane.flightFile.isEmpty())
        f.file(plane.flightFile, DemoGameFolder::flightFile(100 + plane.slot, 1024));
    return f;
}

DemoFolder DemoVekFolder::tree() {
    DemoFolder vek(QStringLiteral("VEK"));
    vek.text(QStringLiteral("linkscreen"),
             {QStringLiteral("<html>"), QStringLiteral("<head><title>VEK folder</title></head>"),
              QStringLiteral("<body bgcolor=\"#F0F0E0\">"),
              QStringLiteral("<h1>Welcome to the VEK folder</h1>"),
              QStringLiteral("<p>This is a demonstration VEK folder. Every campaign, aircraft, "
                             "skin and add-on in it is made up.</p>"),
              QStringLiteral("<p>Choose a link from the list above, or read the "
                             "<a href=\"helpfile.txt\">help file</a>.</p>"),
              QStringLiteral("<ul>"),
              QStringLiteral("<li><a href=\"https://example.org/vek/\">VEK home page</a></li>"),
              QStringLiteral("<li><a href=\"https://example.org/vek/downloads.html\">"
                             "Downloads</a></li>"),
              QStringLiteral("</ul>"), QStringLiteral("</body>"), QStringLiteral("</html>")});
    vek.file(QStringLiteral("vek.ini"), vekIni(groups()));
    vek.file(QStringLiteral("newpic"), DemoBitmap::gradient(120, 90, 0x202020, 0x6080C0));
    vek.text(QStringLiteral("links.txt"),
             {QStringLiteral("VEK home page"), QStringLiteral("https://example.org/vek/"),
              QStringLiteral("Downloads"), QStringLiteral("https://example.org/vek/downloads.html"),
              QStringLiteral("Skins and aircraft"),
              QStringLiteral("https://example.net/eaw-skins/")});
    vek.text(QStringLiteral("helpfile.txt"),
             {QStringLiteral("VEK Selector help"), QString(),
              QStringLiteral("Load Files: click a white row to load a folder into the game, a "
                             "green row to take it out again."),
              QStringLiteral("Only one folder of each group can be loaded at a time, except "
                             "in the group of add-ons, where any number can."),
              QStringLiteral("Planes and Skins: load a flyable aircraft set, then click an "
                             "alternative aircraft to put it into its slot."),
              QStringLiteral("Autoscripts: save what is loaded under a name and load it all "
                             "again later with one click."),
              QStringLiteral("Reset Completely takes every added file out of the game folder.")});

    vek.folder(content(QStringLiteral("A-Desert Air Force"),
                       {QStringLiteral("hurr.3dz"), QStringLiteral("hurr.tpc"),
                        QStringLiteral("sp2a.tpc"), QStringLiteral("109e.tpc")},
                       {QStringLiteral("Desert Air Force"),
                        QStringLiteral("Hurricane, Spitfire and Bf 109 in desert colours.")},
                       0xC0A060, 0xE8D8B0));
    vek.folder(content(QStringLiteral("A-Eastern Front"),
                       {QStringLiteral("109g.3dz"), QStringLiteral("109g.tpc"),
                        QStringLiteral("190a.tpc"), QStringLiteral("ju87.tpc")},
                       {QStringLiteral("Eastern Front"),
                        QStringLiteral("Winter camouflage for the German slots.")},
                       0xE0E0F0, 0x708090));
    vek.folder(content(
        QStringLiteral("G-Better clouds"),
        {QStringLiteral("clouds.tpc"), QStringLiteral("sky01.pic"), QStringLiteral("sky02.pic")},
        {QStringLiteral("Better clouds"), QStringLiteral("Softer cloud layers.")}, 0x4080E0,
        0xF0F0F0));
    vek.folder(content(
        QStringLiteral("G Cockpit sounds"),
        {QStringLiteral("engine1.snd"), QStringLiteral("engine2.snd"), QStringLiteral("guns.snd")},
        {QStringLiteral("Cockpit sounds"),
         QStringLiteral("Engine and gun sounds recorded for the demo.")},
        0x303030, 0x909090, QStringLiteral("cockpit.bmp")));
    DemoFolder hud = content(
        QStringLiteral("G-Hud tweaks"), {QStringLiteral("hud.spt"), QStringLiteral("hudfont.mpc")},
        {QStringLiteral("HUD tweaks"), QStringLiteral("A clearer gunsight and HUD font.")},
        0x103010, 0x40C040);
    // Notes for the pack's author; files beginning "ECA" stay in the VEK folder.
    hud.text(QStringLiteral("ECAnotes.txt"), {QStringLiteral("Gunsight drawn at 60 percent.")});
    vek.folder(hud);
    vek.folder(content(QStringLiteral("M-Battle of Britain"),
                       {QStringLiteral("bob.cpt"), QStringLiteral("bob1.msn"),
                        QStringLiteral("bob2.msn"), QStringLiteral("bobintro.txt")},
                       {QStringLiteral("Battle of Britain"),
                        QStringLiteral("Summer 1940: a campaign over southern England.")},
                       0x6090D0, 0x90B070));
    vek.folder(content(QStringLiteral("M-Operation Overlord"),
                       {QStringLiteral("ovl.cpt"), QStringLiteral("ovl1.msn"),
                        QStringLiteral("ovl2.msn"), QStringLiteral("ovl3.msn")},
                       {QStringLiteral("Operation Overlord"),
                        QStringLiteral("June 1944: the skies over Normandy."),
                        QStringLiteral("Campaign design by Amélie Dubois.")},
                       0x8090A0, 0x506040));
    vek.folder(campaignStore(QStringLiteral("C-Battle of Britain"), 1));
    vek.folder(campaignStore(QStringLiteral("C-Operation Overlord"), 2));
    vek.folder(lateWarFighters());
    vek.folder(earlyWar());
    vek.folder(content(
        QStringLiteral("T-Channel coast"),
        // The coast's own haze over two files of the cloud pack: loaded together, the one
        // loaded last shows.
        {QStringLiteral("channel.ter"), QStringLiteral("channel.tm"), QStringLiteral("channel.hm"),
         QStringLiteral("clouds.tpc"), QStringLiteral("sky02.pic")},
        {QStringLiteral("Channel coast"),
         QStringLiteral("Sharper terrain along the coast of the Channel, with its own haze.")},
        0x80A0C0, 0x608040, QStringLiteral("preview.bmp")));
    vek.folder(
        content(QStringLiteral("S-Radio chatter"),
                {QStringLiteral("radio1.snd"), QStringLiteral("radio2.snd")},
                {QStringLiteral("Radio chatter"), QStringLiteral("More voices on the radio.")},
                0x402020, 0xC08080));

    DemoFolder skins(QStringLiteral("Skinfolder"));
    skins.folder(skin(QStringLiteral("A-05 Red Tails"),
                      {QStringLiteral("p51d01.tpc"), QStringLiteral("p51d02.tpc")},
                      {QStringLiteral("Red tails for the P-51D.")}, 0xC02020, 0xE0E0E0));
    skins.folder(skin(QStringLiteral("A-05 Blue Nose"),
                      {QStringLiteral("p51d01.tpc"), QStringLiteral("p51d02.tpc")},
                      {QStringLiteral("Blue noses for the P-51D.")}, 0x2040C0, 0xE0E0E0));
    skins.folder(skin(QStringLiteral("A-10 Battle of Britain camo"), {QStringLiteral("sp2a01.tpc")},
                      {QStringLiteral("Dark earth and green for the Spitfire IA.")}, 0x605030,
                      0x406030));
    skins.folder(skin(QStringLiteral("A-16 Afrika Korps"),
                      {QStringLiteral("109e01.tpc"), QStringLiteral("109e02.tpc")},
                      {QStringLiteral("Sand and olive for the Bf 109.")}, 0xD0B070, 0x807040));
    skins.folder(skin(QStringLiteral("A-22 JG 26"), {QStringLiteral("190a01.tpc")},
                      {QStringLiteral("Yellow cowlings for the Fw 190A-8.")}, 0xE0C020, 0x505050));
    vek.folder(skins);

    DemoFolder scripts(QStringLiteral("Autoscripts"));
    scripts.file(QStringLiteral("Late war escort"),
                 script({QStringLiteral("F-Late war fighters"), QStringLiteral("G-Better clouds"),
                         QStringLiteral("A-05 Red Tails"), QStringLiteral("P-Mustang III"),
                         QStringLiteral("P-Spitfire XVI")}));
    scripts.file(QStringLiteral("Battle of Britain"),
                 script({QStringLiteral("M-Battle of Britain"), QStringLiteral("G Cockpit sounds"),
                         QStringLiteral("A-10 Battle of Britain camo")}));
    vek.folder(scripts);
    return vek;
}

bool DemoVekFolder::build(const QString &path, QString *error) {
    return tree().write(path, error);
}

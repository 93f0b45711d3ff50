// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileOps.h"
#include "GridRows.h"
#include "OpenSelector.h"
#include "Planes.h"
#include "ProgressHook.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "SkinGrid.h"
#include "Skins.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

namespace {

/// A VEK folder with four skins: two of slot 5, one of slot 16, one whose name gives no slot.
/// Each skin brings a texture named after itself and a shared "p51.tpc".
struct Fixture {
    TestFolders f;
    ScriptedPrompt prompt;

    Fixture() {
        for (const char *name : {"A-05 Red Tails", "A-05 Blue Nose", "A-16 Desert", "A-Bad"})
            add(QString::fromLatin1(name), {own(QString::fromLatin1(name)), "p51.tpc"});
    }

    QString dir(const QString &skin) const { return f.vek() + "/Skinfolder/" + skin; }
    static QString own(const QString &skin) { return skin + ".tpc"; }
    void add(const QString &skin, const QStringList &files) const {
        for (const QString &file : files)
            TestFolders::write(dir(skin), file, (skin + "/" + file).toLatin1());
    }
    bool inGame(const QString &file) const { return TestFolders::exists(f.game(), file); }

    std::unique_ptr<Selector> open() { return openSelector(f, prompt); }
};

/// "name:S" or "name:-" with the colour checked to match the mark.
QStringList marks(const Selector &s) {
    QStringList out;
    for (const SkinGrid::Row &r : s.SK1.rows) {
        const bool colourRight =
            r.colour == (r.loaded ? SkinGrid::LoadedColour : SkinGrid::DefaultCellColour);
        out << r.name + (r.loaded ? ":S" : ":-") + (colourRight ? "" : " wrong colour");
    }
    return out;
}

} // namespace

using CopyAndRow = std::tuple<const char *, QString, bool, bool, bool>;

class TestSkins : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Two digits after the letter's "-" (a blank before them, anything after them), 1 to 30.
    void slotOf() {
        const std::pair<const char *, int> names[] = {
            {"A-05 Red Tails", 5}, {"A-30 x", 30}, {"A-31 x", -1}, {"A-Bad", -1},
            {"A- 7x", 7},          {"A-5.7 x", 5}, {"A--3", -1},   {"A-", -1}};
        for (const auto &[name, slot] : names)
            QVERIFY2(SkinGrid::slotOf(name) == slot,
                     qPrintable(QStringLiteral("%1: %2").arg(name).arg(SkinGrid::slotOf(name))));
    }

    void copyAndDeleteRules() {
        // Whether the file is in the game folder after a load with "Include 'flt' files" ticked,
        // after one with it unticked, and after the ticked load is unloaded again. The game
        // folder held none of these before.
        const CopyAndRow rows[] = {
            {"texture", "tex01.tpc", true, true, false},
            {"bmp preview is content", "preview.bmp", true, true, false},
            {"skinpic.jpg", "skinpic.jpg", false, false, false},
            {"skinpic", "SkinPic", false, false, false},
            {"mypic", "mypic", false, false, false},
            {"description", "Contents.txt", false, false, false},
            {"ask", "x.Ask", false, false, false},
            {"pcx", "x.PCX", false, false, false},
            {"planes.dat", "PLANES.DAT", true, true, true},
            {"loadout.dat", "loadout.dat", true, true, true},
            {"weapons.dat", "Weapons.dat", true, true, true},
            {"other dat", "sounds.dat", true, true, false},
            {"flt", "p51.flt", true, false, true},
            {"str", "names.STR", true, true, true},
        };
        for (auto [tag, file, loaded, loadedWithoutFlt, afterUnload] : rows) {
            Fixture c;
            c.add("A-05 Red Tails", {file});
            auto s = c.open();
            s->skins().includeFlt(false);
            QVERIFY(clickRow(*s, "A-05 Red Tails"));
            QCOMPARE(c.inGame(file), loadedWithoutFlt);
            QVERIFY(clickRow(*s, "A-05 Red Tails"));
            QVERIFY(FileOps::remove(QDir(c.f.game()).filePath(file), nullptr));
            s->skins().includeFlt(true);
            QVERIFY(clickRow(*s, "A-05 Red Tails"));
            QCOMPARE(c.inGame(file), loaded);
            QVERIFY(clickRow(*s, "A-05 Red Tails"));
            QCOMPARE(c.inGame(file), afterUnload);
            QVERIFY(c.prompt.shown.isEmpty());
        }
    }

    void secondSkinOfTheSlotTakesTheFirstOut() {
        Fixture c;
        c.add("A-05 Red Tails", {"PLANES.DAT", "red.flt"});
        c.add("A-30 Doodlebug", {"v1.tpc"});
        auto s = c.open();
        QVERIFY(clickRow(*s, "A-30 Doodlebug"));
        QVERIFY(clickRow(*s, "A-16 Desert"));
        QVERIFY(clickRow(*s, "A-05 Red Tails"));
        QVERIFY(c.inGame("A-05 Red Tails.tpc") && c.inGame("PLANES.DAT"));
        QVERIFY(clickRow(*s, "A-05 Blue Nose"));
        QVERIFY(!c.inGame("A-05 Red Tails.tpc"));
        QVERIFY(c.inGame("PLANES.DAT") && c.inGame("red.flt"));
        QVERIFY(c.inGame("A-05 Blue Nose.tpc"));
        QCOMPARE(TestFolders::read(c.f.game(), "p51.tpc"), QByteArray("A-05 Blue Nose/p51.tpc"));
        const QStringList expected = {"A-05 Blue Nose:S", "A-05 Red Tails:-", "A-16 Desert:S",
                                      "A-30 Doodlebug:S", "A-Bad:-"};
        QCOMPARE(marks(*s), expected);
        QCOMPARE(TestFolders::read(c.f.vek(), "FoldersLoaded.txt"),
                 QByteArray("A-05 Blue Nose\r\nA-16 Desert\r\nA-30 Doodlebug\r\n\r\n"));
        // One line per slot, 0 to 30.
        QList<QByteArray> table(31);
        table[30] = QDir::toNativeSeparators(c.dir("A-30 Doodlebug")).toLocal8Bit();
        table[5] = QDir::toNativeSeparators(c.dir("A-05 Blue Nose")).toLocal8Bit();
        table[16] = QDir::toNativeSeparators(c.dir("A-16 Desert")).toLocal8Bit();
        const QByteArray skinsLoaded = table.join("\r\n") + "\r\n";
        QCOMPARE(TestFolders::read(c.f.vek(), "SkinsLoaded.txt"), skinsLoaded);

        // A restart marks the same rows (the ledger's lines end with the skin names) without
        // copying; an unload keeps the slot's entry in SkinsLoaded.txt.
        TestFolders::write(c.f.vek(), "FoldersLoaded.txt",
                           "x\\A-05 Blue Nose\r\nA-16 Desert\r\nA-30 Doodlebug\r\n\r\n");
        auto again = c.open();
        QCOMPARE(marks(*again), expected);
        QVERIFY(clickRow(*again, "A-16 Desert"));
        QVERIFY(!c.inGame("A-16 Desert.tpc"));
        QCOMPARE(TestFolders::read(c.f.vek(), "FoldersLoaded.txt"),
                 QByteArray("A-05 Blue Nose\r\nA-30 Doodlebug\r\n\r\n"));
        QCOMPARE(TestFolders::read(c.f.vek(), "SkinsLoaded.txt"), skinsLoaded);
        // Every skin brings p51.tpc: each skin that went out left it to the one loaded last of
        // those staying (Red Tails made way while Desert stayed; after the restart Blue Nose,
        // loaded after Desert, stayed), and the player heard where it came from.
        QCOMPARE(TestFolders::read(c.f.game(), "p51.tpc"), QByteArray("A-05 Blue Nose/p51.tpc"));
        QStringList told;
        for (const ScriptedPrompt::Shown &m : c.prompt.shown)
            told << m.text.section("\r\n", 1);
        QCOMPARE(told,
                 (QStringList{"p51.tpc from \"A-16 Desert\"", "p51.tpc from \"A-05 Blue Nose\""}));
    }

    void refusedAndFailedLoadsLeaveNothingBehind() {
        Fixture c;
        c.add("A-05 Blue Nose", {"zz.tpc"});
        auto s = c.open();
        QVERIFY(!clickRow(*s, "A-Bad"));
        QCOMPARE(c.prompt.shown.size(), 1);
        QVERIFY(c.prompt.shown.at(0).text.contains(QDir::toNativeSeparators(c.dir("A-Bad"))));
        QVERIFY(!c.inGame("A-Bad.tpc") && !c.inGame("p51.tpc"));

        // The last file of the skin meets a read-only game file: the copies made go again, and
        // the skin of the slot that made way comes back.
        QVERIFY(clickRow(*s, "A-05 Red Tails"));
        TestFolders::write(c.f.game(), "zz.tpc", "game's");
        QVERIFY(FileOps::setReadOnly(QDir(c.f.game()).filePath("zz.tpc"), true));
        const QStringList loaded = {"A-05 Blue Nose:-", "A-05 Red Tails:S", "A-16 Desert:-",
                                    "A-Bad:-"};
        const QByteArray ledger = TestFolders::read(c.f.vek(), "FoldersLoaded.txt");
        QVERIFY(!clickRow(*s, "A-05 Blue Nose"));
        QCOMPARE(c.prompt.shown.size(), 2);
        const QString told = c.prompt.shown.at(1).text;
        QVERIFY2(
            told.contains("zz.tpc") &&
                told.contains("\"A-05 Red Tails\", which it had taken out, was loaded again") &&
                !told.contains("put back"),
            qPrintable(told));
        QVERIFY(!c.inGame("A-05 Blue Nose.tpc") && c.inGame("A-05 Red Tails.tpc"));
        QCOMPARE(TestFolders::read(c.f.game(), "p51.tpc"), QByteArray("A-05 Red Tails/p51.tpc"));
        QCOMPARE(TestFolders::read(c.f.game(), "zz.tpc"), QByteArray("game's"));
        QCOMPARE(marks(*s), loaded);
        QCOMPARE(TestFolders::read(c.f.vek(), "FoldersLoaded.txt"), ledger);

        // The skin that is to make way has a file that cannot go: none of its files go, it stays
        // loaded, and the new one does not come in.
        const QString redOwn = QDir(c.f.game()).filePath("A-05 Red Tails.tpc");
        QVERIFY(FileOps::setReadOnly(redOwn, true));
        QVERIFY(!clickRow(*s, "A-05 Blue Nose"));
        QCOMPARE(c.prompt.shown.size(), 3);
        QVERIFY2(c.prompt.shown.at(2).text.contains("A-05 Red Tails.tpc") &&
                     c.prompt.shown.at(2).text.contains("read-only"),
                 qPrintable(c.prompt.shown.at(2).text));
        QVERIFY(c.inGame("A-05 Red Tails.tpc") && !c.inGame("A-05 Blue Nose.tpc"));
        QCOMPARE(TestFolders::read(c.f.game(), "p51.tpc"), QByteArray("A-05 Red Tails/p51.tpc"));
        QCOMPARE(marks(*s), loaded);
        QCOMPARE(TestFolders::read(c.f.vek(), "FoldersLoaded.txt"), ledger);
        QVERIFY(FileOps::setReadOnly(redOwn, false));
        c.prompt.shown.removeLast();

        // Every file copied, and SkinsLoaded.txt cannot record it: the load is undone.
        ProgressHook lock([&](qsizetype, const QString &) {
            return FileOps::setReadOnly(c.f.vek() + "/SkinsLoaded.txt", true);
        });
        s->setProgress(&lock);
        const QByteArray skinsLoaded = TestFolders::read(c.f.vek(), "SkinsLoaded.txt");
        QVERIFY(!clickRow(*s, "A-16 Desert"));
        QCOMPARE(c.prompt.shown.size(), 3);
        QVERIFY2(c.prompt.shown.at(2).text.contains("SkinsLoaded.txt") &&
                     c.prompt.shown.at(2).text.contains("read-only"),
                 qPrintable(c.prompt.shown.at(2).text));
        QVERIFY(!c.inGame("A-16 Desert.tpc"));
        QCOMPARE(marks(*s), loaded);
        QCOMPARE(TestFolders::read(c.f.vek(), "FoldersLoaded.txt"), ledger);
        QCOMPARE(TestFolders::read(c.f.vek(), "SkinsLoaded.txt"), skinsLoaded);
    }

    void showHoverAndSlotFilter() {
        Fixture c;
        TestFolders::plant(c.dir("A-05 Red Tails"),
                           {"CONTENTS.TXT=Red\r\ntails", "b.jpg=jpg", "a.bmp=bmp"});
        TestFolders::write(c.f.game(), "BACKGROUND", "bg");
        auto s = c.open();
        Skins &k = s->skins();
        const int red = s->SK1.find("A-05 Red Tails");
        const int desert = s->SK1.find("A-16 Desert");
        k.hover(red);
        QCOMPARE(k.Label4, QString("Red\r\ntails\r\n"));
        QCOMPARE(k.Image2, QDir(c.dir("A-05 Red Tails")).filePath("b.jpg"));
        QCOMPARE(k.SkinSlot, -1);
        k.click(desert);
        QCOMPARE(k.SkinSlot, 16);
        QCOMPARE(k.Label4, QString());
        QCOMPARE(k.Image2, QDir(c.f.game()).filePath("BACKGROUND"));
        s->skins().ignoreClicks();
        k.click(red);
        QCOMPARE(k.SkinSlot, 16);

        QVERIFY(clickRow(*s, "A-05 Red Tails"));
        s->planes().filter(6); // "A-05: ..."
        QList<int> heights;
        for (const SkinGrid::Row &r : s->SK1.rows)
            heights << r.height;
        QCOMPARE(heights, QList<int>({240, 240, 0, 0}));
        QCOMPARE(s->SK1.row(red).colour, SkinGrid::LoadedColour);
        s->planes().filter(0);
        QCOMPARE(s->SK1.row(desert).height, 240);
        QVERIFY(s->SkinEventsOn);
    }
};

QTEST_GUILESS_MAIN(TestSkins)
#include "tst_skins.moc"

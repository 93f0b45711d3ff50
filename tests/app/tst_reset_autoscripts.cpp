// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutoscriptFile.h"
#include "Autoscripts.h"
#include "BytePatch.h"
#include "CompleteReset.h"
#include "DemoGameFolder.h"
#include "FileBytes.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileSizeCap.h"
#include "GridRows.h"
#include "ImmutableMarks.h"
#include "LoadedList.h"
#include "OpenSelector.h"
#include "Options.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "StrayCleanup.h"
#include "TestFolders.h"

#include <QDir>
#include <QMap>
#include <QTest>

#include <optional>

namespace {

/// Every mark of the three grids, in grid order.
QStringList marks(const Selector &s) {
    QStringList out;
    for (const LoadGrid::Row &r : s.Unigrid.rows)
        if (r.loaded || r.colour != LoadGrid::DefaultCellColour)
            out << r.name;
    for (const SkinGrid::Row &r : s.SK1.rows)
        if (r.loaded || r.colour != SkinGrid::DefaultCellColour)
            out << r.name;
    for (const SlotGrid::Row &r : s.G1.rows)
        if (r.marked)
            out << r.folder;
    return out;
}

bool runScript(Selector &s, const QString &name) {
    s.autoscripts().refresh();
    return s.autoscripts().show(int(s.File10.indexOf(name))) && s.autoscripts().run();
}

// A sweep of the game folder: `vek` the VEK folder's files ("folder/name=bytes"), `game` the
// game folder's ("name=bytes", "!name=bytes" read-only); after it, the files `gone` (a folder
// carries the same bytes), `moved` into the one dated folder of this sweep, and `left` in the
// game folder, and `told` each said exactly once, in the one message.
struct SweepCase {
    QString tag;
    bool reset; // else the start after a change of VEK folder
    QStringList vek;
    QString loaded; // a folder the reset takes out first
    QStringList game, gone, moved, left, told;
    bool dataBlocked; // the data folder cannot be made
};

} // namespace

class TestResetAutoscripts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resetThenScriptBringsBackTheSameState() {
        TestFolders f(TestFolders::Demo);
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        const QString savedata = f.game() + "/Savedata";
        const QString store = f.vek() + "/C-Battle of Britain";
        const QByteArray originalIni = TestFolders::read(f.vek(), "eaw.ini");
        // What the game folder holds of its own among content-like names: content replaces
        // some, and the reset gives them back.
        QMap<QString, QByteArray> own;
        for (const QString &n : FileList::files(f.game(), StrayCleanup::StrayPatterns))
            own.insert(n, TestFolders::read(f.game(), n));
        QVERIFY(own.contains("planes.dat") && own.contains("loadout.dat"));

        for (const char *name : {"M-Battle of Britain", "G-Better clouds", "G Cockpit sounds",
                                 "F-Late war fighters", "P-Mustang III", "A-05 Red Tails",
                                 "A-10 Battle of Britain camo", "A-Desert Air Force"})
            QVERIFY2(clickRow(*s, QString::fromLatin1(name)), name);
        s->options().clickResolution(2);
        QVERIFY(TestFolders::read(f.game(), "eaw.ini") != originalIni);
        TestFolders::write(savedata, "Campaign1.sav", "progress");
        QVERIFY(BytePatch::writeByte(f.game() + "/flt.cdf", 38258, 7, nullptr));
        s->autoscripts().Text1 = "Evening";
        QVERIFY(s->autoscripts().save());
        const QStringList loaded = marks(*s);
        QCOMPARE(loaded.size(), 8);
        const QByteArray ledger = TestFolders::read(f.vek(), "FoldersLoaded.txt");

        QVERIFY(s->autoscripts().Command11());
        QCOMPARE(marks(*s), QStringList());
        QCOMPARE(s->loadedList().Label8(), QString());
        QCOMPARE(s->Text2, QString());
        QCOMPARE(s->caption(), Selector::Caption);
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"), QByteArray());
        QMap<QString, QByteArray> left;
        for (const QString &n : FileList::files(f.game(), StrayCleanup::StrayPatterns))
            left.insert(n, TestFolders::read(f.game(), n));
        // The aircraft set had replaced the game's planes.dat, pnames.str and loadout.dat: those
        // are back byte for byte; the game's files no content replaced are swept as ever.
        own.removeIf([](const auto &it) {
            return !QStringList{"chatline.txt", "EXTRA.SPT", "planes.dat", "pnames.str",
                                "loadout.dat"}
                        .contains(it.key());
        });
        QCOMPARE(left, own);
        QCOMPARE(TestFolders::read(f.game(), "eaw.ini"), originalIni);
        unsigned char cheat = 1;
        QVERIFY(BytePatch::readByte(f.game() + "/flt.cdf", 38258, &cheat, nullptr));
        QCOMPARE(int(cheat), 0);
        QCOMPARE(TestFolders::read(store, "Campaign1.sav"), QByteArray("progress"));
        QCOMPARE(FileList::files(savedata),
                 QStringList({"Campaign1.sav", "Campaign2.sav", "Default1.msn", "Default2.msn"}));
        QCOMPARE(TestFolders::read(savedata, "Campaign1.sav"),
                 DemoGameFolder::saveFile("default campaign 1"));
        // The demo's loose files are carried by no folder: they were moved aside, and said so.
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY(prompt.shown.at(0).text.contains("\r\nreadme.txt"));
        prompt.shown.clear();

        // The script is read by a selector of a later run, as the player would run it.
        auto later = openSelector(f, prompt);
        QVERIFY(runScript(*later, "Evening"));
        QCOMPARE(marks(*later), loaded);
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"), ledger);
        QVERIFY(prompt.shown.isEmpty());
        // Each click toggles: running it again takes all of it out. The aircraft went with their
        // content folder, so that entry finds no row, yet it matched: nothing to tell, and no
        // failure. The game's own files the aircraft set had replaced come back (news for
        // the window's status line).
        later->newsOnStatusLine();
        QVERIFY(runScript(*later, "Evening"));
        QCOMPARE(marks(*later), QStringList());
        QVERIFY(prompt.shown.isEmpty());
        for (const char *n : {"planes.dat", "pnames.str", "loadout.dat"})
            QCOMPARE(TestFolders::read(f.game(), n), own.value(n));
    }

    void resetGoesOnPastVanishedFolders() {
        TestFolders f;
        TestFolders::plant(f.root(),
                           {"VEK/A-Gone/gone.dat=x", "VEK/M-Gone/gone.msn=m",
                            "VEK/C-Gone/Campaign1.sav=store", "VEK/Skinfolder/A-05 Gone/gone.tpc=s",
                            "EAW/Savedata/default.sav=default"});
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        for (const char *name : {"A-Gone", "M-Gone", "A-05 Gone"})
            QVERIFY2(clickRow(*s, QString::fromLatin1(name)), name);
        for (const char *name : {"A-Gone", "M-Gone", "Skinfolder/A-05 Gone"})
            QVERIFY(QDir(f.vek() + "/" + name).removeRecursively());
        QVERIFY(!s->completeReset().run());
        QCOMPARE(prompt.shown.size(), 1);
        const QString told = prompt.shown.at(0).text;
        for (const char *name : {"A-Gone", "M-Gone", "A-05 Gone"})
            QVERIFY2(told.contains(QString::fromLatin1(name)), qPrintable(told));
        QCOMPARE(marks(*s), QStringList());
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"), QByteArray());
        QVERIFY(!TestFolders::exists(f.game(), "gone.dat"));
        QCOMPARE(TestFolders::read(f.game() + "/Savedata", "default.sav"), QByteArray("default"));
        QCOMPARE(TestFolders::read(f.vek() + "/C-Gone", "Campaign1.sav"), QByteArray("store"));
    }

    // A reset that could not record what it did, or that would move a mission's folder out
    // without its saves, changes nothing: the ledgers would still name the folders (or no longer
    // name the mission), and the next start would file the mission's progress among the game's
    // own saves. One that finds out only when it copies the saves (a full disk) leaves the
    // mission loaded with its saves and files, and says so.
    void resetThatCannotChangeIsRefused_data() {
        QTest::addColumn<QString>("blocked"); // "read-only", "immutable", "folder" (read-only)
        QTest::addColumn<QString>("path");    // below the root of the test folders
        QTest::addColumn<bool>("refused");    // else the reset runs, the mission stays
        QTest::addColumn<QString>("told");
        const std::tuple<QByteArray, const char *, const char *, bool, const char *> rows[] = {
            {"immutable ledger", "immutable", "VEK/FoldersLoaded.txt", true, "FoldersLoaded.txt"},
            {"read-only Savedata", "folder", "EAW/Savedata", true, "Savedata\" is read-only"},
            {"read-only store", "folder", "VEK/C-Alpha", true, "C-Alpha"},
            {"read-only save", "read-only", "EAW/Savedata/Campaign2.sav", true, "Campaign2.sav"},
            {"a save the disk cannot take", "full", "VEK/C-Alpha", false,
             "\"M-Alpha\" stays loaded"},
        };
        QTest::newRow("read-only ledger")
            << "read-only" << QStringLiteral("VEK/SkinsLoaded.txt") << true << "is read-only";
        for (const auto &[tag, blocked, path, refused, told] : rows)
            QTest::newRow(tag.constData())
                << QString(blocked) << QString(path) << refused << QString(told);
    }

    void resetThatCannotChangeIsRefused() {
        QFETCH(QString, blocked);
        QFETCH(QString, path);
        QFETCH(bool, refused);
        QFETCH(QString, told);
        TestFolders f;
        TestFolders::plant(f.root(), {"VEK/A-Sky/sky.dat=sky", "VEK/M-Alpha/alpha.msn=alpha",
                                      "VEK/C-Alpha/Campaign1.sav=alpha's first",
                                      "VEK/Skinfolder/A-05 Red/red.tpc=red",
                                      "EAW/Savedata/Campaign1.sav=default"});
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        for (const char *name : {"A-Sky", "M-Alpha", "A-05 Red"})
            QVERIFY2(clickRow(*s, QString::fromLatin1(name)), name);
        // Played since: the newest progress is only in Savedata.
        const QByteArray played = blocked == "full" ? QByteArray(64 * 1024, 'p') : "played";
        TestFolders::write(f.game() + "/Savedata", "Campaign2.sav", played);
        const QStringList loaded = marks(*s);
        const Tree game = treeOf(f.game()), vek = treeOf(f.vek());
        const QString target = f.root() + "/" + path;
        QVERIFY2(QFileInfo::exists(target), qPrintable(target));
        bool ran = true;
        {
            // The mark and the cap are gone again before anything is looked at.
            std::optional<FileSizeCap> cap;
            ImmutableMarks immutable;
            if (blocked == "immutable" && !immutable.set(target))
                QSKIP("this file system or user cannot make a file immutable");
            if (blocked == "full" && !cap.emplace(16 * 1024).active())
                QSKIP("no file size limit on this system");
            if (blocked != "immutable" && blocked != "full")
                QVERIFY(FileOps::setReadOnly(target, true));
            prompt.shown.clear();
            ran = s->completeReset().run();
        }
        if (blocked != "immutable" && blocked != "full")
            QVERIFY(FileOps::setReadOnly(target, false));
        QVERIFY(!ran);
        QCOMPARE(prompt.shown.size(), 1);
        const QString text = prompt.shown.at(0).text;
        QVERIFY2(text.contains(told) && text.contains(QDir::toNativeSeparators(target)),
                 qPrintable(text));
        if (refused) {
            QVERIFY2(text.contains("Nothing was changed"), qPrintable(text));
            QCOMPARE(marks(*s), loaded);
            QCOMPARE(treeOf(f.game()), game);
            QCOMPARE(treeOf(f.vek()), vek);
        } else {
            QCOMPARE(marks(*s), QStringList{"M-Alpha"});
            QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"),
                     QByteArray("M-Alpha\r\n\r\n"));
            QVERIFY(!TestFolders::exists(f.game(), "sky.dat"));
        }
        // The next start finds the mission loaded, its progress in Savedata, the game's own
        // saves in their store.
        auto next = openSelector(f, prompt);
        QVERIFY(marks(*next).contains("M-Alpha"));
        QCOMPARE(TestFolders::read(f.game(), "alpha.msn"), QByteArray("alpha"));
        QCOMPARE(TestFolders::read(f.game() + "/Savedata", "Campaign2.sav"), played);
        QCOMPARE(TestFolders::read(f.game() + "/Savedata", "Campaign1.sav"),
                 QByteArray("alpha's first"));
        QCOMPARE(TestFolders::read(f.vek() + "/C-Default", "Campaign1.sav"), QByteArray("default"));
    }

    void sweepsKeepWhatNoFolderCarries_data() {
        const QStringList carriers{"A-Sky/sky.dat=sky", "F-Set/P-Ta/ta.flt=ta",
                                   "Skinfolder/A-05 Red/red.tpc=red", "A-Sky/planes.dat=other"};
        const QStringList own{"planes.dat=the game's planes",
                              "PNAMES.STR=names",
                              "V1V1.FLT=v1",
                              "sky.dat=sky",
                              "ta.flt=ta",
                              "Red.TPC=red",
                              "chatline.txt=chat"};
        const QStringList ownMoved{"planes.dat", "PNAMES.STR", "V1V1.FLT"};
        const QStringList ownGone{"sky.dat", "ta.flt", "Red.TPC"};
        using L = QStringList;
        QList<SweepCase> rows;
        for (const bool reset : {false, true}) {
            const QString by = reset ? " by the reset" : " at the start";
            rows.append(SweepCase{"the game's own files are moved, carried ones deleted" + by,
                                  reset, carriers, QString(), own, ownGone, ownMoved,
                                  L{"chatline.txt"}, L{"3 file(s)", "planes.dat"}, false});
            rows.append(SweepCase{
                "a read-only file stays and is told" + by, reset, carriers, QString(),
                L{"!notes.txt=mine", "!sky.dat=sky"}, L(), L(), L{"notes.txt", "sky.dat"},
                L{"notes.txt\": the file is read-only", "sky.dat\": the file is read-only"},
                false});
            rows.append(SweepCase{"no data folder: nothing is lost" + by, reset, carriers,
                                  QString(), own, ownGone, L(),
                                  L{"planes.dat", "PNAMES.STR", "V1V1.FLT", "chatline.txt"},
                                  L{"Could not create"}, true});
        }
        // The unload refuses the read-only file and says so; the sweep after it must not delete it.
        rows.append(SweepCase{"a read-only file a reset's unload refused stays, told once", true,
                              L{"A-Sky/sky.dat=sky", "A-Sky/cloud.dat=cloud"}, "A-Sky",
                              L{"!sky.dat=sky"}, L{"cloud.dat"}, L(), L{"sky.dat"},
                              L{"sky.dat\": the file is read-only"}, false});
        QTest::addColumn<SweepCase>("row");
        for (const SweepCase &r : rows)
            QTest::newRow(qPrintable(r.tag)) << r;
    }

    void sweepsKeepWhatNoFolderCarries() {
        QFETCH(SweepCase, row);
        auto [tag, reset, vek, loaded, game, gone, moved, left, told, dataBlocked] = row;
        TestFolders f;
        TestFolders::plant(f.vek(), vek);
        // Long enough for the cheat byte: a shorter one would be told too.
        TestFolders::write(f.game(), "flt.cdf", QByteArray(38258, 'x'));
        if (dataBlocked)
            TestFolders::write(f.data() + "/vekselector", "swept", "a file where a folder belongs");
        const QString sweptRoot = f.data() + "/vekselector/swept";
        QMap<QString, QByteArray> bytes;
        for (QString e : game)
            bytes.insert(e.remove('!').section('=', 0, 0), e.section('=', 1).toUtf8());
        ScriptedPrompt prompt;
        std::unique_ptr<Selector> s;
        if (reset) {
            s = openSelector(f, prompt);
            if (!loaded.isEmpty())
                QVERIFY(clickRow(*s, loaded));
            TestFolders::plant(f.game(), game);
            const bool trouble = dataBlocked || game.join(',').contains('!');
            QCOMPARE(s->completeReset().run(), !trouble);
        } else {
            TestFolders::plant(f.game(), game);
            s = std::make_unique<Selector>(Folders{f.game(), f.vek(), QStringLiteral("None")},
                                           prompt);
            s->load();
        }
        for (const QString &n : gone + moved)
            QVERIFY2(!TestFolders::exists(f.game(), n), qPrintable(n));
        for (const QString &n : left)
            QVERIFY2(TestFolders::exists(f.game(), n), qPrintable(n));
        const QStringList dated = QDir(sweptRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(dated.size(), moved.isEmpty() ? 0 : 1);
        if (!moved.isEmpty()) {
            const QString folder = sweptRoot + "/" + dated.first();
            QStringList names = moved;
            FileList::sortNames(names);
            QCOMPARE(FileList::files(folder), names);
            for (const QString &n : moved)
                QCOMPARE(TestFolders::read(folder, n), bytes.value(n));
            told << QDir::toNativeSeparators(folder);
        }
        // One message per sweep, each thing said once.
        QCOMPARE(prompt.shown.size(), told.isEmpty() ? 0 : 1);
        for (const QString &t : told)
            QVERIFY2(prompt.shown.at(0).text.count(t) == 1,
                     qPrintable(t + " in: " + prompt.shown.at(0).text));
    }

    void unmatchedEntriesAreToldOnce() {
        TestFolders f;
        TestFolders::write(f.vek() + "/G-Maps", "maps.dat", "x");
        TestFolders::write(f.vek() + "/Autoscripts", "odd", "Nope\r\nG-Maps,Nope\r\n\r\n");
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        QVERIFY(!runScript(*s, "odd"));
        QCOMPARE(s->autoscripts().List2, QStringList({"Nope", "G-Maps", "Nope", ""}));
        QCOMPARE(marks(*s), QStringList({"G-Maps"}));
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.shown.at(0).text.count("Nope"), 1);
    }

    // How an autoscript's bytes read as entries: line ends, commas, quotes, paths, blanks.
    void readingRules() {
        using L = QStringList;
        const std::pair<QByteArray, QStringList> rows[] = {
            {"A\nB", L{"A", "B"}},
            {"A,B,\r\n", L{"A", "B", ""}},
            {"\"A,B\",C\r\n", L{"A,B", "C"}},
            {"C:\\VEK\\Sub/M-Alpha,x/B\r\n", L{"M-Alpha", "B"}},
            {"\"x\\A,B\"\r\n", L{"A,B"}},
            {"  G Maps  , B\r\n", L{"G Maps", "B"}},
            {"\" A \"\r\n", L{" A "}},
            {"\r\n\r\nA\r\n", L{"", "", "A"}},
            {"Caf\xe9\r\n", L{QString::fromUtf8("Caf\u00e9")}},
        };
        for (const auto &[bytes, entries] : rows)
            QCOMPARE(AutoscriptFile::entries(bytes), entries);
    }

    void saveNames() {
        const std::tuple<QString, bool, QString> rows[] = {
            {"Mine", true, QString()},       // new
            {"Old", true, "replaced"},       // existing is replaced
            {"", false, "needs a name"},     // empty
            {".", false, "names a folder"},  // dot
            {"..", false, "names a folder"}, // dot dot
            {"a/b", false, "may not hold"},  // slash
            {"a\\b", false, "may not hold"}, // backslash
        };
        for (auto [name, saved, told] : rows) {
            TestFolders f;
            TestFolders::write(f.vek() + "/Autoscripts", "Old", "old\r\n");
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            s->loadedList().editScriptText("A\nB\r\n");
            s->autoscripts().Text1 = name;
            QCOMPARE(s->autoscripts().save(), saved);
            QCOMPARE(s->File10,
                     saved && name != "Old" ? QStringList({name, "Old"}) : QStringList({"Old"}));
            if (saved)
                QCOMPARE(TestFolders::read(f.vek() + "/Autoscripts", name),
                         QByteArray("A\r\nB\r\n\r\n"));
            QCOMPARE(prompt.shown.size(), told.isEmpty() ? 0 : 1);
            if (!told.isEmpty())
                QVERIFY2(prompt.shown.at(0).text.contains(told),
                         qPrintable(prompt.shown.at(0).text));
            QCOMPARE(QDir(f.vek() + "/Autoscripts")
                         .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                         .size(),
                     saved && name != "Old" ? 2 : 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestResetAutoscripts)
#include "tst_reset_autoscripts.moc"

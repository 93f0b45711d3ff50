// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBytes.h"
#include "FileOps.h"
#include "GridRows.h"
#include "LoadFiles.h"
#include "LoadedList.h"
#include "OpenSelector.h"
#include "ProgressHook.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"

#include <QDir>
#include <QSet>
#include <QTest>

namespace {

/// A VEK folder with content folders of several groups, each holding a file named after
/// itself (so its presence in the game folder shows whether it is loaded).
struct Content {
    TestFolders f;
    ScriptedPrompt prompt;

    Content() {
        for (const char *name : {"A-Spitfire", "A-Hurricane", "G-Maps", "G-Sounds", "M-Alpha",
                                 "M-Beta", "F-Plain", "F-Planes"})
            add(QString::fromLatin1(name));
        TestFolders::write(f.vek() + "/F-Planes/p-Mustang", "mustang.vek", "x");
    }

    void add(const QString &name) {
        const QString dir = f.vek() + "/" + name;
        TestFolders::write(dir, fileOf(name), name.toLatin1());
        TestFolders::write(dir, "contents.txt", ("About " + name + "\r\nSecond line").toLatin1());
    }

    static QString fileOf(const QString &folder) { return folder.toLower() + ".dat"; }
    bool inGame(const QString &folder) const {
        return TestFolders::exists(f.game(), fileOf(folder));
    }

    /// A selector as the window opens it (second run on this VEK folder: no clean-up).
    std::unique_ptr<Selector> open() { return openSelector(f, prompt); }

    QByteArray ledger() const { return TestFolders::read(f.vek(), "FoldersLoaded.txt"); }
    QByteArray save(const QString &folder, const QString &name) const {
        return TestFolders::read(folder, name);
    }
    QString savedata() const { return f.game() + "/" + savedataName; }
    QString store(const QString &name) const {
        return f.vek() + "/" + (name == "C-Alpha" ? alphaStore : name);
    }
    /// The game's and a mission's folders as the player's disk spells them.
    QString savedataName = "Savedata";
    QString alphaStore = "C-Alpha";
};

QStringList marked(const Selector &s) {
    QStringList names;
    for (const LoadGrid::Row &r : s.Unigrid.rows)
        if (r.loaded)
            names << r.name;
    return names;
}

// The start on "path=bytes" files `before` below the test root ("Old" is a VEK folder of an
// earlier start): every save and ledger `after` it, and a piece of its message (empty: none).
struct CampaignCase {
    const char *tag;
    QStringList before;
    bool fromOld; // the last start used the VEK folder "Old"
    QStringList after;
    const char *told;
};

} // namespace

class TestLoadGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void catalogueListsContentFoldersAndMakesStores() {
        Content c;
        TestFolders::plant(c.f.vek(), {"autoscripts/x=", "SkinFolder/x="});
        TestFolders::write(c.savedata(), "game1.sav", "default save");
        auto s = c.open();
        QStringList names;
        for (const LoadGrid::Row &r : s->Unigrid.rows)
            names << r.name;
        // The stores the first start made are rows from then on, as at every later start.
        QCOMPARE(names, QStringList({"A-Hurricane", "A-Spitfire", "C-Alpha", "C-Beta", "C-Default",
                                     "F-Plain", "F-Planes", "G-Maps", "G-Sounds", "Interchange",
                                     "M-Alpha", "M-Beta"}));
        QCOMPARE(s->Unigrid.row(1).path, QDir(c.f.vek()).filePath("A-Hurricane"));
        for (const char *folder : {"C-Alpha", "C-Beta", "C-Default", "Interchange"})
            QVERIFY2(QFileInfo(c.store(folder)).isDir(), folder);
        // With no mission loaded, the game's saves stay where the game reads them.
        QCOMPARE(c.save(c.savedata(), "game1.sav"), QByteArray("default save"));
        QVERIFY(QDir(c.store("C-Default")).entryList(QDir::Files).isEmpty());
        QVERIFY(c.prompt.shown.isEmpty());
    }

    // Each row clicks grid rows in turn: one folder per group, but many for G. The marks, the
    // colours, the game folder, the loaded list and the ledger (the names in grid order, then an
    // empty line) all follow, and a restart finds the same marks without copying or rewriting.

    void clicksFollowTheGroupRules() {
        const char *rows[][3] = {
            {"one G out, the other stays", "A-Spitfire A-Hurricane G-Maps G-Sounds G-Maps",
             "A-Hurricane G-Sounds"},
            {"all out again", "G-Sounds A-Spitfire G-Sounds A-Spitfire", ""},
            {"in again after all out", "G-Sounds G-Sounds M-Beta G-Maps", "G-Maps M-Beta"},
        };
        for (const auto &[tag, clicks_, loaded_] : rows) {
            const CaseName inCase(tag);
            const QString clicks = QString(clicks_);
            const QString loaded = QString(loaded_);
            const QStringList names = loaded.split(' ', Qt::SkipEmptyParts);
            Content c;
            auto s = c.open();
            for (const QString &name : clicks.split(' '))
                QVERIFY2(clickRow(*s, name), qPrintable(name));
            QByteArray lines;
            for (const QString &name : names)
                lines += name.toLatin1() + "\r\n";
            QCOMPARE(s->Text2, QString::fromLatin1(lines));
            for (int run = 0; run < 2; ++run) {
                if (run) {
                    s.reset();
                    s = c.open();
                }
                QCOMPARE(marked(*s), names);
                QCOMPARE(s->loadedList().loadedNames(), names);
                for (const LoadGrid::Row &r : s->Unigrid.rows) {
                    QCOMPARE(c.inGame(r.name), r.loaded);
                    QCOMPARE(r.colour,
                             r.loaded ? LoadGrid::LoadedColour : LoadGrid::DefaultCellColour);
                }
                QCOMPARE(c.ledger(), lines + "\r\n");
            }
            QVERIFY(c.prompt.shown.isEmpty());
        }
    }

    // A click copies by the skip rule (its every case is a row of the mover's tests) and not
    // the subfolders; its unload deletes by name, without the rule: "mypic" of another case goes.
    void skipRuleKeepsPicturesAndDescriptionsOut() {
        Content c;
        TestFolders::plant(c.f.vek() + "/G-Mixed",
                           {"skinpic=s", "data.bin=d", "MYPIC=p", "Contents.txt=c", "a.JPG=j",
                            "sub/nested.dat=n"});
        TestFolders::write(c.f.game(), "mypic", "game's own file of that name");
        const auto game = [&c] {
            const QStringList names =
                QDir(c.f.game()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            return QSet<QString>(names.begin(), names.end());
        };
        auto s = c.open();
        const QSet<QString> before = game();
        QVERIFY(clickRow(*s, "G-Mixed"));
        QCOMPARE(game() - before, (QSet<QString>{"skinpic", "data.bin"}));
        QVERIFY(clickRow(*s, "G-Mixed"));
        QCOMPARE(game(), before - QSet<QString>{"mypic"});
    }

    void fFolderWithoutAlternativesResetsThePlaneLedgers() {
        Content c;
        TestFolders::write(c.f.vek(), "PlanesLoaded.txt", "something\r\n");
        auto s = c.open();
        QVERIFY(clickRow(*s, "F-Plain"));
        QVERIFY(!s->Frame6);
        QCOMPARE(c.save(c.f.vek(), "PlanesLoaded.txt"), QByteArray());
        QByteArray thirty;
        for (int i = 0; i < 30; ++i)
            thirty += "\r\n";
        QCOMPARE(c.save(c.f.vek(), "ScriptsLoaded.txt"), thirty);
        // A "p-" subfolder in lower case counts as alternative aircraft.
        QVERIFY(clickRow(*s, "F-Planes"));
        QVERIFY(s->Frame6);
        QVERIFY(s->loadFiles().HasAltPlanes);
        QVERIFY(clickRow(*s, "F-Planes"));
        QVERIFY(!s->Frame6);
    }

    void missionSavesTravelWithTheMission() {
        Content c;
        // The player's folders, spelt in other cases than the selector spells them.
        c.savedataName = "SAVEDATA";
        c.alphaStore = "c-ALPHA";
        TestFolders::write(c.store("C-Alpha"), "camp.sav", "alpha progress");
        TestFolders::write(c.store("C-Beta"), "camp.sav", "beta progress");
        TestFolders::write(c.store("C-Beta"), "beta.sav", "beta only");
        TestFolders::write(c.savedata(), "default.sav", "the game's own");
        auto s = c.open();
        QVERIFY(clickRow(*s, "M-Alpha"));
        QCOMPARE(c.save(c.savedata(), "camp.sav"), QByteArray("alpha progress"));
        QCOMPARE(c.save(c.store("C-Alpha"), "camp.sav"), QByteArray("alpha progress"));
        // The game plays on.
        TestFolders::write(c.savedata(), "camp.sav", "alpha further");
        QVERIFY(clickRow(*s, "M-Beta"));
        QCOMPARE(QDir(c.store("C-Alpha")).entryList(QDir::Files), QStringList({"camp.sav"}));
        QCOMPARE(c.save(c.store("C-Alpha"), "camp.sav"), QByteArray("alpha further"));
        QCOMPARE(QDir(c.savedata()).entryList(QDir::Files), QStringList({"beta.sav", "camp.sav"}));
        QCOMPARE(c.save(c.savedata(), "camp.sav"), QByteArray("beta progress"));
        TestFolders::write(c.savedata(), "camp.sav", "beta further");
        QVERIFY(clickRow(*s, "M-Beta"));
        QCOMPARE(c.save(c.store("C-Beta"), "camp.sav"), QByteArray("beta further"));
        QCOMPARE(QDir(c.savedata()).entryList(QDir::Files), QStringList({"default.sav"}));
        QCOMPARE(c.save(c.savedata(), "default.sav"), QByteArray("the game's own"));
        QVERIFY(QDir(c.store("C-Default")).entryList(QDir::Files).isEmpty());
        // Found under the player's spelling: no second folder differing only in case.
        QCOMPARE(QDir(c.f.game()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{c.savedataName});
        QCOMPARE(QDir(c.f.vek()).entryList({"c-alpha"}, QDir::Dirs).size(), 1);
        QVERIFY(c.prompt.shown.isEmpty());
    }

    // A mission folder named without "-" or blank still exchanges its saves with a store of
    // its own, never with the VEK folder's own files. One whose name gives no store ("M",
    // "M-", "M ") gets none: no folder "C" or "C-", its saves stay in Savedata (the player is
    // told so once, at its load), and one it takes out still stores its own saves.

    void missionStores() {
        const std::tuple<const char *, const char *, const char *, bool> rows[] = {
            {"Mfoo", "Mfoo", "Cfoo", false},
            {"M", "M", "", false},
            {"M and a blank", "M ", "", false},
            {"M- in place of M-Alpha", "M-", "", true}};
        // store: empty: none, and no exchange; overAlpha: loaded while M-Alpha is
        for (const auto &[tag, mission_, store_, overAlpha] : rows) {
            const CaseName inCase(tag);
            const QString mission = QString(mission_);
            const QString store = QString(store_);
            Content c;
            TestFolders::write(c.f.vek() + "/" + mission, "mission.dat", "mission");
            TestFolders::write(c.store("C-Alpha"), "camp.sav", "alpha progress");
            TestFolders::write(c.savedata(), "default.sav", "the game's own");
            auto s = c.open();
            const QStringList vekFiles = QDir(c.f.vek()).entryList(QDir::Files);
            const QStringList vekFolders =
                QDir(c.f.vek()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
            if (overAlpha) {
                QVERIFY(clickRow(*s, "M-Alpha"));
                TestFolders::write(c.savedata(), "camp.sav", "alpha further");
            }
            QVERIFY(clickRow(*s, mission));
            QVERIFY(TestFolders::exists(c.f.game(), "mission.dat"));
            // M-Alpha's saves went home and the game's own came back, as at its unload.
            if (overAlpha)
                QCOMPARE(c.save(c.store("C-Alpha"), "camp.sav"), QByteArray("alpha further"));
            QCOMPARE(QDir(c.savedata()).entryList(QDir::Files),
                     store.isEmpty() ? QStringList{"default.sav"} : QStringList());
            TestFolders::write(c.savedata(), "foo.sav", "foo progress");
            QVERIFY(clickRow(*s, mission));
            if (store.isEmpty()) {
                QCOMPARE(QDir(c.savedata()).entryList(QDir::Files),
                         QStringList({"default.sav", "foo.sav"}));
                QCOMPARE(c.prompt.shown.size(), 1);
                QVERIFY2(c.prompt.shown.first().text.contains("no save store"),
                         qPrintable(c.prompt.shown.first().text));
            } else {
                QCOMPARE(c.save(c.store(store), "foo.sav"), QByteArray("foo progress"));
                QCOMPARE(QDir(c.savedata()).entryList(QDir::Files), QStringList{"default.sav"});
                QVERIFY(c.prompt.shown.isEmpty());
            }
            QVERIFY(QDir(c.store("C-Default")).entryList(QDir::Files).isEmpty());
            QCOMPARE(QDir(c.store("C-Alpha")).entryList(QDir::Files), QStringList{"camp.sav"});
            // No folder came or went, the store of "Mfoo" made at the start aside; the VEK folder
            // keeps its own files, and only the ledgers of the clicks are new.
            QCOMPARE(QDir(c.f.vek()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), vekFolders);
            for (const char *none : {"C", "C-", "C "})
                QVERIFY2(!QFileInfo::exists(c.f.vek() + "/" + none), none);
            QCOMPARE(vekFolders.contains(store), !store.isEmpty());
            QStringList now = QDir(c.f.vek()).entryList(QDir::Files);
            for (const char *ledger : {"FoldersLoaded.txt", "LoadOrder.txt", "LoadedNames.txt"})
                now.removeAll(QString::fromLatin1(ledger));
            QCOMPARE(now, vekFiles);
        }
    }

    // Each step writes a save into Savedata ("name=bytes"), or into C-Default as an earlier
    // selector parked it there ("C-Default/name=bytes"), or starts the window again; then a
    // mission is loaded and unloaded, which parks Savedata in C-Default and brings it back. With
    // no mission loaded the game's saves stay in Savedata, and the save the game wrote last has
    // the real name; a parked one of a name taken comes back under a numbered name.

    void newestSaveKeepsItsName() {
        const std::tuple<QStringList, QStringList> rows[] = {
            {QStringList{"Campaign1.sav=first", "start", "Campaign1.sav=newer", "start"},
             QStringList{"Campaign1.sav=newer"}}, // the game's saves stay through starts
            {QStringList{"C-Default/CAMPAIGN1.SAV=parked", "C-Default/Campaign1 (2).sav=older",
                         "campaign1.sav=newer", "start"},
             QStringList{"CAMPAIGN1 (3).SAV=parked", "Campaign1 (2).sav=older",
                         "campaign1.sav=newer"}}, // spelt in other cases, a number taken
            {QStringList{"C-Default/Campaign1.sav=first", "Campaign1.sav=first", "start"},
             QStringList{"Campaign1.sav=first"}}, // the same bytes parked are kept once
        };
        for (auto [steps, savedata] : rows) {
            Content c;
            TestFolders::write(c.store("C-Alpha"), "Campaign1.sav", "alpha");
            std::unique_ptr<Selector> s;
            for (const QString &step : steps) {
                if (step == "start") {
                    s.reset();
                    s = c.open();
                } else if (step.startsWith("C-Default/")) {
                    TestFolders::write(c.store("C-Default"), step.section('=', 0, 0).mid(10),
                                       step.section('=', 1).toLatin1());
                } else {
                    // A file system that tells case apart: the game writes over any spelling.
                    for (const QString &n : QDir(c.savedata()).entryList(QDir::Files))
                        if (n.compare(step.section('=', 0, 0), Qt::CaseInsensitive) == 0)
                            QVERIFY(QFile::remove(c.savedata() + "/" + n));
                    TestFolders::write(c.savedata(), step.section('=', 0, 0),
                                       step.section('=', 1).toLatin1());
                }
            }
            QVERIFY(clickRow(*s, "M-Alpha"));
            QCOMPARE(QDir(c.savedata()).entryList(QDir::Files), QStringList{"Campaign1.sav"});
            QCOMPARE(c.save(c.savedata(), "Campaign1.sav"), QByteArray("alpha"));
            QVERIFY(clickRow(*s, "M-Alpha"));
            QStringList now;
            for (const QString &n : QDir(c.savedata()).entryList(QDir::Files))
                now << n + "=" + QString::fromLatin1(c.save(c.savedata(), n));
            now.sort();
            QCOMPARE(now, savedata);
            QVERIFY(QDir(c.store("C-Default")).entryList(QDir::Files).isEmpty());
            QCOMPARE(c.save(c.store("C-Alpha"), "Campaign1.sav"), QByteArray("alpha"));
            QVERIFY(c.prompt.shown.isEmpty());
        }
    }

    // The start finds whose campaign Savedata holds and files every save where the player
    // finds it: rows plant "path=bytes" below the test root ("Old" is a VEK folder of an
    // earlier start), then compare every save and ledger after the start.

    void startFilesEachCampaignWhereItBelongs() {
        const QString twoMissions = "VEK/FoldersLoaded.txt=M-Alpha\r\nM-Beta\r\n\r\n";
        const QString betaLoaded = "VEK/FoldersLoaded.txt=M-Beta\r\n\r\n";
        const QString old = "Old/linkscreen=x";
        const CampaignCase rows[] = {
            {"two missions, the load order names the earlier",
             {twoMissions, "VEK/LoadOrder.txt=folder\tM-Alpha\r\n",
              "EAW/Savedata/camp.sav=alpha day 5", "VEK/C-Alpha/camp.sav=alpha day 1",
              "VEK/C-Beta/camp.sav=beta own"},
             false,
             {betaLoaded, "EAW/Savedata/camp.sav=beta own", "VEK/C-Alpha/camp.sav=alpha day 5",
              "VEK/C-Alpha/camp (2).sav=alpha day 1", "VEK/C-Beta/camp.sav=beta own"},
             "were those of \"M-Alpha\""},
            {"two missions, whose saves not known",
             {twoMissions, "EAW/Savedata/camp.sav=someone's", "VEK/C-Default/camp.sav=default",
              "VEK/C-Beta/camp.sav=beta own"},
             false,
             {betaLoaded, "EAW/Savedata/camp.sav=beta own", "VEK/C-Default/camp.sav=default",
              "VEK/C-Default/camp (2).sav=someone's", "VEK/C-Beta/camp.sav=beta own"},
             "is not known"},
            {"two missions, the load order names the later",
             {twoMissions, "VEK/LoadOrder.txt=folder\tM-Beta\r\n",
              "EAW/Savedata/camp.sav=beta day 5", "VEK/C-Beta/camp.sav=beta day 1"},
             false,
             {betaLoaded, "EAW/Savedata/camp.sav=beta day 5", "VEK/C-Beta/camp.sav=beta day 1"},
             ""},
            {"the recorded mission's folder has gone",
             {"VEK/FoldersLoaded.txt=M-Gone\r\n\r\n", "EAW/Savedata/camp.sav=gone day 9",
              "VEK/C-Default/default.sav=the game's"},
             false,
             {"VEK/FoldersLoaded.txt=\r\n", "VEK/C-Gone/camp.sav=gone day 9",
              "EAW/Savedata/default.sav=the game's"},
             "not in the VEK folder any more"},
            {"a parked save read-only: nothing moves, and the player learns why",
             {"!VEK/C-Default/camp.sav=parked", "EAW/Savedata/own.sav=own"},
             false,
             {"VEK/C-Default/camp.sav=parked", "EAW/Savedata/own.sav=own"},
             "could not come back into the game's Savedata, so none of them moved"},
            {"one mission keeps its progress",
             {betaLoaded, "EAW/Savedata/camp.sav=beta day 3", "VEK/C-Beta/camp.sav=beta day 1"},
             false,
             {betaLoaded, "EAW/Savedata/camp.sav=beta day 3", "VEK/C-Beta/camp.sav=beta day 1"},
             ""},
            {"one mission, its saves gone out by a start cut short",
             {betaLoaded, "VEK/C-Beta/camp.sav=beta day 1"},
             false,
             {betaLoaded, "EAW/Savedata/camp.sav=beta day 1", "VEK/C-Beta/camp.sav=beta day 1"},
             ""},
            {"another VEK folder had a mission loaded",
             {old, "Old/M-X/x.dat=x", "Old/FoldersLoaded.txt=A-One\r\nM-X\r\n\r\n",
              "Old/C-X/camp.sav=x day 1", "Old/C-Default/default.sav=the game's",
              "EAW/Savedata/camp.sav=x day 4"},
             true,
             {"Old/FoldersLoaded.txt=A-One\r\n\r\n", "Old/C-X/camp.sav=x day 4",
              "EAW/Savedata/default.sav=the game's"},
             "went back to its store"},
            {"another VEK folder, the mission folder gone from it",
             {old, "Old/FoldersLoaded.txt=M-X\r\n\r\n", "Old/C-X/camp.sav=x day 1",
              "EAW/Savedata/camp.sav=x day 4"},
             true,
             {"Old/FoldersLoaded.txt=\r\n", "Old/C-X/camp.sav=x day 4",
              "Old/C-X/camp (2).sav=x day 1"},
             "not there any more"},
        };
        for (const auto &[tag, before, fromOld, after, told] : rows) {
            const CaseName inCase(tag);
            Content c;
            TestFolders::plant(c.f.root(), before);
            const QString old = c.f.root() + "/Old";
            Selector s(Folders{c.f.game(), c.f.vek(), fromOld ? old : c.f.vek()}, c.prompt);
            s.load();
            QStringList now;
            const Tree tree = treeOf(c.f.root());
            for (auto it = tree.cbegin(); it != tree.cend(); ++it)
                if (it.key().endsWith(".sav") || it.key().endsWith("FoldersLoaded.txt"))
                    now << it.key() + "=" + QString::fromUtf8(it.value());
            now.sort();
            QStringList expected = after;
            expected.sort();
            QCOMPARE(now, expected);
            const QString shown = c.prompt.allText();
            QVERIFY2(*told ? shown.contains(told) : shown.isEmpty(), qPrintable(shown));
        }
    }

    // A click whose ledger cannot be written once its files have moved is undone as a whole:
    // the files, the marks, the aircraft grid and every ledger as before it, and one message
    // that names the ledger.
    void unrecordedClickIsUndone() {
        const char *rows[][4] = {{"unload of an aircraft set, FoldersLoaded.txt", "F-Planes",
                                  "F-Planes", "FoldersLoaded.txt"},
                                 {"aircraft set in place of another, PlanesLoaded.txt", "F-Planes",
                                  "F-Plain", "PlanesLoaded.txt"},
                                 {"mission load, LoadOrder.txt", "", "M-Alpha", "LoadOrder.txt"}};
        // loaded: before the click; ledger: turns read-only once the click's files move
        for (const auto &[tag, loaded_, clicked_, ledger_] : rows) {
            const CaseName inCase(tag);
            const QString loaded = QString(loaded_);
            const QString clicked = QString(clicked_);
            const QString ledger = QString(ledger_);
            Content c;
            auto s = c.open();
            if (!loaded.isEmpty())
                QVERIFY(clickRow(*s, loaded));
            if (!TestFolders::exists(c.f.vek(), ledger))
                TestFolders::write(c.f.vek(), ledger, "");
            ProgressHook lock([&](qsizetype, const QString &) {
                return FileOps::setReadOnly(c.f.vek() + "/" + ledger, true);
            });
            s->setProgress(&lock);
            const QStringList marks = marked(*s);
            const QByteArray folders = c.ledger();
            const QByteArray written = TestFolders::read(c.f.vek(), ledger);
            const qsizetype planes = s->G1.rows.size();
            c.prompt.shown.clear();
            QVERIFY(!clickRow(*s, clicked));
            QCOMPARE(marked(*s), marks);
            QCOMPARE(c.ledger(), folders);
            QCOMPARE(TestFolders::read(c.f.vek(), ledger), written);
            QCOMPARE(s->G1.rows.size(), planes);
            QCOMPARE(c.inGame(clicked), marks.contains(clicked));
            QVERIFY(loaded.isEmpty() || c.inGame(loaded));
            QVERIFY(!TestFolders::exists(c.f.vek(), "Journal.txt"));
            QCOMPARE(c.prompt.shown.size(), 1);
            const QString told = c.prompt.shown.at(0).text;
            QVERIFY2(told.contains(ledger + "\": the file is read-only"), qPrintable(told));
        }
    }

    void groupFilter() {
        const std::tuple<int, QStringList, QString> rows[] = {
            {0,
             QStringList{"A-Hurricane", "A-Spitfire", "F-Plain", "F-Planes", "G-Maps", "G-Sounds",
                         "Interchange", "M Gamma", "M-Alpha", "M-Beta"},
             LoadGrid::AllAvailable},                                            // Show ALL
            {1, QStringList{"A-Spitfire", "G-Maps"}, LoadGrid::AllAvailable},    // Show Selections
            {3, QStringList{"G-Maps", "G-Sounds"}, LoadGrid::Multiple},          // G
            {4, QStringList{"M Gamma", "M-Alpha", "M-Beta"}, LoadGrid::OneOnly}, // M with a blank
        };
        for (auto [entry, shown, hint] : rows) {
            Content c;
            c.add("M Gamma");
            c.open(); // the first load makes the stores and Interchange, listed from the next load
                      // on
            auto s = c.open();
            QVERIFY(clickRow(*s, "A-Spitfire"));
            QVERIFY(clickRow(*s, "G-Maps"));
            s->loadFiles().filter(entry);
            QCOMPARE(s->List3Index, entry);
            QStringList visible;
            for (const LoadGrid::Row &r : s->Unigrid.rows)
                if (r.height > 0)
                    visible << r.name;
            QCOMPARE(visible, shown);
            QCOMPARE(s->Unigrid.hint, hint);
        }
    }

    void hoverShowsDescriptionAndPicture() {
        Content c;
        TestFolders::write(c.f.vek() + "/A-Spitfire", "zeta.gif", "GIF");
        TestFolders::write(c.f.vek() + "/A-Spitfire", "MyPic", "BM");
        auto s = c.open();
        LoadFiles &lf = s->loadFiles();
        const int row = s->Unigrid.find("A-Spitfire");
        lf.hover(row);
        QCOMPARE(lf.MyLabel, QStringLiteral("About A-Spitfire\r\nSecond line\r\n"));
        QCOMPARE(lf.MyImage, QDir(c.f.vek() + "/A-Spitfire").filePath("MyPic"));
        // Leaving for the filter list and coming back to the same row shows nothing new.
        lf.clearDescription();
        lf.hover(row);
        QVERIFY(lf.MyLabel.isEmpty());
        lf.hover(0);
        QVERIFY(lf.MyLabel.isEmpty());
        lf.hover(s->Unigrid.find("G-Maps"));
        QCOMPARE(lf.MyLabel, QStringLiteral("About G-Maps\r\nSecond line\r\n"));
        QVERIFY(lf.MyImage.isEmpty());
    }

    // Rows of 240 twips and a border of 72, the grid never taller than 26 rows.
    void gridHeight() {
        for (const auto &[rows, twips] :
             {std::pair{6, 6 * 240 + 72}, {26, 26 * 240 + 72}, {31, 26 * 240 + 72}})
            QCOMPARE(LoadGrid::gridHeight(rows), twips);
    }
};

QTEST_GUILESS_MAIN(TestLoadGrid)
#include "tst_loadgrid.moc"

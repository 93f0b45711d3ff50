// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "CrashPoint.h"
#include "FileBytes.h"
#include "FileMover.h"
#include "Ledgers.h"
#include "PickMenu.h"
#include "Rows.h"
#include "TestFolders.h"

#include <QDir>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QTest>

#include <algorithm>

namespace {

// The folders of `tree` under `root`. The game folder remembers the VEK folder `vek` of its new
// place: a change of VEK folder would sweep the content files out before anything is tested.
void plant(const QString &root, const Tree &tree, const QString &vek = QStringLiteral("VEK")) {
    for (auto it = tree.cbegin(); it != tree.cend(); ++it)
        TestFolders::write(root, it.key(), it.value());
    TestFolders::write(root + "/EAW", "LastVEKDir", QFile::encodeName(root + "/" + vek) + "\r\n");
}

// The bytes of every save in `tree`, but for those below `skipped`.
QSet<QByteArray> savesIn(const Tree &tree, const QString &skipped = QString()) {
    QSet<QByteArray> saves;
    for (auto it = tree.cbegin(); it != tree.cend(); ++it)
        if (it.key().endsWith(".sav") && (skipped.isEmpty() || !it.key().startsWith(skipped)))
            saves.insert(it.value());
    return saves;
}

QStringList namesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// `count` small files of their own names and bytes, and a file the loader leaves out.
void contentFolder(const QString &vek, const QString &name, const QString &prefix, int count) {
    const QString folder = QDir(vek).filePath(name);
    for (int i = 0; i < count; ++i)
        TestFolders::write(folder, QStringLiteral("%1%2.dat").arg(prefix).arg(i),
                           (name + QString::number(i)).toUtf8());
    TestFolders::write(folder, QStringLiteral("contents.txt"), "about " + name.toUtf8());
}

// The saves of two missions' stores and the player's own game in Savedata.
void missionSaves(const QString &vek, const QString &game) {
    TestFolders::plant(vek, {"C-One/game1.sav=one, first turn", "C-Two/game1.sav=two, first turn",
                             "C-Two/game2.sav=two, second turn"});
    TestFolders::write(game + "/Savedata", "own.sav", "the player's own game");
}

// Two missions of six files each, and their saves.
void twoMissions(const TestFolders &base) {
    contentFolder(base.vek(), "M-One", "mone", 6);
    contentFolder(base.vek(), "M-Two", "mtwo", 6);
    missionSaves(base.vek(), base.game());
}

// The content folders and skins of the crash test: place in the VEK folder, file prefix and
// count. Every file operation is a crash point and costs two starts of the tool: a few dozen
// files in all keep the test quick.
const QList<std::tuple<QString, QString, int>> kCarriers = {{"A-One", "one", 8},
                                                            {"A-Two", "two", 3},
                                                            {"G-Both", "both", 6},
                                                            {"G-Better clouds", "better", 2},
                                                            {"M-One", "mone", 4},
                                                            {"M-Two", "mtwo", 4},
                                                            {"Skinfolder/A-05 Red", "red", 2},
                                                            {"Skinfolder/A-05 Blue", "blue", 2}};

const QStringList kSwapFiles = {QStringLiteral("planes.dat"), QStringLiteral("pnames.str"),
                                PickMenu::fileName(PickMenu::Side::German),
                                PickMenu::fileName(PickMenu::Side::British),
                                PickMenu::fileName(PickMenu::Side::American)};

// An operation after a set-up run; `own`: files of the game's own that A-One replaces;
// `vanish`: a folder the operation loads, gone before the next start (its load is undone).
struct CrashCase {
    const char *tag;
    bool demo;
    QStringList setUp, operation, own{};
    QString vanish{};
};

// One click that fails: the folders it starts from, the click, and what makes it fail.
struct FailedClick {
    const char *tag;
    bool demo;
    QStringList setUp, operation;
    QString readOnly;       // made read-only before the operation; "+i:" marked immutable
    QString big;            // a save of 2 MB, too big for the disk left
    int freeBytes;          // -1: not on a small disk
    QString cause;          // what the message must say
    int interruptAfter = 0; // Ctrl+C after this many file changes (0: none)
};

// A start on the files "path=bytes" `planted` below the root; "Old" is the VEK folder of the last
// start when `fromOld`. A command `cut` after its `cutAfter`-th file operation before the start
// makes the start the recovery of what it left (its journal, the lock, a write cut short).
struct StartUpCase {
    const char *tag;
    QStringList planted;
    bool fromOld = false;
    QStringList cut{};
    int cutAfter = 0;
};

} // namespace

Q_DECLARE_METATYPE(FailedClick)

/// Ends the command-line tool after each file operation of an operation in turn and starts it
/// again: the second start must leave the game folder, the ledger and the saves as if the
/// operation had been finished or had never begun.
class TestCliCrash : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyCrashPointIsPutRight_data() {
        using L = QStringList;
        const L own{"one1.dat", "ONE4.DAT", "one6.dat"};
        // "G-Better clouds" shares clouds.tpc with A-One, A-Two, G-Both and the skin A-05 Blue.
        const L clouds{"toggle", "G-Better clouds", "+"};
        const L loadOne{"toggle", "A-One"};
        const CrashCase rows[] = {
            {"load after a folder it shares a file with", false, clouds.first(2), loadOne},
            {"load replacing files of the game's own, one under another case", false, L(), loadOne,
             own},
            {"the same load undone at the next start", false, {}, loadOne, own, "A-One"},
            {"unload of a folder that replaced files of the game's own", false, loadOne, loadOne,
             own},
            {"Reset Completely of a folder that replaced files of the game's own", false, loadOne,
             L{"reset"}, own},
            {"load in place of another, undone at the next start", false,
             clouds + L{"toggle", "A-Two"}, loadOne, L(), "A-One"},
            {"unload of a folder sharing a file with one that stays loaded", false,
             clouds + L{"toggle", "G-Both"}, L{"toggle", "G-Both"}},
            {"load in place of a mission, saves travelling", false, clouds + L{"toggle", "M-One"},
             L{"toggle", "M-Two"}},
            {"skin load in place of another of its slot", false, clouds + L{"skin", "A-05 Red"},
             L{"skin", "A-05 Blue"}},
            {"Reset Completely", false,
             clouds + L{"toggle", "A-Two", "+", "toggle", "M-One", "+", "skin", "A-05 Red"},
             L{"reset"}},
            {"aircraft swap", true, L{"toggle", "F-Late war fighters"}, L{"plane", "P-Ta 152H"}},
            {"a move in the load order", false,
             clouds + L{"toggle", "A-Two", "+", "toggle", "G-Both", "+", "skin", "A-05 Blue"},
             L{"order", "G-Better clouds", "last"}},
        };
        addRows(rows);
    }

    void everyCrashPointIsPutRight() {
        QFETCH(CrashCase, row);
        const bool demo = row.demo;
        const QStringList &setUp = row.setUp, &operation = row.operation, &own = row.own;
        const QString &vanish = row.vanish;

        TestFolders base(demo ? TestFolders::Demo : TestFolders::WithGameFiles);
        if (!demo) {
            for (const auto &[place, prefix, count] : kCarriers)
                contentFolder(base.vek(), place, prefix, count);
            for (const QString &name :
                 QStringList{"A-One", "A-Two", "G-Both", "G-Better clouds", "Skinfolder/A-05 Blue"})
                TestFolders::write(base.vek() + "/" + name, "clouds.tpc",
                                   name.toUtf8() + " clouds");
            missionSaves(base.vek(), base.game());
            // A first start with this VEK folder sweeps content files out of the game folder:
            // the game's own files come after it.
            if (!own.isEmpty())
                QCOMPARE(run(base.root(), {"status"}).status, 0);
            for (const QString &name : own)
                TestFolders::write(base.game(), name, "the game's own " + name.toUtf8());
        }
        if (!setUp.isEmpty())
            QCOMPARE(run(base.root(), setUp).status, 0);
        const bool reset = operation.first() == "reset";
        // Loose files no folder carries: the reset's sweep moves them out of the game folder.
        const QMap<QString, QByteArray> loose{{"planes.dat", "the game's own planes"},
                                              {"notes.txt", "the player's notes"}};
        if (reset)
            for (auto it = loose.cbegin(); it != loose.cend(); ++it)
                TestFolders::write(base.game(), it.key(), it.value());
        // The game has played on since: this progress exists only in Savedata.
        if (!demo)
            TestFolders::write(base.game() + "/Savedata", "game1.sav", "one, third turn");
        const Tree before = treeOf(base.root());

        // The operation whole: the state "all new" of a swap, and the load order it leaves.
        Tree finished;
        {
            QTemporaryDir done;
            plant(done.path(), before);
            const CliRun whole = run(done.path(), operation);
            QVERIFY2(whole.status == 0, whole.err);
            finished = treeOf(done.path());
        }
        // Every save that exists once must still exist after any crash.
        // (The outgoing mission's store is not counted: a switch makes it hold what Savedata
        // held, so its older copies go by design.)
        const QSet<QByteArray> saves = savesIn(before, "VEK/C-One/");

        // The loaded folders and skins, by name and place in the VEK folder.
        QList<std::pair<QString, QString>> carriers;
        for (const auto &[place, prefix, count] : kCarriers)
            if (!demo)
                carriers.append({place.section('/', -1), place});
        int k = 1;
        for (;; ++k) {
            QTemporaryDir scratch;
            const QString root = scratch.path();
            plant(root, before);
            const CliRun crashed = run(root, operation, k);
            const int left = TestFolders::exists(root + "/VEK", "Journal.txt") +
                             TestFolders::exists(root + "/VEK", "ResetJournal.txt");
            // Out of the VEK folder, so the next start cannot finish the load.
            const QString away = root + "/gone";
            if (!vanish.isEmpty())
                QVERIFY(QDir().rename(root + "/VEK/" + vanish, away));
            // Every loaded file is its owner's copy, the owner being the folder loaded last.
            const CliRun next = run(root, {"verify"});
            const QByteArray at = "crash after file operation " + QByteArray::number(k);
            QVERIFY2(!TestFolders::exists(root + "/VEK", "Journal.txt"), at);
            QVERIFY2(!TestFolders::exists(root + "/VEK", "ResetJournal.txt"), at);
            // Told once for each record, and only when there was something to put right.
            QCOMPARE(next.err.count("was stopped before it had finished"), left);

            const Tree after = treeOf(root);
            const QList<QByteArray> loaded = Ledgers::readFoldersLoaded(root + "/VEK");
            // The load order is the one the whole operation leaves, or the one before it, as the
            // loaded list says (a vanished folder left out: it is loaded in neither).
            const auto ledger = [&vanish](const QByteArray &bytes, bool sorted) {
                QList<QByteArray> lines;
                for (const QByteArray &line : bytes.split('\n')) {
                    const QByteArray l = line.trimmed();
                    if (!l.isEmpty() &&
                        l.split('\t').value(l.contains('\t') ? 1 : 0) != vanish.toUtf8())
                        lines << l;
                }
                if (sorted)
                    std::sort(lines.begin(), lines.end());
                return lines;
            };
            const auto loadedIn = [&ledger](const Tree &tree) {
                return ledger(tree.value("VEK/FoldersLoaded.txt"), true);
            };
            const bool done = loadedIn(after) == loadedIn(finished);
            QVERIFY2(done || loadedIn(after) == loadedIn(before), at);
            QVERIFY2(ledger(after.value("VEK/LoadOrder.txt"), false) ==
                         ledger((done ? finished : before).value("VEK/LoadOrder.txt"), false),
                     at + ": " + after.value("VEK/LoadOrder.txt"));
            // (A load that was whole before its folder vanished leaves copies no loaded folder
            // owns.)
            QVERIFY2(next.status == 0 || (done && !vanish.isEmpty()),
                     at + ": " + next.out + next.err);
            if (reset) {
                // Once begun, a reset is finished: the game folder is as the whole reset leaves it,
                // but for what every start changes: eaw.ini, rewritten from the options, and the
                // default saves, parked while no mission is loaded.
                QVERIFY2(done, at);
                const auto compared = [](const QString &key) {
                    return key.startsWith("EAW/") && key != "EAW/LastVEKDir" &&
                           key != "EAW/eaw.ini" && !key.startsWith("EAW/Savedata/");
                };
                for (auto it = finished.cbegin(); it != finished.cend(); ++it)
                    if (compared(it.key()))
                        QVERIFY2(after.value(it.key()) == it.value(),
                                 at + ": " + it.key().toUtf8());
                for (auto it = after.cbegin(); it != after.cend(); ++it)
                    QVERIFY2(!compared(it.key()) || finished.contains(it.key()),
                             at + ": " + it.key().toUtf8());
                // Each loose file is in the game folder or among the swept files, never lost.
                for (auto l = loose.cbegin(); l != loose.cend(); ++l) {
                    const bool kept = std::any_of(
                        after.keyValueBegin(), after.keyValueEnd(), [&l](const auto &kv) {
                            return kv.second == l.value() &&
                                   (kv.first == "EAW/" + l.key() ||
                                    (kv.first.startsWith("Data/vekselector/swept/") &&
                                     kv.first.endsWith("/" + l.key())));
                        });
                    QVERIFY2(kept, at + ": " + l.key().toUtf8() + " is lost");
                }
            }

            // The names that more than one folder carries: `verify` has checked the loaded ones.
            QHash<QString, QStringList> carrying;
            for (const auto &[name, place] : carriers)
                for (const QString &file : namesIn(root + "/VEK/" + place))
                    carrying[file.toLower()] << name;
            if (!vanish.isEmpty())
                for (const QString &file : namesIn(away))
                    carrying[file.toLower()] << vanish;
            for (const auto &[name, place] : carriers) {
                // Each folder is wholly in the game folder, or not at all, its files replaced by it
                // back as they were: which one, the ledger says, unless the folder has gone since
                // the crash (a load then counts as done when it was over before the crash).
                const bool gone = name == vanish;
                bool whole = true;
                bool out = true;
                QByteArray odd;
                for (const QString &file : namesIn(gone ? away : root + "/VEK/" + place)) {
                    if (FileMover::skipped(file))
                        continue;
                    // A game file keeps the name it had, in whatever case.
                    QString inGame = "EAW/" + file;
                    for (const QString &o : own)
                        if (o.compare(file, Qt::CaseInsensitive) == 0)
                            inGame = "EAW/" + o;
                    const QStringList &with = carrying.value(file.toLower());
                    if (with.size() > 1) {
                        // A shared file no loaded folder carries is gone.
                        const bool wanted =
                            with.contains(vanish) ||
                            std::any_of(with.begin(), with.end(), [&loaded](const QString &c) {
                                return loaded.contains(c.toUtf8());
                            });
                        QVERIFY2(wanted || !after.contains(inGame), at + ": " + inGame.toUtf8());
                        continue;
                    }
                    const bool copied =
                        after.value(inGame) == before.value(gone ? "VEK/" + vanish + "/" + file
                                                                 : "VEK/" + place + "/" + file);
                    const bool asBefore =
                        own.contains(inGame.mid(4))
                            ? after.value(inGame) == "the game's own " + inGame.mid(4)
                            : !after.contains(inGame);
                    whole = whole && copied;
                    out = out && asBefore;
                    if (!copied && !asBefore)
                        odd = inGame.toUtf8();
                }
                const bool recorded = loaded.contains(name.toUtf8());
                QVERIFY2(gone       ? whole || out
                         : recorded ? whole
                                    : out,
                         at + ": " + name.toUtf8() + (recorded ? " loaded" : " not loaded") +
                             ", yet not as that: " + odd);
            }
            // What a load kept while it replaced game files is gone with it, never left over;
            // the game's own files are kept while a loaded folder carries them, and back under
            // their names when none does.
            for (auto it = after.cbegin(); it != after.cend(); ++it)
                QVERIFY2(!it.key().contains("/.vek-keep-") && !it.key().endsWith(".kept"),
                         at + ": " + it.key().toUtf8());
            for (const QString &o : own) {
                const QByteArray game = "the game's own " + o.toUtf8();
                const bool inPlace = after.value("EAW/" + o) == game;
                const bool kept = after.value("EAW/.vek-game-" + o) == game;
                QVERIFY2(inPlace || kept, at + ": " + o.toUtf8() + " is lost");
                QVERIFY2(!(inPlace && after.contains("EAW/.vek-game-" + o)),
                         at + ": " + o.toUtf8() + " is kept though in place");
                // (A load whole before its folder vanished leaves a copy over it: kept then.)
                if (vanish.isEmpty())
                    QVERIFY2(loaded.contains("A-One") ? kept : inPlace, at + ": " + o.toUtf8());
            }
            // Nothing lost from the VEK folder: every content file is still there as it was.
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                if (it.key().startsWith("VEK/") && it.key().count('/') > 1 &&
                    !it.key().startsWith("VEK/C-") &&
                    !(!vanish.isEmpty() && it.key().startsWith("VEK/" + vanish + "/")))
                    QVERIFY2(after.value(it.key()) == it.value(), at + ": " + it.key().toUtf8());
            const QSet<QByteArray> savesAfter = savesIn(after);
            for (const QByteArray &save : saves)
                QVERIFY2(savesAfter.contains(save), at + ": the save \"" + save + "\" is lost");
            if (demo) {
                int same = 0;
                int swapped = 0;
                for (const QString &file : kSwapFiles) {
                    same += after.value("EAW/" + file) == before.value("EAW/" + file);
                    swapped += after.value("EAW/" + file) == finished.value("EAW/" + file);
                }
                QVERIFY2(same == kSwapFiles.size() || swapped == kSwapFiles.size(),
                         at + ": the swap's files are neither all old nor all new");
                QCOMPARE(loaded.contains("P-Ta 152H"),
                         swapped == kSwapFiles.size() && same != kSwapFiles.size());
            }
            if (crashed.status != CrashPoint::ExitStatus) {
                QCOMPARE(crashed.status, 0);
                break;
            }
        }
        // The operation has file operations to crash after, and every one of them was tried.
        QVERIFY(k > 3);
    }

    void unfinishedSaveExchangeKeepsItsJournal_data() {
        QTest::addColumn<QString>("stage"); // the record's stage when the tool was ended
        QTest::newRow("ended while Savedata's saves went to their store") << "saves-park";
        QTest::newRow("ended while the new mission's saves came in") << "saves-bring";
    }

    // A mission switch ended in its save exchange, and at the next start Savedata cannot be
    // changed (a mark no user overrides): that start cannot finish it, so the record stays and
    // the player is told; the start after the folder is freed finishes it.
    void unfinishedSaveExchangeKeepsItsJournal() {
        QFETCH(QString, stage);
        for (int k = 1; k < 60; ++k) {
            TestFolders base(TestFolders::WithGameFiles);
            const QString root = base.root();
            twoMissions(base);
            QCOMPARE(run(root, {"toggle", "M-One"}).status, 0);
            TestFolders::write(base.game() + "/Savedata", "game1.sav", "one, third turn");
            run(root, {"toggle", "M-Two"}, k);
            if (!TestFolders::read(base.vek(), "Journal.txt").contains(stage.toUtf8()))
                continue;
            const QString savedata = base.game() + "/Savedata";
            const auto unmark = qScopeGuard([&] { QProcess::execute("chattr", {"-i", savedata}); });
            if (QProcess::execute("chattr", {"+i", savedata}) != 0)
                QSKIP("this file system keeps no immutable mark");
            const CliRun blocked = run(root, {"status"});
            QVERIFY2(blocked.err.contains("tries again at its next start"), blocked.err);
            QVERIFY2(blocked.err.contains("immutable"), blocked.err);
            QVERIFY(TestFolders::exists(base.vek(), "Journal.txt"));
            QProcess::execute("chattr", {"-i", savedata});
            const CliRun freed = run(root, {"verify"});
            QVERIFY2(freed.status == 0, freed.err);
            QVERIFY(!TestFolders::exists(base.vek(), "Journal.txt"));
            QCOMPARE(TestFolders::read(savedata, "game2.sav"), QByteArray("two, second turn"));
            QCOMPARE(TestFolders::read(base.vek() + "/C-One", "game1.sav"),
                     QByteArray("one, third turn"));
            return;
        }
        QFAIL("the switch was never ended at that stage");
    }

    // A read-only save or folder, or a disk too full for a copy: the click fails as a whole, and
    // the folders are byte for byte as before it (every save where it was, the missions and the
    // aircraft as they were, no journal and no copy left over), with the real cause told.
    void aFailedClickChangesNothing_data() {
        QTest::addColumn<FailedClick>("click");
        const QStringList switchToTwo{"toggle", "M-Two"}, one{"toggle", "M-One"}, status{"status"};
        const QStringList swap{"plane", "P-Ta 152H"}, lateWar{"toggle", "F-Late war fighters"};
        const QString full = QStringLiteral("No space left on device");
        const FailedClick rows[] = {
            {"mission switch, a read-only save", false, one, switchToTwo, "EAW/Savedata/game1.sav",
             "", -1, "read-only"},
            {"mission switch, a read-only Savedata folder", false, one, switchToTwo, "EAW/Savedata",
             "", -1, "read-only"},
            {"mission switch, a read-only save in the store it replaces", false, one, switchToTwo,
             "VEK/C-One/game1.sav", "", -1, "read-only"},
            {"mission load alone, a read-only Savedata folder", false, status, switchToTwo,
             "EAW/Savedata", "", -1, "read-only"},
            {"mission load alone, a read-only save a newer one would displace", false, status,
             switchToTwo, "VEK/C-Default/own.sav", "", -1, "read-only"},
            {"mission unload, a read-only C-Default", false, one, one, "VEK/C-Default", "", -1,
             "read-only"},
            // "+i:": a mark no user overrides (tests may run as root, who ignores read-only).
            {"mission switch, a save the system will not let go", false, one, switchToTwo,
             "+i:EAW/Savedata/game1.sav", "", -1, "immutable"},
            {"mission switch, a store the system will not let change", false, one, switchToTwo,
             "+i:VEK/C-One", "", -1, "immutable"},
            {"mission switch, a file of the old mission the system will not let go", false, one,
             switchToTwo, "+i:EAW/mone3.dat", "", -1, "immutable"},
            {"unload, a file the system will not let go", false, one, one, "+i:EAW/mone3.dat", "",
             -1, "immutable"},
            // A ledger that cannot say what was done: nothing is done.
            {"mission switch, a read-only FoldersLoaded.txt", false, one, switchToTwo,
             "VEK/FoldersLoaded.txt", "", -1, "read-only"},
            {"unload, a read-only LoadOrder.txt", false, one, one, "VEK/LoadOrder.txt", "", -1,
             "read-only"},
            // The saves could move, the new mission's files cannot: the old mission comes back.
            {"mission switch, a read-only game file in the new mission's way", false, one,
             switchToTwo, "EAW/mtwo3.dat", "", -1, "read-only"},
            {"mission switch, the other store's save does not fit", false, one, switchToTwo, "",
             "VEK/C-Two/huge.sav", 512 * 1024, full},
            {"mission switch, Savedata's save does not fit in its store", false, one, switchToTwo,
             "", "EAW/Savedata/huge.sav", 512 * 1024, full},
            {"mission unload, a full disk", false, one, one, "", "EAW/Savedata/huge.sav",
             512 * 1024, full},
            // Room for the saves made ready and the new mission's copies (the old one's are gone),
            // and not for the page of the new FoldersLoaded.txt.
            {"mission switch, the disk fills before FoldersLoaded.txt", false, one, switchToTwo, "",
             "", 6 * 4096, "FoldersLoaded.txt\": No space"},
            {"a full disk: not even the game folder's lock fits", true, lateWar, swap, "", "", 0,
             "no space is left"},
            {"aircraft swap, a read-only PlanesLoaded.txt", true, lateWar, swap,
             "VEK/PlanesLoaded.txt", "", -1, "read-only"},
            // Room for the game folder's lock, and not for the new files.
            {"aircraft swap, a full disk", true, lateWar, swap, "", "", 4096, "not enough space"},
            // Room for the journal and some of the new files, not for all of them.
            {"aircraft swap, the disk fills up half-way", true, lateWar, swap, "", "", 16 * 1024,
             full},
            // Ctrl+C is the window's Cancel: the switch is undone, and the status tells a script
            // that the run was interrupted.
            {"mission switch, Ctrl+C half-way", false, one, switchToTwo, "", "", -1, "", 3},
        };
        for (const FailedClick &r : rows)
            QTest::newRow(r.tag) << r;
    }

    void aFailedClickChangesNothing() {
        QFETCH(FailedClick, click);
        const auto &[tag, demo, setUp, operation, marked, big, freeBytes, cause, interruptAfter] =
            click;
        const bool immutable = marked.startsWith("+i:");
        const QString readOnly = immutable ? marked.mid(3) : marked;
        if (freeBytes >= 0 && !CliRun::smallDisksPossible())
            QSKIP("This system lets no unprivileged user namespace mount a small file system, so "
                  "a full disk cannot be made here.");

        TestFolders base(demo ? TestFolders::Demo : TestFolders::WithGameFiles);
        const QString root = base.root(), game = base.game(), vek = base.vek();
        if (!demo) {
            twoMissions(base);
            TestFolders::write(vek + "/C-Default", "game9.sav", "the player's other game");
        }
        if (!setUp.isEmpty())
            QCOMPARE(run(root, setUp).status, 0);
        if (!demo) {
            TestFolders::write(game + "/Savedata", "game1.sav", "one, third turn");
            // Newer than the state a set-up start parked in C-Default: a start parks it over that.
            TestFolders::write(game + "/Savedata", "own.sav", "the player's own game, played on");
        }
        if (!big.isEmpty()) {
            QByteArray bytes(2 * 1024 * 1024, '\0');
            for (qsizetype i = 0; i < bytes.size(); ++i)
                bytes[i] = char(i * 7 + i / 4096);
            TestFolders::write(root, big, bytes);
        }
        if (!readOnly.isEmpty() && !QFileInfo::exists(root + "/" + readOnly))
            TestFolders::write(root, readOnly, "the game's own");
        const auto unmark = qScopeGuard([&] {
            if (immutable)
                QProcess::execute("chattr", {"-i", root + "/" + readOnly});
        });
        if (immutable && QProcess::execute("chattr", {"+i", root + "/" + readOnly}) != 0)
            QSKIP("this file system keeps no immutable mark");
        if (!readOnly.isEmpty() && !immutable)
            QVERIFY(QFile::setPermissions(root + "/" + readOnly,
                                          QFileInfo(root + "/" + readOnly).isDir()
                                              ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                              : QFileDevice::ReadOwner));
        const Tree before = treeOf(root);

        const QStringList args = QStringList{"--game", game, "--vek", vek} + operation;
        QTemporaryDir scratch;
        QString after = root;
        CliRun r;
        if (freeBytes < 0) {
            r = CliRun::run(args, lockDir_.filePath("lock"), QString(),
                            {QStringLiteral("VEK_INTERRUPT_AFTER=%1").arg(interruptAfter)});
        } else {
            after = scratch.filePath("after");
            r = CliRun::runOnSmallDisk(args, lockDir_.filePath("lock"), root, freeBytes, after);
        }
        QVERIFY2(r.status == (interruptAfter > 0 ? 130 : 1), r.err);
        QVERIFY2(r.err.contains(cause.toUtf8()), r.err);
        QVERIFY2(!r.err.contains("Unknown error"), r.err);
        const Tree now = treeOf(after);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(now.value(it.key()) == it.value(), qPrintable("changed or gone: " + it.key()));
        for (auto it = now.cbegin(); it != now.cend(); ++it)
            QVERIFY2(before.contains(it.key()), qPrintable("left over: " + it.key()));
    }

    // The start-up files saves where they belong (and rewrites its own files): ended after
    // each of its file operations in turn, the next start must leave every save, ledger and
    // file name as an uncut start does.

    void everyStartUpCrashPointIsPutRight() {
        using L = QStringList;
        const L twoMissions{"VEK/M-Alpha/alpha.dat=a", "VEK/M-Beta/beta.dat=b",
                            "VEK/FoldersLoaded.txt=M-Alpha\r\nM-Beta\r\n\r\n"};
        const StartUpCase rows[] = {
            {"the game's saves and those parked by an earlier start",
             L{"EAW/Savedata/camp.sav=newer", "EAW/Savedata/own.sav=own",
               "VEK/C-Default/camp.sav=parked", "VEK/C-Default/more.sav=more"}},
            {"two missions, the load order names the earlier",
             twoMissions + L{"VEK/LoadOrder.txt=folder\tM-Alpha\r\n",
                             "EAW/Savedata/camp.sav=alpha day 5",
                             "VEK/C-Alpha/camp.sav=alpha day 1", "VEK/C-Beta/camp.sav=beta own",
                             "VEK/C-Beta/beta2.sav=beta two"}},
            {"two missions, whose saves not known",
             twoMissions + L{"EAW/Savedata/camp.sav=someone's", "VEK/C-Default/camp.sav=default",
                             "VEK/C-Beta/camp.sav=beta own"}},
            {"the recorded mission's folder has gone",
             L{"VEK/FoldersLoaded.txt=M-Gone\r\n\r\n", "EAW/Savedata/camp.sav=gone day 9",
               "EAW/Savedata/two.sav=gone too", "VEK/C-Default/default.sav=the game's"}},
            {"another VEK folder had a mission loaded",
             L{"Old/linkscreen=x", "Old/M-X/x.dat=x", "Old/FoldersLoaded.txt=M-X\r\n\r\n",
               "Old/C-X/camp.sav=x day 1", "Old/C-Default/default.sav=the game's",
               "EAW/Savedata/camp.sav=x day 4", "EAW/Savedata/x2.sav=x day 4, second"},
             true},
            // Cut inside a load's copies, and inside a mission's save exchange.
            {"recovery of a load cut short",
             L{"VEK/G-Maps/a.ter=a", "VEK/G-Maps/b.ter=b", "VEK/G-Maps/c.txt=c",
               "EAW/b.ter=the game's own"},
             false, L{"toggle", "G-Maps"}, 3},
            {"recovery of a mission's load cut in its save exchange",
             L{"VEK/M-Alpha/alpha.msn=a", "VEK/C-Alpha/camp.sav=alpha day 1",
               "EAW/Savedata/camp.sav=the game's", "EAW/Savedata/own.sav=own"},
             false, L{"toggle", "M-Alpha"}, 4},
        };
        for (const auto &[tag, planted, fromOld, cut, cutAfter] : rows) {
            const CaseName inCase(tag);
            TestFolders base;
            TestFolders::plant(base.root(), planted);
            if (!cut.isEmpty()) {
                base.rememberVek();
                QCOMPARE(run(base.root(), {"status"}).status, 0);
                QCOMPARE(run(base.root(), cut, cutAfter).status, CrashPoint::ExitStatus);
                QVERIFY(TestFolders::exists(base.vek(), "Journal.txt"));
            }
            // Saves, ledgers and every name of the two folders and of the old VEK folder: what a
            // start leaves, less the lock it holds while it runs.
            const auto kept = [](const Tree &tree) {
                QStringList lines;
                for (auto it = tree.cbegin(); it != tree.cend(); ++it) {
                    const QString &key = it.key();
                    if (key.startsWith("Data/") || key.endsWith(".vekselector.lock"))
                        continue;
                    const bool content = key.endsWith(".sav") || key.endsWith("FoldersLoaded.txt");
                    lines << (content ? key + "=" + QString::fromUtf8(it.value()) : key);
                }
                lines.sort();
                return lines;
            };
            const Tree before = treeOf(base.root());
            const QString lastVek = fromOld ? "Old" : "VEK";
            QStringList finished;
            {
                QTemporaryDir done;
                plant(done.path(), before, lastVek);
                QVERIFY(run(done.path(), {"status"}).status == 0);
                const CliRun again = run(done.path(), {"status"});
                QVERIFY2(again.status == 0, again.err);
                finished = kept(treeOf(done.path()));
            }
            // Ended after each whole file operation, then also at each step inside a write.
            for (const bool within : {false, true})
                for (int k = 1;; ++k) {
                    QTemporaryDir scratch;
                    const QString root = scratch.path();
                    plant(root, before, lastVek);
                    const CliRun crashed = run(root, {"status"}, k, true, within);
                    const QByteArray at = (within ? "crash at start-up step "
                                                  : "crash after start-up file operation ") +
                                          QByteArray::number(k);
                    const CliRun next = run(root, {"status"});
                    QVERIFY2(next.status == 0, at + ": " + next.err);
                    const QStringList after = kept(treeOf(root));
                    if (after != finished)
                        qWarning() << at << "\nafter the crash:" << after << "\nuncut:" << finished;
                    QCOMPARE(after, finished);
                    if (crashed.status != CrashPoint::ExitStatus)
                        break;
                }
        }
    }

    /// A going back cut after each of its file operations in turn: the next start leaves the
    /// state it went back to, or the one before it, and verify finds nothing.
    void goingBackIsFinishedOrNotBegunAfterACrash() {
        const auto fresh = [this](TestFolders &f) {
            contentFolder(f.vek(), "A-One", "one", 4);
            contentFolder(f.vek(), "G-Maps", "maps", 3);
            QCOMPARE(run(f.root(), {"status"}).status, 0);
            QCOMPARE(run(f.root(), {"toggle", "A-One", "+", "toggle", "G-Maps"}).status, 0);
        };
        // Each run has folders of its own: their path, written in LastVEKDir, is left out.
        const auto tree = [](const TestFolders &f) {
            Tree t = treeOf(f.root());
            for (QByteArray &bytes : t)
                bytes.replace(QFile::encodeName(f.root()), "ROOT");
            return t;
        };
        // The two states a cut going back may leave, each as the next start finds it.
        Tree there, here;
        {
            TestFolders f;
            fresh(f);
            QCOMPARE(run(f.root(), {"back", "1"}).status, 0);
            QCOMPARE(run(f.root(), {"status"}).status, 0);
            there = tree(f);
        }
        {
            TestFolders f;
            fresh(f);
            QCOMPARE(run(f.root(), {"status"}).status, 0);
            here = tree(f);
        }
        QVERIFY(there != here);
        for (int k = 1;; ++k) {
            TestFolders f;
            fresh(f);
            const CliRun crashed = run(f.root(), {"back", "1"}, k);
            const CliRun next = run(f.root(), {"verify"});
            const QString at = QStringLiteral("cut after file operation %1").arg(k);
            QVERIFY2(next.status == 0, qPrintable(at + ": " + next.out + next.err));
            const Tree after = tree(f);
            QVERIFY2(after == there || after == here, qPrintable(at));
            if (crashed.status != CrashPoint::ExitStatus)
                break;
        }
    }

private:
    CliRun run(const QString &root, const QStringList &commands, int crashAfter = 0,
               bool inStartUp = false, bool withinWrites = false) {
        // The user's data folder inside the tree: what a sweep moves there is checked with it.
        return CliRun::on(root + "/EAW", root + "/VEK", commands, lockDir_.filePath("lock"),
                          QStringList{"XDG_DATA_HOME=" + root + "/Data"} +
                              CliRun::crashAt(crashAfter, inStartUp, withinWrites));
    }
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliCrash)
#include "tst_cli_crash.moc"

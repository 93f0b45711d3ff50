// SPDX-License-Identifier: GPL-3.0-or-later
#include "Autoscripts.h"
#include "CompleteReset.h"
#include "GridRows.h"
#include "History.h"
#include "HistoryStore.h"
#include "KeptOptions.h"
#include "KeyboardFeatures.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "MusicButtons.h"
#include "OpenSelector.h"
#include "Options.h"
#include "Planes.h"
#include "ProgressHook.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "Skins.h"
#include "TestFolders.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <random>

namespace {

/// Every byte a going back brings back: the game folder (without the store, eaw.exe and
/// LastVEKDir), the ledgers of the VEK folder and the options kept for the game folder.
QMap<QString, QByteArray> snapshot(const TestFolders &f) {
    QMap<QString, QByteArray> all;
    QDirIterator it(f.game(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = QDir(f.game()).relativeFilePath(it.next());
        if (!rel.startsWith(HistoryStore::FolderName) && rel != QLatin1String("eaw.exe") &&
            rel != QLatin1String("LastVEKDir"))
            all.insert(rel, TestFolders::read(f.game(), rel));
    }
    for (const QString &ledger : Ledgers::All)
        if (TestFolders::exists(f.vek(), ledger))
            all.insert(QStringLiteral("VEK/") + ledger, TestFolders::read(f.vek(), ledger));
    all.insert(QStringLiteral("options"), KeptOptions::text(f.game()).toLatin1());
    return all;
}

/// The store's files with their bytes and modification times.
QMap<QString, QPair<QByteArray, QDateTime>> storeFiles(const TestFolders &f) {
    QMap<QString, QPair<QByteArray, QDateTime>> all;
    const QString store = f.game() + QLatin1Char('/') + HistoryStore::FolderName;
    QDirIterator it(store, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        all.insert(QDir(store).relativeFilePath(info.filePath()),
                   {TestFolders::read(store, QDir(store).relativeFilePath(info.filePath())),
                    info.fileTime(QFileDevice::FileModificationTime)});
    }
    return all;
}

int lastEntry(Selector &s) {
    return int(s.history().lines().size()) - 1;
}

struct State {
    QMap<QString, QByteArray> files;
    QStringList loaded;
    bool intact = true; ///< what verify finds: false while a loaded file is broken
};

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomWalk_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("actions");
        // What becomes of the history's index before the restart: it is made again from the
        // entries when it is gone, cannot be read, or is older than the last entry.
        QTest::addColumn<QString>("index");
        QTest::newRow("seed 15") << 15u << 24 << QString();
        QTest::newRow("seed 4, index removed") << 4u << 12 << "removed";
        QTest::newRow("seed 7, index garbled") << 7u << 14 << "garbled";
        QTest::newRow("seed 9, index behind the entries") << 9u << 8 << "behind";
    }

    /// A walk of the player's actions (`Kind`: loads, mission and music switches, autoscript
    /// runs, repairs, skins, swaps, fuel and option clicks, the game's campaign saves ...),
    /// then back to its entries in
    /// random order: each time the folders and options are what they were right after that
    /// entry, the grids' marks follow, and verify finds what it found then.
    void randomWalk() {
        QFETCH(quint32, seed);
        QFETCH(int, actions);
        QFETCH(QString, index);
        const QString indexFile = HistoryStore::FolderName + QStringLiteral("/index.txt");
        QByteArray earlyIndex;
        TestFolders f(TestFolders::Demo);
        ScriptedPrompt prompt;
        QMap<int, State> after;
        after.insert(0, {snapshot(f), {}});
        auto s = openSelector(f, prompt);
        QVERIFY(s->history().on());
        // The start may be an entry of its own; entry 0 is the folder before it.
        const int started = lastEntry(*s);
        after.insert(started, {snapshot(f), s->loadedList().loadedNames()});
        QRandomGenerator rng(seed);
        // The campaign saves the game wrote, by path, with their bytes and the entry after which.
        QMap<QString, QPair<QByteArray, int>> saves;
        for (int a = 0; a < actions; ++a) {
            const int kind = a == actions / 2 ? int(GameSave) : int(rng.bounded(Kinds));
            const int before = lastEntry(*s);
            // A loaded file broken by someone else between two entries: the history finds it
            // so at the repair, and going back to any entry since the file's last change
            // brings it back broken (nothing of the player's is lost).
            if (const QString broken = kind == Repair ? breakLoaded(f, *s, rng) : QString();
                !broken.isEmpty()) {
                const QByteArray was = after.value(before).files.value(broken);
                for (auto it = after.upperBound(before);
                     it != after.begin() && std::prev(it)->files.value(broken) == was;) {
                    --it;
                    it->files[broken] = TestFolders::read(f.game(), broken);
                    it->intact = false;
                }
            }
            {
                History::Entry entry(s->history(), QStringLiteral("Action %1.").arg(a));
                act(*s, kind, rng);
            }
            const int n = lastEntry(*s);
            QVERIFY2(n - before <= 1, "one action is one entry");
            after.insert(n, {snapshot(f), s->loadedList().loadedNames(),
                             n != before || after.value(before).intact});
            if (a == 1)
                earlyIndex = TestFolders::read(f.game(), indexFile);
            if (kind == GameSave) {
                // The game saves a campaign, whichever mission is loaded: going back to this
                // entry brings the save as the game left it.
                const QString save = QStringLiteral("Savedata/walk%1-%2.sav").arg(seed).arg(a);
                const QByteArray bytes = "a campaign saved by the game " + save.toUtf8();
                TestFolders::write(f.game(), save, bytes);
                after[n].files.insert(save, bytes);
                saves.insert(save, {bytes, n});
            }
        }
        const int last = lastEntry(*s);
        QCOMPARE(after.lastKey(), last);
        QVERIFY2(last - started >= actions / 3, "many actions change files");
        QList<int> order = after.keys();
        std::shuffle(order.begin(), order.end(), std::mt19937(seed));
        for (const int n : std::as_const(order)) {
            QVERIFY2(s->history().back(n), qPrintable(prompt.allText()));
            expect(f, *s, after.value(n), saves, n, QStringLiteral("back %1").arg(n));
        }
        // Forward to the end, undo twice (each goes one further back), forward again.
        QVERIFY(s->history().back(last));
        expect(f, *s, after.value(last), saves, last, QStringLiteral("forward"));
        for (const int n : {last - 1, last - 2}) {
            QVERIFY(s->history().undo());
            expect(f, *s, after.value(n), saves, n, QStringLiteral("undo to %1").arg(n));
        }
        QVERIFY(s->history().back(last));
        expect(f, *s, after.value(last), saves, last, QStringLiteral("forward again"));
        // The history survives a restart.
        s.reset();
        if (index == QLatin1String("removed"))
            QVERIFY(QFile::remove(f.game() + QLatin1Char('/') + indexFile));
        else if (!index.isEmpty())
            TestFolders::write(f.game(), indexFile,
                               index == QLatin1String("garbled")
                                   ? QByteArray("VEK history index 1\nlast\tx\n")
                                   : earlyIndex);
        s = openSelector(f, prompt);
        QVERIFY(s->history().back(0));
        expect(f, *s, after.value(0), saves, 0, QStringLiteral("back 0 after a restart"));
        // The folder the selector remembers stays: the next start finds it without asking.
        QVERIFY(
            TestFolders::read(f.game(), QStringLiteral("LastVEKDir")).contains(f.vek().toUtf8()));
        QVERIFY(!s->history().undo() || lastEntry(*s) > 0);
    }

    void quietStart_data() {
        QTest::addColumn<int>("loads");
        QTest::newRow("as found") << 0;
        QTest::newRow("after two loads") << 2;
    }

    /// A start that changes no file's bytes writes nothing to the store: no entry, no index.
    void quietStart() {
        QFETCH(int, loads);
        TestFolders f(TestFolders::Demo);
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        for (int row = 1; row <= loads; ++row) {
            History::Entry entry(s->history(), QStringLiteral("Load."));
            s->loadFiles().click(row);
        }
        s.reset();
        s = openSelector(f, prompt);
        s.reset();
        const auto before = storeFiles(f);
        const QByteArray eawIni = TestFolders::read(f.game(), QStringLiteral("eaw.ini"));
        QTest::qSleep(20);
        s = openSelector(f, prompt);
        const int last = lastEntry(*s);
        s.reset();
        QCOMPARE(storeFiles(f), before);
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("eaw.ini")), eawIni);
        // What the start rewrote with the same bytes is no change of the player's either.
        s = openSelector(f, prompt);
        QVERIFY(s->history().back(0));
        QCOMPARE(prompt.allText().contains(QStringLiteral(".mine")), false);
        QVERIFY(!TestFolders::exists(f.game(), QStringLiteral("eaw.ini.mine")));
        QVERIFY(s->history().back(last));
    }

    void limit_data() {
        QTest::addColumn<int>("keep");
        QTest::addColumn<int>("changes");
        QTest::newRow("keep 3 of 8") << 3 << 8;
        QTest::newRow("keep 5 of 6") << 5 << 6;
        QTest::newRow("keep all") << 20 << 6;
    }

    /// Past the limit the oldest entries give up their bytes: `history` marks every state that
    /// can no longer come back, and going back to one is refused with the reason; the oldest
    /// one left still comes back.
    void limit() {
        QFETCH(int, keep);
        QFETCH(int, changes);
        qputenv("VEK_HISTORY_KEEP", QByteArray::number(keep));
        const auto unset = qScopeGuard([] { qunsetenv("VEK_HISTORY_KEEP"); });
        TestFolders f(TestFolders::Demo);
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        for (int c = 0; c < changes; ++c) {
            History::Entry entry(s->history(), QStringLiteral("Change."));
            s->loadFiles().click(1 + c % 2);
        }
        // Counted again after a restart, from the index.
        s.reset();
        s = openSelector(f, prompt);
        const QStringList lines = s->history().lines();
        const int last = int(lines.size()) - 1;
        const int oldest = std::max(0, last - keep);
        for (int n = 0; n <= last; ++n)
            QVERIFY2(lines.at(n).endsWith(QLatin1String("(can no longer be returned to)")) ==
                         (n < oldest),
                     qPrintable(lines.at(n)));
        if (oldest > 0) {
            QVERIFY(!s->history().back(oldest - 1));
            QVERIFY2(prompt.allText().contains(
                         QStringLiteral("Entry %1 can no longer be returned to").arg(oldest - 1)),
                     qPrintable(prompt.allText()));
        }
        QVERIFY2(s->history().back(oldest), qPrintable(prompt.allText()));
    }

    void bigGoingBack_data() {
        QTest::addColumn<int>("cancelAt");
        QTest::newRow("whole") << -1;
        QTest::newRow("cancelled at the first file") << 0;
        QTest::newRow("cancelled half way") << 130;
        QTest::newRow("cancelled at the last file") << 259;
    }

    /// A going back past 200 files shows its progress, and a Cancel anywhere leaves every file,
    /// ledger and the history as before it.
    void bigGoingBack() {
        QFETCH(int, cancelAt);
        TestFolders f(TestFolders::Demo);
        QStringList files;
        for (int i = 0; i < 260; ++i)
            files << QStringLiteral("big%1.dat=bytes %1").arg(i);
        TestFolders::plant(f.vek() + QStringLiteral("/Z-Big"), files);
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        const int start = lastEntry(*s);
        const QMap<QString, QByteArray> before = snapshot(f);
        {
            History::Entry entry(s->history(), QStringLiteral("Load."));
            QVERIFY(clickRow(*s, QStringLiteral("Z-Big")));
        }
        const QMap<QString, QByteArray> loaded = snapshot(f);
        const QStringList lines = s->history().lines();
        qsizetype steps = 0;
        ProgressHook hook([&](qsizetype done, const QString &) {
            steps = std::max(steps, done + 1);
            return done != cancelAt;
        });
        s->setProgress(&hook);
        QCOMPARE(s->history().back(start), cancelAt < 0);
        s->setProgress(nullptr);
        QCOMPARE(snapshot(f), cancelAt < 0 ? before : loaded);
        // The load's copies were still their VEK files: the store kept none of their bytes.
        const auto store = storeFiles(f);
        for (auto it = store.cbegin(); it != store.cend(); ++it)
            QVERIFY2(!it->first.startsWith("bytes "), qPrintable(it.key()));
        QVERIFY(steps >= (cancelAt < 0 ? 260 : cancelAt + 1));
        QCOMPARE(s->history().lines().size(), lines.size() + (cancelAt < 0 ? 1 : 0));
        QCOMPARE(s->Unigrid.row(s->Unigrid.find(QStringLiteral("Z-Big"))).loaded, cancelAt >= 0);
        QVERIFY(s->loadedFiles().check());
    }

private:
    enum Kind {
        Load,
        Skin,
        Swap,
        Fuel,
        Options,
        CheatCheck,
        Feature,
        DelMsn,
        Reset,
        Music,
        Mission,
        Autoscript,
        Repair,
        GameSave,
        Kinds
    };

    static void act(Selector &s, int kind, QRandomGenerator &rng) {
        switch (kind) {
        case Load:
            s.loadFiles().click(1 + rng.bounded(s.Unigrid.rowCount() - 1));
            break;
        case Skin:
            if (s.SK1.rowCount() > 1)
                s.skins().activate(1 + rng.bounded(s.SK1.rowCount() - 1));
            break;
        case Swap:
            if (s.G1.rowCount() > 1)
                s.planes().click(1 + rng.bounded(s.G1.rowCount() - 1));
            break;
        case Fuel:
            if (!s.Fuel.rows.isEmpty())
                s.planes().fuelClick(1 + rng.bounded(int(s.Fuel.rows.size())),
                                     FuelGrid::FirstColumn + rng.bounded(19));
            break;
        case Options:
            s.options().clickResolution(rng.bounded(7));
            s.options().clickSquads(rng.bounded(6));
            break;
        case CheatCheck:
            s.options().setCheatCheck(rng.bounded(2) == 0);
            break;
        case Feature:
            if (s.features().G7.count() > 0)
                s.features().clickOption13(rng.bounded(s.features().G7.count()));
            break;
        case DelMsn:
            s.music().delmsn();
            break;
        case Reset:
            if (rng.bounded(3) == 0)
                s.completeReset().run();
            break;
        case Music:
            // A music switch renames the music folders.
            if (!s.music().Option12.isEmpty())
                s.music().click(rng.bounded(int(s.music().Option12.size())));
            break;
        case Mission: {
            // A mission that is not loaded: its campaign saves change places with Savedata's.
            QList<int> rows;
            for (int r = 1; r < s.Unigrid.rowCount(); ++r)
                if (s.Unigrid.letter(r) == QLatin1String("M") && !s.Unigrid.row(r).loaded)
                    rows << r;
            if (!rows.isEmpty())
                s.loadFiles().click(rows.at(rng.bounded(int(rows.size()))));
            break;
        }
        case Autoscript:
            s.autoscripts().refresh();
            if (!s.File10.isEmpty() && s.autoscripts().show(rng.bounded(int(s.File10.size()))))
                s.autoscripts().run();
            break;
        case Repair:
            if (!s.loadedFiles().check())
                s.loadedFiles().repair();
            break;
        case GameSave: // the game's, written after the entry
            break;
        }
    }

    /// Writes other bytes into a file a loaded folder copied into the game folder, as a
    /// player's tool would: its name, or empty when nothing is loaded.
    static QString breakLoaded(const TestFolders &f, Selector &s, QRandomGenerator &rng) {
        const QStringList loaded = s.loadedList().loadedNames();
        for (int tries = 0; tries < 8 && !loaded.isEmpty(); ++tries) {
            const QString folder =
                f.vek() + QLatin1Char('/') + loaded.at(rng.bounded(int(loaded.size())));
            const QStringList names = QDir(folder).entryList(QDir::Files);
            for (const QString &name : names)
                if (QFileInfo(f.game() + QLatin1Char('/') + name).isFile() &&
                    TestFolders::read(folder, name) == TestFolders::read(f.game(), name)) {
                    TestFolders::write(f.game(), name, "broken by another program");
                    return name;
                }
        }
        return QString();
    }

    /// The folders are `want`, the state after entry `n`; each of `saves` the game wrote later is
    /// where the save exchange puts saves, in Savedata or a campaign store, under its name or a
    /// numbered one ("name (2).sav").
    static void expect(const TestFolders &f, Selector &s, const State &want,
                       const QMap<QString, QPair<QByteArray, int>> &saves, int n,
                       const QString &what) {
        QMap<QString, QByteArray> now = snapshot(f);
        const QMap<QString, QByteArray> &wanted = want.files;
        QStringList folders{f.game() + QStringLiteral("/Savedata")};
        for (const QString &store : QDir(f.vek()).entryList({QStringLiteral("C-*")}, QDir::Dirs))
            folders << f.vek() + QLatin1Char('/') + store;
        for (auto it = saves.cbegin(); it != saves.cend(); ++it) {
            const QString base = QFileInfo(it.key()).completeBaseName();
            bool found = it->second <= n;
            for (const QString &folder : std::as_const(folders))
                for (const QString &file :
                     QDir(folder).entryList({base + ".sav", base + " (*).sav"})) {
                    found = found || TestFolders::read(folder, file) == it->first;
                    if (folder == folders.first() && it->second > n)
                        now.remove(QStringLiteral("Savedata/") + file);
                }
            QVERIFY2(found, qPrintable(what + ": the save " + it.key() + " is lost"));
        }
        for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
            QVERIFY2(now.value(it.key(), "(absent)") == it.value(),
                     qPrintable(what + ": " + it.key() + " is " + now.value(it.key()).left(40)));
        for (auto it = now.cbegin(); it != now.cend(); ++it)
            QVERIFY2(wanted.contains(it.key()), qPrintable(what + ": more " + it.key()));
        QCOMPARE(s.loadedList().loadedNames(), want.loaded);
        QVERIFY2(s.loadedFiles().check() == want.intact, qPrintable(what));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"

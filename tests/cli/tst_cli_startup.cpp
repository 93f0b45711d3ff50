// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

class TestCliStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QFile::remove(lockPath()); }

    void statusPrintsTheLoadedListOnEveryRun() {
        TestFolders f;
        TestFolders::plant(f.vek(), {"A-One/contents.txt=a", "G-Two/contents.txt=g"});
        TestFolders::write(f.vek(), QStringLiteral("FoldersLoaded.txt"), "A-One\r\nG-Two\r\n\r\n");
        const CliRun r = run(f);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("A-One\nG-Two\n"));
        // Listing commands print nothing else to stdout, and a chain runs each command.
        const CliRun twice = run(f, {"status", "+", "status"});
        QCOMPARE(twice.status, 0);
        QCOMPARE(twice.out, QByteArray("A-One\nG-Two\nA-One\nG-Two\n"));
        // The current directory is the default game folder, LastVEKDir names the VEK folder, and
        // the same VEK folder as last time means no sweep of the game folder.
        TestFolders::write(f.game(), QStringLiteral("loaded.dat"), "content");
        const CliRun again = CliRun::run({"status"}, lockPath(), f.game());
        QCOMPARE(again.status, 0);
        QCOMPARE(again.out, QByteArray("A-One\nG-Two\n"));
        QVERIFY(TestFolders::exists(f.game(), QStringLiteral("loaded.dat")));
    }

    // The VEK folder of the last start, reached by another path or with LastVEKDir lost, is
    // the same folder: the start sweeps nothing and what its ledger records stays loaded. A
    // copy, beside the folder it was copied from, is another VEK folder and is swept for.
    void sameVekFolderUnderAnotherNameIsNoChange() {
        const std::tuple<QString, bool> rows[] = {
            {"link", true},    // through a symbolic link
            {"move", true},    // both folders moved together
            {"garbled", true}, // LastVEKDir garbled
            {"copy", false},   // a copy of the VEK folder is another folder
        };
        for (auto [change, same] : rows) {
            TestFolders f;
            TestFolders::plant(f.vek(), {"G-Two/two.dat=g", "G-Two/two.str=s"});
            QCOMPARE(run(f, {"toggle", "G-Two"}).status, 0);
            QString game = f.game();
            QString vek = f.vek();
            QDir root(f.root());
            if (change == QLatin1String("link")) {
                vek = root.filePath(QStringLiteral("link"));
                QVERIFY(QFile::link(f.vek(), vek));
            } else if (change == QLatin1String("move")) {
                QVERIFY(root.mkdir(QStringLiteral("moved")));
                game = root.filePath(QStringLiteral("moved/EAW"));
                vek = root.filePath(QStringLiteral("moved/VEK"));
                QVERIFY(root.rename(f.game(), game) && root.rename(f.vek(), vek));
            } else if (change == QLatin1String("garbled")) {
                TestFolders::write(f.game(), QStringLiteral("LastVEKDir"), "\x01\xff\xfe\r\n");
            } else {
                vek = root.filePath(QStringLiteral("Copy"));
                QVERIFY(QProcess::execute(QStringLiteral("cp"), {"-a", f.vek(), vek}) == 0);
            }
            const QByteArray ledger = TestFolders::read(vek, QStringLiteral("FoldersLoaded.txt"));
            const CliRun r = CliRun::on(game, vek, {"status"}, lockPath());
            QCOMPARE(r.status, 0);
            QCOMPARE(r.out, same ? QByteArray("G-Two\n") : QByteArray());
            QCOMPARE(TestFolders::exists(game, QStringLiteral("two.dat")), same);
            QCOMPARE(TestFolders::exists(game, QStringLiteral("two.str")), same);
            if (same) {
                QVERIFY2(r.err.isEmpty(), r.err.constData());
                QCOMPARE(TestFolders::read(vek, QStringLiteral("FoldersLoaded.txt")), ledger);
            }
        }
    }

    // A folder loaded in one run and gone from the VEK folder by the next: that start says so,
    // drops its line, and asks whether to take out the files its load brought.
    void goneFolderIsToldAndItsFilesOffered() {
        const std::tuple<QString, bool> rows[] = {
            {"ok", true},      // --answer ok
            {"cancel", false}, // --answer cancel
        };
        for (auto [answer, takenOut] : rows) {
            TestFolders f;
            TestFolders::plant(f.vek(), {"G-Gone/gone.dat=g"});
            QCOMPARE(run(f, {"toggle", "G-Gone"}).status, 0);
            QVERIFY(TestFolders::exists(f.game(), "gone.dat"));
            QVERIFY(QDir(f.vek() + "/G-Gone").removeRecursively());
            const CliRun r = run(f, {"--answer", answer});
            QCOMPARE(r.status, 0);
            QCOMPARE(r.out, QByteArray());
            QVERIFY2(r.err.contains("no longer in the VEK folder; they are not loaded now:") &&
                         r.err.contains("\"G-Gone\": gone.dat") &&
                         r.err.contains(takenOut ? "[answered OK]" : "[answered Cancel]"),
                     r.err.constData());
            QCOMPARE(TestFolders::exists(f.game(), "gone.dat"), !takenOut);
            // Asked once: the next run has nothing to say.
            const CliRun next = run(f);
            QCOMPARE(next.status, 0);
            QVERIFY2(next.err.isEmpty(), next.err.constData());
        }
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        using L = QStringList;
        QTest::newRow("VEK folder without linkscreen") << L{"--vek", "<game>"};
        QTest::newRow("missing VEK folder") << L{"--vek", "<root>/none"};
        QTest::newRow("missing game folder") << L{"--game", "<root>/none", "--vek", "<vek>"};
        QTest::newRow("no VEK folder known") << L{};
        // A folder without the game's program is no game folder, also for a dry run.
        QTest::newRow("game folder without eaw.exe") << L{"--game", "<vek>", "--vek", "<vek>"};
        QTest::newRow("dry run without eaw.exe")
            << L{"--dry-run", "--game", "<vek>", "--vek", "<vek>", "toggle", "A-One"};
        QTest::newRow("unknown command") << L{"--vek", "<vek>", "fly"};
        QTest::newRow("dangling plus") << L{"--vek", "<vek>", "status", "+"};
        QTest::newRow("bad answer") << L{"--answer", "maybe", "--vek", "<vek>"};
        QTest::newRow("unknown option") << L{"--fast", "--vek", "<vek>"};
        // A bad argument, to the first command of a chain or to a later one.
        QTest::newRow("resolution 1024 x 768") << L{"--vek", "<vek>", "resolution", "1024 x 768"};
        for (const QString &line :
             QStringLiteral("squads 6,online ground on,online no-ai yes,sync dsl,toggle,skin,"
                            "reset now,script-save a b,toggle A-One + squads x,fuel 30 50,"
                            "fuel x 50,fuel 1 0,fuel 1 52,fuel 1 105,fuel 1,"
                            "plane-flags 30 type 1 on,plane-flags 1 gear 1 on,"
                            "plane-flags 1 type 8 on,plane-flags 1 type 1 yes,feature 31,"
                            "night 1.3 on,night 1.2,cheatcheck yes")
                 .split(','))
            QTest::newRow(qPrintable(line)) << L{"--vek", "<vek>"} + line.split(' ');
    }

    void usageErrors() {
        QFETCH(QStringList, args);
        TestFolders f;
        TestFolders::write(f.vek() + "/A-One", QStringLiteral("a-one.dat"), "A-One");
        for (QString &a : args)
            a.replace(QStringLiteral("<game>"), f.game())
                .replace(QStringLiteral("<vek>"), f.vek())
                .replace(QStringLiteral("<root>"), f.root());
        if (!args.contains(QStringLiteral("--game")))
            args = QStringList{"--game", f.game()} + args;
        const QStringList gameBefore = QDir(f.game()).entryList(QDir::Files);
        const CliRun r = CliRun::run(args, lockPath());
        QCOMPARE(r.status, 2);
        QVERIFY(!r.err.isEmpty());
        QVERIFY(r.out.isEmpty());
        // A usage error changes nothing in either folder: not even the locator's first OK ran.
        QCOMPARE(QDir(f.game()).entryList(QDir::Files), gameBefore);
        QCOMPARE(QDir(f.vek()).entryList(QDir::Files), QStringList({"linkscreen", "vek.ini"}));
    }

    void helpListsTheCommands() {
        const CliRun r = CliRun::run({"--help"}, lockPath());
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("--game DIR"));
        QVERIFY(r.out.contains("\n  status "));
        // Every line kind a dry run prints, and every exit status.
        const QByteArray words = r.out.simplified();
        for (const char *part : {"launch PROGRAM, link FILE KEPT", "130 interrupted by Ctrl+C",
                                 "chain them with + launch"})
            QVERIFY2(words.contains(part), part);
        for (const QByteArray &line : r.out.split('\n'))
            QVERIFY2(line.size() <= 80, line.constData());
    }

    // Qt's own options (-platform) are the application object's; anything else not ours is a
    // mistake the window program names, as the command-line tool does.

    void windowRefusesUnknownArguments() {
        const std::tuple<QStringList, QByteArray> rows[] = {
            {QStringList{"--bogus"}, QByteArray("--bogus")}, // unknown option
            {QStringList{"-platform", "offscreen", "--bogus"},
             QByteArray("--bogus")},                       // after a Qt option
            {QStringList{"--game"}, QByteArray("--game")}, // --game without its folder
            {QStringList{"--game", "<game>", "fly"}, QByteArray("fly")}, // a stray word
        };
        for (auto [args, named] : rows) {
            TestFolders f;
            args.replaceInStrings(QStringLiteral("<game>"), f.game());
            const QStringList gameBefore = QDir(f.game()).entryList(QDir::Files);
            const CliRun r = CliRun::run(args, lockPath(), f.game(), {"QT_QPA_PLATFORM=offscreen"},
                                         QStringLiteral(VEK_WINDOW));
            QCOMPARE(r.status, 2);
            QVERIFY2(r.err.contains(named) && r.err.contains("Usage: vekselector"), r.err);
            QVERIFY(!r.err.contains("-platform"));
            QCOMPARE(QDir(f.game()).entryList(QDir::Files), gameBefore);
        }
    }

    // Names, sizes and change times of the files a run could write.
    static QStringList gameFolderState(const QString &folder) {
        QStringList state;
        for (const QFileInfo &i :
             QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            state << QStringLiteral("%1 %2 %3")
                         .arg(i.fileName())
                         .arg(i.size())
                         .arg(i.lastModified().toMSecsSinceEpoch());
        return state;
    }

    // The window's game folder is its own while it runs; a run on another game folder goes on
    // beside it, whether the two share a temp folder (and so the instance lock) or not (two
    // users, a sandbox, a launcher).
    void refusesWhileTheWindowProgramRuns_data() {
        QTest::addColumn<bool>("sameTempFolder");
        QTest::newRow("same temp folder") << true;
        QTest::newRow("another temp folder") << false;
    }

    void refusesWhileTheWindowProgramRuns() {
        QFETCH(bool, sameTempFolder);
        TestFolders f;
        f.rememberVek();
        QProcess window;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VEK_INSTANCE_LOCK"), lockPath());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), f.root());
        window.setProcessEnvironment(env);
        // LastVEKDir names the VEK folder: the main window opens at once and holds both locks.
        window.start(QStringLiteral(VEK_WINDOW), {"--game", f.game()});
        QVERIFY(window.waitForStarted());
        const QString folderLock = QDir(f.game()).filePath(QStringLiteral(".vekselector.lock"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(folderLock), 20000);
        const QString otherLock = lockDir_.filePath(QStringLiteral("other.lock"));
        const QString usedLock = sameTempFolder ? lockPath() : otherLock;
        // The window goes on with its start after it holds the lock (it rewrites eaw.ini);
        // only once the folder has been still for a second does a change mean the refused run.
        QStringList before = gameFolderState(f.game());
        int stillPolls = 0;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QStringList now = gameFolderState(f.game());
                stillPolls = now == before ? stillPolls + 1 : 0;
                before = now;
                return stillPolls >= 20; // QTRY polls every 50 ms
            }(),
            30000);
        const CliRun r = CliRun::on(f.game(), f.vek(), {}, usedLock);
        QCOMPARE(r.status, 3);
        QVERIFY2(r.err.contains("Another VEK Selector is working in the game folder"),
                 r.err.constData());
        QVERIFY2(!r.err.contains("Hang On"), r.err.constData());
        QCOMPARE(gameFolderState(f.game()), before);
        // A dry run changes nothing there and goes on beside the window; so does a run on
        // another game folder.
        QCOMPARE(CliRun::run({"--dry-run", "--game", f.game(), "--vek", f.vek()}, usedLock).status,
                 0);
        TestFolders other;
        const CliRun beside = CliRun::on(other.game(), other.vek(), {"status"}, usedLock);
        QCOMPARE(beside.status, 0);
        QVERIFY2(beside.err.isEmpty(), beside.err.constData());
        window.kill();
        window.waitForFinished();
        // A killed instance leaves its lock files behind; they must not block the next start.
        QVERIFY(QFileInfo::exists(lockPath()));
        QVERIFY(QFileInfo::exists(folderLock));
        const CliRun next = CliRun::on(f.game(), f.vek(), {}, usedLock);
        QCOMPARE(next.status, 0);
        QVERIFY2(next.err.isEmpty(), next.err.constData());
    }

    // A lock that cannot be made or judged is no second selector. The instance lock only
    // spares a second window, so the run goes on without it; the game folder's lock keeps the
    // folders whole, so without it nothing is done, and the player learns why.

    void unusableLocksAreNotASecondInstance() {
        const std::tuple<QString, bool, int> rows[] = {
            {"none/instance.lock", false, 0}, // temp folder missing
            {"file/instance.lock", false, 0}, // temp folder is a file
            {"folder", false, 0},             // instance lock is a folder
            {"instance.lock", true, 1},       // game folder's lock is a folder
        };
        for (auto [instanceLock, folderLockBlocked, status] : rows) {
            TestFolders f;
            TestFolders::write(f.root(), QStringLiteral("file"), "not a folder");
            QVERIFY(QDir(f.root()).mkdir(QStringLiteral("folder")));
            if (folderLockBlocked)
                QVERIFY(QDir(f.game()).mkdir(QStringLiteral(".vekselector.lock")));
            const CliRun r =
                CliRun::on(f.game(), f.vek(), {"status"}, QDir(f.root()).filePath(instanceLock));
            QCOMPARE(r.status, status);
            QVERIFY2(!r.err.contains("Hang On"), r.err.constData());
            QVERIFY2(!r.err.contains("Another VEK Selector"), r.err.constData());
            if (folderLockBlocked) {
                QVERIFY2(r.err.contains(QDir::toNativeSeparators(f.game()).toLocal8Bit()),
                         r.err.constData());
                QVERIFY(r.err.contains("is not a file"));
                QVERIFY2(!TestFolders::exists(f.game(), QStringLiteral("LastVEKDir")),
                         "a run without the game folder's lock must change nothing");
            } else {
                QVERIFY2(r.err.isEmpty(), r.err.constData());
            }
        }
    }

private:
    CliRun run(const TestFolders &f, const QStringList &commands = {}) const {
        return CliRun::on(f.game(), f.vek(), commands, lockPath());
    }
    QString lockPath() const { return lockDir_.filePath(QStringLiteral("instance.lock")); }
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliStartup)
#include "tst_cli_startup.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "DemoGameFolder.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class TestCliCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void foldersAndToggleFollowTheGroupRules() {
        TestFolders f;
        content(f);
        CliRun r = run(f, {"toggle", "A-One", "+", "toggle", "G-Maps", "+", "toggle", "G-Sky", "+",
                           "toggle", "A-Two", "+", "folders", "+", "status"});
        QCOMPARE(r.status, 0);
        // Files moved, and stderr is no terminal here: no progress bar, nothing at all.
        QCOMPARE(r.err, QByteArray());
        // C-Default and Interchange, made by this first run, are listed by it too.
        QCOMPARE(r.out, QByteArray("-\tA-One\nS\tA-Two\n-\tC-Default\nS\tG-Maps\nS\tG-Sky\n"
                                   "-\tInterchange\nA-Two\nG-Maps\nG-Sky\n"));
        QVERIFY(!TestFolders::exists(f.game(), "a-one.dat"));
        QVERIFY(TestFolders::exists(f.game(), "a-two.dat"));
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"),
                 QByteArray("A-Two\r\nG-Maps\r\nG-Sky\r\n\r\n"));
        // The next run finds the same marks.
        r = run(f, {"folders"});
        QCOMPARE(r.out, QByteArray("-\tA-One\nS\tA-Two\n-\tC-Default\nS\tG-Maps\nS\tG-Sky\n"
                                   "-\tInterchange\n"));
    }

    void optionsStickUntilRestored_data() {
        // Runs in turn, each "N commands": N 1 or 2 for the first or the second game folder
        // (each with its own VEK folder), a command line as the tool takes it.
        QTest::addColumn<QStringList>("runs");
        QTest::addColumn<QByteArray>("first");  // the first game folder's eaw.ini at the end
        QTest::addColumn<QByteArray>("second"); // the second's, empty: not looked at
        const QByteArray all =
            "[GRAPHICS]\r\nWidth=1280\r\nHeight=960\r\n"
            "[NETOPTION]\r\nStartOnGround=1\r\nNoAI=0\r\nAllowRespawn=1\r\n"
            "AI_PlaneUpdateRate=140\r\nPlayerPlaneUpdateRate=14\r\nClockSyncRate=70\r\n"
            "[EAW]\r\nExtraSquads=4\r\n";
        const auto written = [](const char *width, const char *height, char squads) {
            return "[GRAPHICS]\r\nWidth=" + QByteArray(width) + "\r\nHeight=" + height +
                   "\r\n[NETOPTION]\r\nStartOnGround=0\r\nNoAI=0\r\nAllowRespawn=0\r\n"
                   "[EAW]\r\nExtraSquads=" +
                   squads + "\r\n";
        };
        const QByteArray plain = written("800", "600", '0');
        // An online switch is clicked only when it changes: "no-ai off" leaves NoAI off.
        const QString allOptions = "1 resolution 1280x960 + squads 4 + sync cable + online "
                                   "respawn on + online no-ai off + online start-on-ground on";
        QTest::newRow("one run writes them") << QStringList{allOptions} << all << QByteArray();
        QTest::newRow("the next run's start writes them again")
            << QStringList{allOptions, "1 status"} << all << QByteArray();
        QTest::newRow("after an exit that put the original back")
            << QStringList{"1 resolution 1280x1024 + squads 3 + exit", "1 status"}
            << written("1280", "1024", '3') << QByteArray();
        QTest::newRow("a later choice replaces one, the others stay")
            << QStringList{"1 resolution 1280x1024 + squads 3", "1 resolution 640x480", "1 status"}
            << written("640", "480", '3') << QByteArray();
        // Restore puts the original back as it is, and no start lays a choice over it again.
        QTest::newRow("restore-ini forgets them")
            << QStringList{"1 resolution 1280x1024 + squads 3", "1 restore-ini"}
            << TestFolders::kEawIni << QByteArray();
        QTest::newRow("and the next start keeps the original's")
            << QStringList{"1 resolution 1280x1024 + squads 3", "1 restore-ini", "1 status"}
            << plain << QByteArray();
        QTest::newRow("sync ini is a restore too")
            << QStringList{"1 resolution 1024x768 + sync cable", "1 sync ini", "1 status"} << plain
            << QByteArray();
        QTest::newRow("reset forgets them")
            << QStringList{"1 resolution 1024x768", "1 reset", "1 status"} << plain << QByteArray();
        QTest::newRow("a dry run keeps nothing")
            << QStringList{"1 --dry-run resolution 640x480", "1 status"} << plain << QByteArray();
        QTest::newRow("two game folders keep their own")
            << QStringList{"1 resolution 1024x768", "2 resolution 1600x1200 + squads 2", "1 status",
                           "2 status"}
            << written("1024", "768", '0') << written("1600", "1200", '2');
        QTest::newRow("a restore in one leaves the other's")
            << QStringList{"1 resolution 1024x768", "2 resolution 1600x1200", "2 restore-ini",
                           "1 status", "2 status"}
            << written("1024", "768", '0') << plain;
    }

    // The options the player chose are kept for the game folder and laid over the original at
    // every start, until "Restore my original eaw.ini".
    void optionsStickUntilRestored() {
        QFETCH(QStringList, runs);
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        TestFolders f, other; // the options of both are kept in the one made last
        const QString game2 = other.game(), vek2 = other.vek();
        for (const QString &line : runs) {
            const bool other = line.startsWith('2');
            const QStringList commands = line.mid(2).split(' ');
            const CliRun r = CliRun::on(other ? game2 : f.game(), other ? vek2 : f.vek(), commands,
                                        lockDir_.filePath("lock"));
            QVERIFY2(r.status == 0, qPrintable(line + ": " + r.err));
        }
        QCOMPARE(TestFolders::read(f.game(), "eaw.ini"), first);
        if (!second.isEmpty())
            QCOMPARE(TestFolders::read(game2, "eaw.ini"), second);
    }

    void failedIniWriteFailsTheCommand_data() {
        QTest::addColumn<QByteArray>("original"); // the VEK folder's original eaw.ini
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("told");
        QTest::newRow("empty original, resolution")
            << QByteArray("") << QString("resolution") << "is empty";
        QTest::newRow("binary original, restore-ini")
            << QByteArray::fromHex("7f454c46020101000000") << QString("restore-ini") << "binary";
        // A file-size limit fails the write as a full disk would, even for root.
        QTest::newRow("write fails, resolution")
            << "[GRAPHICS]\r\n" + QByteArray(4000, ';') + "\r\n"
            << QString("resolution") << "EAW/eaw.ini";
    }

    // A command whose eaw.ini write failed or was refused fails the run, and the ones after it
    // are not run.
    void failedIniWriteFailsTheCommand() {
        QFETCH(QByteArray, original);
        QFETCH(QString, command);
        QFETCH(QString, told);
        TestFolders f;
        content(f);
        TestFolders::write(f.vek(), "eaw.ini", original);
        TestFolders::write(f.vek(), "eaw.exe", "MZ stand-in for the game program");
        const bool capped = original.size() > 1000;
        if (capped)
            TestFolders::write(f.game(), "eaw.ini", original);
        const QByteArray before = TestFolders::read(f.game(), "eaw.ini");
        QStringList args{"--game", f.game(), "--vek", f.vek(), command};
        if (command == "resolution")
            args << "800x600";
        args += QStringList{"+", "toggle", "A-One"};
        if (capped)
            args = QStringList{"-c", "ulimit -f 4 && trap '' XFSZ && exec \"$0\" \"$@\"", VEK_CLI} +
                   args;
        const CliRun r = CliRun::run(args, lockDir_.filePath("lock"), {}, {},
                                     capped ? QStringLiteral("/bin/sh") : QStringLiteral(VEK_CLI));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(told.toUtf8()), r.err);
        QCOMPARE(TestFolders::read(f.game(), "eaw.ini"), before);
        QVERIFY(!TestFolders::exists(f.game(), "a-one.dat"));
    }

    // A file of the loaded folder's name in another case beside its copy (a1.dat and A1.DAT)
    // is one file to the game: the unload takes out what holds the folder's bytes; any other
    // is named and keeps the whole folder in, as a file that cannot be deleted does.
    void unloadOfANameInTwoCases_data() {
        QTest::addColumn<QByteArray>("beside"); // the bytes of A-ONE.DAT put beside a-one.dat
        QTest::addColumn<int>("status");
        QTest::newRow("another file: left and named") << QByteArray("the player's own") << 1;
        QTest::newRow("the folder's bytes too: both go") << QByteArray("A-One") << 0;
    }

    void unloadOfANameInTwoCases() {
        QFETCH(QByteArray, beside);
        QFETCH(int, status);
        TestFolders f;
        content(f);
        QCOMPARE(run(f, {"toggle", "A-One"}).status, 0);
        TestFolders::write(f.game(), "A-ONE.DAT", beside);
        const CliRun r = run(f, {"toggle", "A-One", "+", "status"});
        QCOMPARE(r.status, status);
        QCOMPARE(TestFolders::exists(f.game(), "a-one.dat"), status != 0);
        QCOMPARE(TestFolders::exists(f.game(), "A-ONE.DAT"), status != 0);
        if (status == 0) {
            QCOMPARE(r.err, QByteArray());
            return;
        }
        QVERIFY2(r.err.contains("Could not take out \"" +
                                QDir::toNativeSeparators(f.game() + "/A-ONE.DAT").toUtf8()),
                 r.err.constData());
        QCOMPARE(run(f, {"status"}).out, QByteArray("A-One\n"));
    }

    void skinsResetAndScripts() {
        TestFolders f;
        content(f);
        for (const char *skin : {"A-05 Red", "A-05 Blue"})
            TestFolders::write(f.vek() + "/Skinfolder/" + skin, "p51.tpc", skin);
        CliRun r = run(f, {"toggle", "G-Maps", "+", "skin", "A-05 Red", "+", "skin", "A-05 Blue",
                           "+", "skins", "+", "script-save", "Evening"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("S\tA-05 Blue\n-\tA-05 Red\n"));
        QCOMPARE(TestFolders::read(f.vek() + "/Autoscripts", "Evening"),
                 QByteArray("G-Maps\r\nA-05 Blue\r\n\r\n"));
        const QByteArray ledger = TestFolders::read(f.vek(), "FoldersLoaded.txt");
        r = run(f, {"reset", "+", "status"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(!TestFolders::exists(f.game(), "p51.tpc"));
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"), QByteArray());
        r = run(f, {"script-run", "Evening", "+", "status"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QByteArray("G-Maps\nA-05 Blue\n"));
        QCOMPARE(TestFolders::read(f.game(), "p51.tpc"), QByteArray("A-05 Blue"));
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"), ledger);
    }

    // A reset that could not record what it takes out, or would part a mission from its saves,
    // fails before anything moves: exit 1, the reason on stderr, the commands after it not run.
    void resetThatCannotChangeFails_data() {
        QTest::addColumn<QString>("blocked"); // made read-only, below the test folders' root
        QTest::addColumn<QByteArray>("told");
        QTest::newRow("read-only ledger") << "VEK/FoldersLoaded.txt" << QByteArray("is read-only");
        QTest::newRow("read-only Savedata")
            << "EAW/Savedata" << QByteArray("without its campaign saves");
    }

    void resetThatCannotChangeFails() {
        QFETCH(QString, blocked);
        QFETCH(QByteArray, told);
        TestFolders f;
        content(f);
        TestFolders::write(f.vek() + "/M-Alpha", "alpha.msn", "alpha");
        TestFolders::write(f.game() + "/Savedata", "Campaign1.sav", "default");
        QCOMPARE(run(f, {"toggle", "A-One", "+", "toggle", "M-Alpha"}).status, 0);
        const QString path = f.root() + "/" + blocked;
        QVERIFY(QFile::setPermissions(
            path, QFile::permissions(path) & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                               QFileDevice::WriteGroup | QFileDevice::WriteOther)));
        const CliRun r = run(f, {"reset", "+", "toggle", "G-Maps"});
        QVERIFY(QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner));
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(told) && r.err.contains("Nothing was changed"), r.err.constData());
        QVERIFY(TestFolders::exists(f.game(), "a-one.dat"));
        QVERIFY(!TestFolders::exists(f.game(), "g-maps.dat"));
        QCOMPARE(run(f, {"status"}).out, QByteArray("A-One\nM-Alpha\n"));
        QCOMPARE(TestFolders::read(f.vek() + "/C-Default", "Campaign1.sav"), QByteArray("default"));
    }

    // A name that matches nothing, or a folder whose name the 8-bit ledgers cannot hold (it would
    // be recorded as "?" and forgotten at the next start, its files left in the game folder): the
    // command fails, nothing of that folder is copied, a loaded folder of its group or skin of its
    // slot stays in, and the commands after it are not run.
    void unknownNameFailsAndStopsTheRun_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("made"); // the folder the row makes, in the VEK folder
        const char *rows[][4] = {
            {"content folder", "toggle", "Z-None", ""},
            {"skin", "skin", "Z-None", ""},
            {"autoscript", "script-run", "Z-None", ""},
            {"autoscript name", "script-save", "a/b", ""},
            {"Cyrillic content folder", "toggle", "A-Карта", "A-Карта"},
            {"Greek skin", "skin", "A-05 Μπλε", "Skinfolder/A-05 Μπλε"},
            {"content folder with a tab", "toggle", "A-Tab\tbed", "A-Tab\tbed"},
        };
        for (const auto &[tag, command, name, made] : rows)
            QTest::newRow(tag) << command << QString::fromUtf8(name) << QString::fromUtf8(made);
    }

    void unknownNameFailsAndStopsTheRun() {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QString, made);
        TestFolders f;
        content(f);
        TestFolders::write(f.vek() + "/Skinfolder/A-05 Red", "p51.tpc", "red");
        if (!made.isEmpty())
            TestFolders::write(f.vek() + "/" + made, "a-new.dat", "new");
        const QByteArray ledger = "A-One\r\nA-05 Red\r\n\r\n";
        const CliRun r = run(f, {"toggle", "A-One", "+", "skin", "A-05 Red", "+", command, name,
                                 "+", "toggle", "G-Sky"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains(name.toUtf8()), r.err.constData());
        QVERIFY(TestFolders::exists(f.game(), "a-one.dat"));
        QVERIFY(TestFolders::exists(f.game(), "p51.tpc"));
        QVERIFY(!TestFolders::exists(f.game(), "a-new.dat"));
        QVERIFY(!TestFolders::exists(f.game(), "g-sky.dat"));
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"), ledger);
        if (!made.isEmpty())
            QVERIFY2(r.err.contains("Rename it") && r.err.contains("Nothing was copied"),
                     r.err.constData());
    }

    void exitPutsTheOriginalsBack() {
        TestFolders f;
        const QByteArray program = DemoGameFolder::exeBytes();
        TestFolders::write(f.game(), "eaw.exe", program);
        QCOMPARE(run(f, {"status"}).status, 0);
        const CliRun r = run(f, {"resolution", "640x480", "+", "night", "1.2", "on", "+", "exit",
                                 "+", "squads", "2"});
        QCOMPARE(r.status, 0);
        QVERIFY(TestFolders::read(f.game(), "eaw.exe") == program);
        QCOMPARE(TestFolders::read(f.game(), "eaw.ini"), TestFolders::kEawIni);
    }

    // Where and how the game is started, and the words of each failure, are the engine's
    // (tst_commands); here the command reaches it and its outcome is the exit status, the
    // failure told on stderr. A game still running after the start's watch outlives the tool:
    // its output, flooded before and after the tool has gone, goes nowhere that could block or
    // end it (the fake game ends at a failed write, as a program killed by SIGPIPE), and it
    // holds none of the tool's locks.
    void launch_data() {
        QTest::addColumn<QByteArray>("launcher"); // a script body, or a path
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("says");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("then"); // commands chained after the launch
        QTest::newRow("ends at once with 0")
            << QByteArray("/bin/true") << 0 << QByteArray() << false << QStringList();
        QTest::newRow("ends at once with 1")
            << QByteArray("exit 1\n") << 1 << QByteArray("ended at once with exit code 1") << false
            << QStringList();
        // A VEK folder moved away behind the tool's back: the next command that would write
        // into it says so, and fails.
        QTest::newRow("the VEK folder goes meanwhile")
            << QByteArray("mv \"$(dirname \"$0\")/VEK\" \"$(dirname \"$0\")/VEK moved\"\n") << 1
            << QByteArray("is gone: it was moved, renamed or deleted") << false
            << QStringList{"+", "toggle", "A-One"};
        const QByteArray flood = "head -c 300000 /dev/zero | tr '\\0' x >&2; "
                                 "head -c 300000 /dev/zero | tr '\\0' x\n";
        QTest::newRow("the game runs on")
            << QByteArray("set -e\nhere=$(dirname \"$0\")\n" + flood + "sleep 6\n" + flood +
                          "touch \"$here/survived\"\n")
            << 0 << QByteArray() << true << QStringList();
    }

    void launch() {
        QFETCH(QByteArray, launcher);
        QFETCH(int, status);
        QFETCH(QByteArray, says);
        QFETCH(bool, running);
        QFETCH(QStringList, then);
        TestFolders f;
        content(f);
        QString path = QString::fromLocal8Bit(launcher);
        if (launcher.endsWith('\n')) {
            path = QDir(f.root()).filePath("fake-wine.sh");
            TestFolders::write(f.root(), "fake-wine.sh", "#!/bin/sh\n" + launcher);
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        }
        qputenv("VEK_LAUNCHER", path.toLocal8Bit());
        const CliRun r = run(f, QStringList{"launch"} + then);
        qunsetenv("VEK_LAUNCHER");
        QCOMPARE(r.status, status);
        if (says.isEmpty())
            QCOMPARE(r.err, QByteArray());
        else
            QVERIFY2(r.err.contains(says), r.err.constData());
        QVERIFY(then.isEmpty() || !TestFolders::exists(f.game(), "a-one.dat"));
        if (running) {
            QVERIFY(!TestFolders::exists(f.root(), "survived"));
            QCOMPARE(run(f, {"status"}).status, 0);
            QTRY_VERIFY_WITH_TIMEOUT(TestFolders::exists(f.root(), "survived"), 20000);
        }
    }

    void historyCommands_data() {
        // A run on fresh folders (after an earlier run, when given): its status and what its
        // stdout must match; then what a later `status` prints, when given.
        QTest::addColumn<QStringList>("earlier");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("later");
        const QString line = QStringLiteral("\\d\t\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\t");
        const QStringList none;
        const QStringList three{"toggle", "A-One", "+", "toggle", "A-Two", "+", "toggle", "A-One"};
        const QStringList keepTwo{"VEK_HISTORY_KEEP=2"};
        QTest::newRow("history lists each change, 0 first")
            << none << none
            << QStringList{"toggle", "A-One", "+", "resolution", "1024x768", "+", "history"} << 0
            << "^0" + line.mid(2) + "The history begins[^\n]*\n1" + line.mid(2) + "Start[^\n]*\n2" +
                   line.mid(2) + "Loaded A-One: 1 file.\n3" + line.mid(2) +
                   "Set the resolution to 1024 x 768.\n$"
            << QString();
        QTest::newRow("undo takes a load out, back brings it back")
            << none << none << QStringList{"toggle", "A-One", "+", "undo", "+",     "status",
                                           "+",      "back",  "2", "+",    "status"}
            << 0 << "^A-One\n$" << QString();
        QTest::newRow("back past the last entry fails")
            << none << none << QStringList{"toggle", "A-One", "+", "back", "9"} << 1 << "^$"
            << QString();
        QTest::newRow("back takes a number")
            << none << none << QStringList{"back", "x"} << 2 << "^$" << QString();
        QTest::newRow("undo with nothing left to take back fails")
            << none << none << QStringList{"undo", "+", "undo", "+", "status"} << 1 << "^$"
            << QString();
        QTest::newRow("a dry run of back foretells it and changes nothing")
            << QStringList{"toggle", "A-One"} << none << QStringList{"--dry-run", "back", "1"} << 0
            << "\ndelete\t[^\n]*a-one.dat\n"
            << "^A-One\n$";
        QTest::newRow("history marks the states that can no longer come back")
            << three << keepTwo << QStringList{"history"} << 0
            << "^0\t[^\n]*\\(can no longer be returned to\\)\n1\t[^\n]*\\(can no longer be "
               "returned to\\)\n2\t[^\n]*Loaded A-One: 1 file.\n"
            << QString();
        QTest::newRow("back to a state that can no longer come back fails")
            << three << keepTwo << QStringList{"back", "1"} << 1 << "^$"
            << "^A-One\n$";
    }
    void historyCommands() {
        QFETCH(QStringList, earlier);
        QFETCH(QStringList, environment);
        QFETCH(QStringList, commands);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, later);
        TestFolders f;
        content(f);
        if (!earlier.isEmpty())
            QCOMPARE(run(f, earlier, environment).status, 0);
        const CliRun r = run(f, commands, environment);
        QCOMPARE(r.status, status);
        QVERIFY2(QRegularExpression(out).match(QString::fromUtf8(r.out)).hasMatch(), r.out + r.err);
        if (!later.isEmpty()) {
            const CliRun after = run(f, {"status"});
            QVERIFY2(QRegularExpression(later).match(QString::fromUtf8(after.out)).hasMatch(),
                     after.out + after.err);
        }
    }

    // The load order: two folders and a skin share shared.dat; each copy holds its folder's name.
    void orderCommands_data() {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("owner"); // whose shared.dat the game folder holds after
        const QString start = "folder\tG-Maps\nfolder\tG-Sky\nskin\tA-05 Red\n";
        QTest::newRow("order prints it earliest first")
            << QStringList{"order"} << 0 << "^" + start + "$"
            << "A-05 Red";
        QTest::newRow("first: the next in line wins")
            << QStringList{"order", "A-05 Red", "first", "+", "order"} << 0
            << "^skin\tA-05 Red\nfolder\tG-Maps\nfolder\tG-Sky\n$"
            << "G-Sky";
        QTest::newRow("last, and after OTHER")
            << QStringList{"order", "G-Maps", "last",   "+", "order",
                           "G-Sky", "after",  "G-Maps", "+", "order"}
            << 0 << "^skin\tA-05 Red\nfolder\tG-Maps\nfolder\tG-Sky\n$"
            << "G-Sky";
        QTest::newRow("before OTHER")
            << QStringList{"order", "A-05 Red", "before", "G-Sky"} << 0 << "^$"
            << "G-Sky";
        QTest::newRow("conflicts and an autoscript run follow it")
            << QStringList{"order", "A-05 Red",   "first", "+", "conflicts",
                           "+",     "script-run", "Plus",  "+", "order"}
            << 0
            << "^shared.dat\tG-Sky\tG-Maps, A-05 Red\nskin\tA-05 Red\nfolder\tG-Maps\n"
               "folder\tG-Sky\nfolder\tA-Two\n$"
            << "G-Sky";
        QTest::newRow("NAME not loaded fails")
            << QStringList{"order", "A-One", "last", "+", "order"} << 1 << "^$"
            << "A-05 Red";
        QTest::newRow("OTHER not loaded fails")
            << QStringList{"order", "G-Sky", "after", "A-One"} << 1 << "^$"
            << "A-05 Red";
        QTest::newRow("a place it does not know")
            << QStringList{"order", "G-Sky", "up"} << 2 << "^$"
            << "A-05 Red";
        QTest::newRow("a dry run lists the one copy and changes nothing")
            << QStringList{"--dry-run", "order", "A-05 Red", "first"} << 0
            << "\nreplace\t[^\n]*/G-Sky/shared.dat\t[^\n]*/EAW/shared.dat\n"
            << "A-05 Red";
        QTest::newRow("undo brings the order and the bytes back")
            << QStringList{"order", "A-05 Red", "first", "+", "undo", "+", "order"} << 0
            << "^" + start + "$"
            << "A-05 Red";
    }
    void orderCommands() {
        QFETCH(QStringList, commands);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, owner);
        TestFolders f;
        content(f);
        for (const char *n : {"G-Maps", "G-Sky", "Skinfolder/A-05 Red"})
            TestFolders::write(f.vek() + "/" + n, "shared.dat", n);
        TestFolders::write(f.vek() + "/Autoscripts", "Plus", "A-Two\r\n");
        QCOMPARE(
            run(f, {"toggle", "G-Maps", "+", "toggle", "G-Sky", "+", "skin", "A-05 Red"}).status,
            0);
        const CliRun r = run(f, commands);
        QCOMPARE(r.status, status);
        QVERIFY2(QRegularExpression(out).match(QString::fromUtf8(r.out)).hasMatch(), r.out + r.err);
        QCOMPARE(TestFolders::read(f.game(), "shared.dat"),
                 owner == "A-05 Red" ? QByteArray("Skinfolder/A-05 Red") : owner.toUtf8());
        QCOMPARE(run(f, {"verify"}).status, 0);
    }

private:
    CliRun run(const TestFolders &f, QStringList commands, const QStringList &environment = {}) {
        return CliRun::on(f.game(), f.vek(), commands, lockDir_.filePath("lock"), environment);
    }
    static void content(const TestFolders &f) {
        for (const char *n : {"A-One", "A-Two", "G-Maps", "G-Sky"})
            TestFolders::write(f.vek() + "/" + n, QString::fromLatin1(n).toLower() + ".dat", n);
    }
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliCommands)
#include "tst_cli_commands.moc"

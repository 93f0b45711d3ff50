// SPDX-License-Identifier: GPL-3.0-or-later
#include "Autoscripts.h"
#include "CompleteReset.h"
#include "DemoGameFolder.h"
#include "FileList.h"
#include "FileOps.h"
#include "GridRows.h"
#include "LoadFiles.h"
#include "NightSwitch.h"
#include "OpenSelector.h"
#include "Options.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"
#include "WindowCommands.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

/// A click of the window, as the engine call it makes.
using Click = std::function<bool(Selector &)>;

// The game's program at the first start, and `between` it and the next: after that one the
// game's program and its copy hold `now`, the start added `kept` ("": nothing) to the VEK
// folder holding `keptBytes`, and the player was `told`.
struct ProgramCase {
    const char *tag;
    QByteArray first, between, now;
    const char *kept;
    QByteArray keptBytes;
    bool told;
};

// The launcher (a script, missing, not executable, or no wine on the PATH), the script's body,
// eaw.exe (null: no game files), and what the message `says` and `never` says.
struct LaunchCase {
    const char *tag;
    QString launcher;
    QByteArray script, exe;
    bool started, minimised;
    QStringList says, never;
};
} // namespace

class TestCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void originalsAreKeptAndOptionClicksRewriteEawIni() {
        TestFolders f;
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        QCOMPARE(TestFolders::read(f.vek(), "eaw.ini"), TestFolders::kEawIni);
        QCOMPARE(TestFolders::read(f.vek(), "eaw.exe"), TestFolders::read(f.game(), "eaw.exe"));
        QVERIFY(FileOps::isReadOnly(QDir(f.game()).filePath("eaw.ini")));
        QVERIFY(s->FormReady);
        QCOMPARE(s->ini.resolution, 1);
        QVERIFY(prompt.shown.isEmpty());
        // A later run never replaces the original eaw.ini with the one it rewrote.
        auto again = openSelector(f, prompt);
        QCOMPARE(TestFolders::read(f.vek(), "eaw.ini"), TestFolders::kEawIni);

        // Each option click rewrites eaw.ini from the original, and leaves it read-only again.
        again->options().clickResolution(2);
        again->options().clickSquads(3);
        again->options().clickOnline(2, true);
        again->options().clickSync(1);
        QCOMPARE(
            TestFolders::read(f.game(), "eaw.ini"),
            QByteArray("[GRAPHICS]\r\nWidth=1024\r\nHeight=768\r\n"
                       "[NETOPTION]\r\nStartOnGround=0\r\nNoAI=1\r\nAllowRespawn=0\r\n"
                       "AI_PlaneUpdateRate=200\r\nPlayerPlaneUpdateRate=20\r\nClockSyncRate=80\r\n"
                       "[EAW]\r\nExtraSquads=3\r\n"));
        QVERIFY(FileOps::isReadOnly(QDir(f.game()).filePath("eaw.ini")));
        QVERIFY(prompt.shown.isEmpty());
    }

    // The first start keeps the program as the day program, night switch or not. Between two
    // starts the game's program was night-switched (put back, as the switch lasts one run),
    // replaced by another program (a game update: kept as the day program, made the original
    // copy, the previous copy kept aside, and told once), or cut short (the copy put back,
    // any bytes it had kept, and told once).

    void gameProgramAtStart() {
        const QByteArray day = DemoGameFolder::exeBytes();
        const qint64 offset = NightSwitch::Versions[0].offset;
        const QByteArray night = QByteArray(day).replace(offset, 2, NightSwitch::NightBytes);
        const QByteArray fixed = QByteArray(day).replace(100, 1, "\x01");
        const QByteArray cut = day.left(NightSwitch::reach() - 1);
        const char *update = "eaw.exe.before-update";
        const ProgramCase rows[] = {
            {"night switch", day, night, day, "", {}, false},
            {"first seen at night", night, day, day, "", {}, false},
            {"game update", day, fixed, fixed, update, day, true},
            {"cut", day, cut, day, "eaw.exe.replaced", cut, true},
        };
        for (const auto &[tag, first, between, now, kept, keptBytes, told] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            TestFolders::write(f.game(), "eaw.exe", first);
            ScriptedPrompt prompt;
            openSelector(f, prompt);
            QVERIFY(TestFolders::read(f.vek(), "eaw.exe") == DemoGameFolder::exeBytes());
            QVERIFY(prompt.shown.isEmpty());
            TestFolders::write(f.game(), "eaw.exe", between);
            const QStringList before = FileList::files(f.vek());

            openSelector(f, prompt);
            QVERIFY(TestFolders::read(f.game(), "eaw.exe") == now);
            QVERIFY(TestFolders::read(f.vek(), "eaw.exe") == now);
            QStringList added = FileList::files(f.vek());
            for (const QString &name : before)
                added.removeOne(name);
            QCOMPARE(added, *kept ? QStringList{kept} : QStringList());
            if (*kept)
                QVERIFY(TestFolders::read(f.vek(), kept) == keptBytes);
            // Told once of anything but the night switch, naming the game's program.
            if (told) {
                QCOMPARE(prompt.shown.size(), 1);
                QCOMPARE(prompt.shown.at(0).icon, Prompt::Icon::Information);
                QVERIFY2(prompt.shown.at(0).text.contains(
                             QDir::toNativeSeparators(QDir(f.game()).filePath("eaw.exe"))),
                         qPrintable(prompt.shown.at(0).text));
            } else {
                QVERIFY(prompt.shown.isEmpty());
            }

            prompt.shown.clear();
            openSelector(f, prompt);
            QVERIFY(TestFolders::read(f.game(), "eaw.exe") == now);
            QVERIFY(prompt.shown.isEmpty());
        }
    }

    // How "Launch EAW" ends: the game started (the launcher in the game folder, given the
    // program's path), or the player told what failed and what to install. The window
    // minimises only once the launcher runs, and comes back when it ended at once with an error.
    void launch_data() {
        const QByteArray stand = "MZ stand-in";
        const QByteArray x86 = TestFolders::peProgram(0x14c);
        const QByteArray x64 = TestFolders::peProgram(0x8664);
        const QByteArray record =
            "printf '%s\\n%s\\n' \"$PWD\" \"$*\" > \"$(dirname \"$0\")/launched.txt\"\n";
        const QByteArray exit0 = "exit 0\n", exit1 = "exit 1\n";
        using L = QStringList;
        const LaunchCase rows[] = {
            {"started in the game folder", "script", record, stand, true, true, L(), L()},
            {"no game", "script", exit0, QByteArray(), false, false, L{"eaw.exe", "does not exist"},
             L()},
            {"VEK_LAUNCHER names nothing", "missing", "", stand, false, false,
             L{"no-such-launcher", "VEK_LAUNCHER", "not installed"}, L()},
            {"VEK_LAUNCHER not executable", "not executable", exit0, stand, false, false,
             L{"fake-wine.sh", "cannot be run"}, L()},
            {"no wine", "no wine", "", stand, false, false,
             L{"wine is not installed: install the package wine"}, L{"32-bit"}},
            {"no wine, 32-bit game", "no wine", "", x86, false, false,
             L{"install the package wine", "32-bit Wine", "dpkg --add-architecture i386", "wine32"},
             L()},
            {"ends at once with 1", "script", exit1, stand, false, true,
             L{"eaw.exe", "ended at once with exit code 1", "fake-wine.sh"}, L{"32-bit", "64-bit"}},
            {"ends at once with 1, 32-bit game", "script", exit1, x86, false, true,
             L{"exit code 1", "32-bit Windows program", "32-bit Wine", "wine32"}, L{"64-bit"}},
            {"ends at once with 53, 64-bit game", "script", "exit 53\n", x64, false, true,
             L{"exit code 53", "64-bit Wine"}, L{"32-bit"}},
            {"crashes at once", "script", "kill -SEGV $$\n", x86, false, true,
             L{"crashed at once", "32-bit Wine"}, L()},
        };
        addRows(rows);
    }

    void launch() {
#ifdef Q_OS_WIN
        QSKIP("the launcher override is for Wine");
#else
        QFETCH(LaunchCase, row);
        const auto &[tag, launcher, script, exe, started, minimised, says, never] = row;
        TestFolders f(exe.isNull() ? TestFolders::WithoutGameFiles : TestFolders::WithGameFiles);
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        prompt.shown.clear(); // without game files the load has told of them already
        if (!exe.isNull())
            TestFolders::write(f.game(), "eaw.exe", exe);

        const QString path = QDir(f.root()).filePath(
            launcher == "missing" ? QStringLiteral("no-such-launcher") : "fake-wine.sh");
        const QByteArray oldPath = qgetenv("PATH");
        const auto restore = qScopeGuard([&] {
            qunsetenv("VEK_LAUNCHER");
            qputenv("PATH", oldPath);
        });
        if (launcher == "no wine") {
            qunsetenv("VEK_LAUNCHER");
            qputenv("PATH", f.root().toLocal8Bit()); // a folder without wine
        } else {
            qputenv("VEK_LAUNCHER", path.toLocal8Bit());
        }
        if (!script.isEmpty()) {
            TestFolders::write(f.root(), "fake-wine.sh", "#!/bin/sh\n" + script);
            if (launcher == "script")
                QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        }

        QSignalSpy minimise(s.get(), &Selector::minimiseRequested);
        QSignalSpy restored(s.get(), &Selector::restoreRequested);
        QCOMPARE(s->commands().LaunchEAW(), started);
        QCOMPARE(minimise.size(), minimised ? 1 : 0);
        QCOMPARE(restored.size(), minimised && !started ? 1 : 0);
        if (started) {
            QVERIFY(prompt.shown.isEmpty());
            // The launcher ended at once with 0, and the launch waited for that.
            const QList<QByteArray> lines = TestFolders::read(f.root(), "launched.txt").split('\n');
            QCOMPARE(lines.size(), 3);
            QCOMPARE(QDir(QString::fromLocal8Bit(lines.at(0))).canonicalPath(),
                     QDir(f.game()).canonicalPath());
            QCOMPARE(QString::fromLocal8Bit(lines.at(1)), QDir(f.game()).filePath("eaw.exe"));
            return;
        }
        QCOMPARE(prompt.shown.size(), 1);
        const QString text = prompt.shown.at(0).text;
        for (const QString &part : std::as_const(says))
            QVERIFY2(text.contains(part), qPrintable(part + " not in: " + text));
        for (const QString &part : std::as_const(never))
            QVERIFY2(!text.contains(part), qPrintable(part + " in: " + text));
#endif
    }

    // The VEK folder moved, renamed or deleted while the window is open: a click that would
    // write into it says it is gone, changes nothing (nor makes the folder anew), and offers
    // "New VEK Directory", whose OK asks the window to go back to the locator (Cancel staying
    // is a row of the window's tests).

    void clickWithTheVekFolderGone() {
        const Click toggle = [](Selector &s) {
            return s.loadFiles().click(s.Unigrid.find(QStringLiteral("A-One")));
        };
        // loaded: A-One loaded before the folder goes
        const std::tuple<Click, bool> rows[] = {
            {toggle, false},                                                            // load
            {toggle, true},                                                             // unload
            {Click([](Selector &s) { return s.options().clickResolution(2); }), false}, // an option
            {Click([](Selector &s) { return s.options().restoreOriginal(); }),
             false}, // Restore my original eaw.ini
            {Click([](Selector &s) { return s.completeReset().run(); }), true}, // Reset Completely
            {Click([](Selector &s) {
                 s.autoscripts().Text1 = QStringLiteral("mine");
                 return s.autoscripts().save();
             }),
             false}, // save an autoscript
        };
        for (auto [click, loaded] : rows) {
            TestFolders f;
            TestFolders::write(f.vek() + "/A-One", "a-one.dat", "A-One");
            ScriptedPrompt prompt({true});
            auto s = openSelector(f, prompt);
            s->offerNewVekDirectory();
            if (loaded)
                QVERIFY(clickRow(*s, "A-One"));
            prompt.shown.clear();
            const QString moved = f.root() + "/VEK moved";
            QVERIFY(QDir().rename(f.vek(), moved));
            const QByteArray ini = TestFolders::read(f.game(), "eaw.ini");
            QSignalSpy back(s.get(), &Selector::newVekDirectoryRequested);

            QVERIFY(!click(*s));
            QCOMPARE(prompt.shown.size(), 1);
            const ScriptedPrompt::Shown &told = prompt.shown.at(0);
            QVERIFY2(told.text.contains("The VEK folder \"" + QDir::toNativeSeparators(f.vek()) +
                                        "\" is gone") &&
                         told.text.contains("\"New VEK Directory\"?"),
                     qPrintable(told.text));
            QCOMPARE(told.buttons, Prompt::Buttons::OkCancel);
            QCOMPARE(back.size(), 1);
            QVERIFY(!QFileInfo::exists(f.vek()));
            QCOMPARE(TestFolders::exists(f.game(), "a-one.dat"), loaded);
            QCOMPARE(TestFolders::read(f.game(), "eaw.ini"), ini);
            // Going back to the locator has no ledger to write in the folder that has gone.
            s->commands().NewVekDirectory();
            QCOMPARE(prompt.shown.size(), 1);
            QVERIFY(!QFileInfo::exists(f.vek()));
        }
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"

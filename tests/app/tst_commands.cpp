// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoGameFolder.h"
#include "FileList.h"
#include "FileOps.h"
#include "NightSwitch.h"
#include "OpenSelector.h"
#include "Options.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"
#include "WindowCommands.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace {

QString gameIni(const TestFolders &f) {
    return QDir(f.game()).filePath("eaw.ini");
}

QByteArray day() {
    return DemoGameFolder::exeBytes();
}
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
        QVERIFY(FileOps::isReadOnly(gameIni(f)));
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
        QVERIFY(FileOps::isReadOnly(gameIni(f)));
        QVERIFY(prompt.shown.isEmpty());
    }

    // The first start keeps the program as the day program, night switch or not. Between two
    // starts the game's program was night-switched (put back, as the switch lasts one run),
    // replaced by another program (a game update: kept as the day program, made the original
    // copy, the previous copy kept aside, and told once), or emptied or cut (the copy put back,
    // any bytes it had kept, and told once).
    void gameProgramAtStart_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("between");
        QTest::addColumn<QByteArray>("now"); // the game's program and its copy after the start
        QTest::addColumn<QString>("kept");   // the file the start adds to the VEK folder
        QTest::addColumn<QByteArray>("keptBytes");
        QTest::addColumn<bool>("told");
        const QByteArray day = DemoGameFolder::exeBytes();
        const qint64 offset = NightSwitch::Versions[0].offset;
        const QByteArray night = QByteArray(day).replace(offset, 2, NightSwitch::NightBytes);
        const QByteArray fixed = QByteArray(day).replace(100, 1, "\x01");
        const QByteArray fixedAtNight = QByteArray(night).replace(100, 1, "\x01");
        const QString update = QStringLiteral("eaw.exe.before-update");
        QTest::newRow("night switch") << day << night << day << QString() << QByteArray() << false;
        QTest::newRow("first seen at night")
            << night << day << day << QString() << QByteArray() << false;
        QTest::newRow("game update") << day << fixed << fixed << update << day << true;
        QTest::newRow("hex fix at night") << day << fixedAtNight << fixed << update << day << true;
        QTest::newRow("emptied") << day << QByteArray("") << day << QString() << QByteArray()
                                 << true;
        const QByteArray cut = day.left(NightSwitch::reach() - 1);
        QTest::newRow("cut") << day << cut << day << "eaw.exe.replaced" << cut << true;
    }

    void gameProgramAtStart() {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, between);
        QFETCH(QByteArray, now);
        QFETCH(QString, kept);
        QFETCH(QByteArray, keptBytes);
        QFETCH(bool, told);
        TestFolders f;
        TestFolders::write(f.game(), "eaw.exe", first);
        ScriptedPrompt prompt;
        openSelector(f, prompt);
        QVERIFY(TestFolders::read(f.vek(), "eaw.exe") == day());
        QVERIFY(prompt.shown.isEmpty());
        TestFolders::write(f.game(), "eaw.exe", between);
        const QStringList before = FileList::files(f.vek());

        openSelector(f, prompt);
        QVERIFY(TestFolders::read(f.game(), "eaw.exe") == now);
        QVERIFY(TestFolders::read(f.vek(), "eaw.exe") == now);
        QStringList added = FileList::files(f.vek());
        for (const QString &name : before)
            added.removeOne(name);
        QCOMPARE(added, kept.isEmpty() ? QStringList() : QStringList{kept});
        if (!kept.isEmpty())
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

    void launchStartsTheGameInTheGameFolder() {
#ifdef Q_OS_WIN
        QSKIP("the launcher override is for Wine");
#else
        TestFolders f;
        const QString record = QDir(f.root()).filePath("launched.txt");
        const QString script = QDir(f.root()).filePath("fake-wine.sh");
        TestFolders::write(f.root(), "fake-wine.sh",
                           ("#!/bin/sh\nprintf '%s\\n%s\\n' \"$PWD\" \"$*\" > '" + record +
                            ".tmp'\nmv '" + record + ".tmp' '" + record + "'\n")
                               .toLocal8Bit());
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
        qputenv("VEK_LAUNCHER", script.toLocal8Bit());
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        QSignalSpy minimised(s.get(), &Selector::minimiseRequested);
        QVERIFY(s->commands().LaunchEAW());
        qunsetenv("VEK_LAUNCHER");
        QCOMPARE(minimised.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), 10000);
        const QList<QByteArray> lines = TestFolders::read(f.root(), "launched.txt").split('\n');
        QCOMPARE(QDir(QString::fromLocal8Bit(lines.at(0))).canonicalPath(),
                 QDir(f.game()).canonicalPath());
        QCOMPARE(QString::fromLocal8Bit(lines.at(1)), QDir(f.game()).filePath("eaw.exe"));
        QVERIFY(prompt.shown.isEmpty());
#endif
    }

    void launchWithoutTheGameTellsThePlayer() {
        TestFolders f(TestFolders::WithoutGameFiles);
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        prompt.shown.clear(); // the load has told of the missing eaw.ini and eaw.exe already
        QVERIFY(!s->commands().LaunchEAW());
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY(prompt.shown.at(0).text.contains("eaw.exe"));
    }

    void newVekDirectoryRecordsTheLoadedList() {
        TestFolders f;
        TestFolders::write(f.vek(), "FoldersLoaded.txt", "Not a folder\r\n\r\n");
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        TestFolders::write(f.vek(), "FoldersLoaded.txt", "");
        s->commands().NewVekDirectory();
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"),
                 QByteArray("Not a folder\r\n\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "tst_commands.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool's keyboard-control, cheat-check, music and night-switch commands.
#include "CliRun.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

class TestCliTools : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commands_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<char>("cheatByte");
        QTest::addColumn<QString>("music"); // first line of Music/music.txt afterwards
        // The words of each command line are parted by "|".
        const struct {
            const char *tag, *args;
            int status;
            QByteArray out;
            char cheatByte;
            const char *music;
        } rows[] = {
            {"features", "features", 0, "1\t01 First\n2\t02 Second\n", 0, "Game"},
            {"feature, cheat check on", "feature|2|+|cheatcheck|on", 0, "", 2, "Game"},
            {"exit answered cancel keeps the byte", "feature|2|+|cheatcheck|on|+|exit", 0, "", 2,
             "Game"},
            {"exit answered ok clears it", "--answer|ok|feature|2|+|cheatcheck|on|+|exit", 0, "", 0,
             "Game"},
            {"no such feature", "feature|3", 1, "", 0, "Game"},
            {"music and delmsn", "music|MUSIC#Jazz|+|delmsn", 0, "", 0, "Big band"},
            {"no such music", "music|Music#None", 1, "", 0, "Game"},
            {"night on a stand-in eaw.exe is refused", "night|1.2a|on", 1, "", 0, "Game"},
            // What is in force, before and after each switch.
            {"music and night tell what is in force",
             "music|+|night|+|music|MUSIC#Jazz|+|music|+|night|1.2|on|+|night", 0,
             "Now playing: Game\nMUSIC#Jazz\nNow: day missions (EAW Version 1.2 and variants).\n"
             "Now playing: Big band\nMUSIC#Jazz\n"
             "Now: night missions (EAW Version 1.2 and variants).\n",
             0, "Big band"},
        };
        for (const auto &r : rows)
            QTest::newRow(r.tag) << QString::fromLatin1(r.args).split('|') << r.status << r.out
                                 << r.cheatByte << QString::fromLatin1(r.music);
    }

    void commands() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(char, cheatByte);
        QFETCH(QString, music);
        TestFolders f;
        TestFolders::write(f.game(), "KC", "01 First\tD1\r\n02 Second\t1\r\n");
        TestFolders::write(f.game(), "flt.cdf", QByteArray(40000, '\x07'));
        TestFolders::write(f.game() + "/Music", "music.txt", "Game\r\n");
        TestFolders::write(f.game() + "/MUSIC#Jazz", "music.txt", "Big band\r\n");
        QByteArray exe(700000, '\0');
        exe.replace(594615, 2, "\x94\x07"); // the day bytes of version 1.2 alone
        TestFolders::write(f.game(), "eaw.exe", exe);
        const CliRun r = CliRun::run(QStringList{"--game", f.game(), "--vek", f.vek()} + args,
                                     lockDir_.filePath("lock"));
        QCOMPARE(r.status, status);
        if (!out.isEmpty())
            QCOMPARE(r.out, out);
        QCOMPARE(TestFolders::read(f.game(), "flt.cdf").at(38257), cheatByte);
        QCOMPARE(TestFolders::read(f.game() + "/Music", "music.txt"), music.toLatin1() + "\r\n");
        if (status == 1)
            QVERIFY(!r.err.isEmpty());
    }

private:
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliTools)
#include "tst_cli_tools.moc"

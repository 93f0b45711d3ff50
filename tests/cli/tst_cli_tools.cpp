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
        const QStringList opt = {"--answer", "ok"};
        QTest::newRow("features") << QStringList{"features"} << 0
                                  << QByteArray("1\t01 First\n2\t02 Second\n") << char(0) << "Game";
        QTest::newRow("feature, cheat check on")
            << QStringList{"feature", "2", "+", "cheatcheck", "on"} << 0 << QByteArray() << char(2)
            << "Game";
        QTest::newRow("exit answered cancel keeps the byte")
            << QStringList{"feature", "2", "+", "cheatcheck", "on", "+", "exit"} << 0
            << QByteArray() << char(2) << "Game";
        QTest::newRow("exit answered ok clears it")
            << opt + QStringList{"feature", "2", "+", "cheatcheck", "on", "+", "exit"} << 0
            << QByteArray() << char(0) << "Game";
        QTest::newRow("no such feature")
            << QStringList{"feature", "3"} << 1 << QByteArray() << char(0) << "Game";
        QTest::newRow("music and delmsn") << QStringList{"music", "MUSIC#Jazz", "+", "delmsn"} << 0
                                          << QByteArray() << char(0) << "Big band";
        QTest::newRow("no such music")
            << QStringList{"music", "Music#None"} << 1 << QByteArray() << char(0) << "Game";
        QTest::newRow("night on a stand-in eaw.exe is refused")
            << QStringList{"night", "1.2a", "on"} << 1 << QByteArray() << char(0) << "Game";
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool's keyboard-control, cheat-check, music and night-switch commands.
#include "CliRun.h"
#include "TestFolders.h"

#include <QTest>

namespace {
// A command line, its words parted by "|"; the exit status, stdout (empty: not looked at), the
// cheat byte of flt.cdf and the first line of Music/music.txt afterwards.
struct ToolCase {
    const char *tag, *args;
    int status;
    const char *out;
    char cheatByte;
    const char *music;
};
} // namespace

class TestCliTools : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void commands() {
        const ToolCase rows[] = {
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
        for (const auto &row : rows) {
            const QStringList args = QString::fromLatin1(row.args).split('|');
            const QByteArray out = row.out;
            const int status = row.status;
            TestFolders f;
            TestFolders::write(f.game(), "flt.cdf", QByteArray(40000, '\x07'));
            TestFolders::plant(f.game(),
                               {"KC=01 First\tD1\r\n02 Second\t1\r\n", "Music/music.txt=Game\r\n",
                                "MUSIC#Jazz/music.txt=Big band\r\n"});
            QByteArray exe(700000, '\0');
            exe.replace(594615, 2, "\x94\x07"); // the day bytes of version 1.2 alone
            TestFolders::write(f.game(), "eaw.exe", exe);
            const CliRun r = CliRun::on(f.game(), f.vek(), args, lockDir_.filePath("lock"));
            QCOMPARE(r.status, status);
            if (!out.isEmpty())
                QCOMPARE(r.out, out);
            QCOMPARE(TestFolders::read(f.game(), "flt.cdf").at(38257), row.cheatByte);
            QCOMPARE(TestFolders::read(f.game() + "/Music", "music.txt"),
                     QByteArray(row.music) + "\r\n");
            if (status == 1)
                QVERIFY(!r.err.isEmpty());
        }
    }

private:
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliTools)
#include "tst_cli_tools.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The music sets, "Del MSN" and the night switch: tools that act on the game folder directly.
#include "MusicButtons.h"
#include "MusicSets.h"
#include "NightSwitch.h"
#include "OpenSelector.h"
#include "Options.h"
#include "ScriptedPrompt.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

namespace {

// Each folder of the game folder with what its music.txt says, sorted by folder name.
QStringList arrangement(const TestFolders &f) {
    QStringList out;
    for (const QString &d :
         QDir(f.game()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QByteArray text = TestFolders::read(f.game() + "/" + d, "music.txt");
        out << d + "=" + QString::fromLatin1(text.left(text.indexOf('\r')));
    }
    return out;
}

void musicFolders(const TestFolders &f) {
    TestFolders::plant(
        f.game(), {"Music/music.txt=Game\r\n", "MUSIC#Jazz/music.txt=Big band\r\nsecond line\r\n",
                   "music#Quiet/track.wav=quiet", "Musical/music.txt=not a set\r\n"});
}

// A stand-in eaw.exe with the normal bytes at every version's offset and other bytes around.
QByteArray exe(qint64 size) {
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; i += 4093)
        bytes[i] = char(i % 253);
    for (const NightSwitch::Version &v : NightSwitch::Versions)
        if (v.offset + 2 <= size)
            bytes.replace(v.offset, 2, NightSwitch::NormalBytes);
    return bytes;
}

} // namespace

class TestMusicNight : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void musicButtonsAndSwitchBack() {
        TestFolders f;
        musicFolders(f);
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        MusicButtons &music = s->music();
        QCOMPARE(music.Option12, (QStringList{"MUSIC#Jazz", "music#Quiet"}));
        const QStringList before = arrangement(f);

        music.hover(0);
        QCOMPARE(music.Frame12, QStringLiteral("Big band"));
        music.hover(1); // no music.txt: the caption stays
        QCOMPARE(music.Frame12, QStringLiteral("Big band"));

        QVERIFY(music.click(0));
        QCOMPARE(TestFolders::read(f.game() + "/Music", "music.txt"),
                 QByteArray("Big band\r\nsecond line\r\n"));
        QCOMPARE(TestFolders::read(f.game() + "/MUSIC#Jazz", "music.txt"), QByteArray("Game\r\n"));
        music.hover(0); // the description travels with the folder
        QCOMPARE(music.Frame12, QStringLiteral("Game"));
        QVERIFY(music.click(0));
        QCOMPARE(arrangement(f), before);
        QVERIFY(prompt.shown.isEmpty());

        // A music.txt of one line of megabytes: the caption is its beginning, read and laid
        // out in no time.
        TestFolders::write(f.game() + "/music#Quiet", "music.txt",
                           "Quiet " + QByteArray(4 << 20, 'q'));
        music.hover(1);
        QCOMPARE(music.Frame12.size(), MusicSets::DescriptionBytes);
        QVERIFY(music.Frame12.startsWith(QStringLiteral("Quiet qqq")));
    }

    void switchThatCannotComplete() {
        // change: made after the buttons were filled
        const std::tuple<QString, QString> rows[] = {
            {"remove MUSIC#Jazz", QString("MUSIC#Jazz")}, // chosen set missing
            {"make MUSICTEMP", QString("MUSICTEMP")},     // Musictemp left over
            {"remove Music", QString("Music\"")},         // no Music folder
        };
        for (auto [change, named] : rows) {
            TestFolders f;
            musicFolders(f);
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            const QString folder = f.game() + "/" + change.section(' ', 1);
            if (change.startsWith("remove"))
                QVERIFY(QDir(folder).removeRecursively());
            else
                QVERIFY(QDir().mkpath(folder));
            const QStringList before = arrangement(f);
            QVERIFY(!s->music().click(0));
            QCOMPARE(arrangement(f), before);
            QCOMPARE(prompt.shown.size(), 1);
            QVERIFY2(prompt.shown.at(0).text.contains(named), qPrintable(prompt.shown.at(0).text));

            // A Musictemp found at load is told with what to do.
            if (change.contains("MUSICTEMP")) {
                ScriptedPrompt next;
                auto again = openSelector(f, next);
                QCOMPARE(next.shown.size(), 1);
                QVERIFY(next.shown.at(0).text.contains("Rename it back"));
            }
        }
    }

    void moreThanSevenSets() {
        TestFolders f;
        for (int i = 1; i <= 9; ++i)
            QVERIFY(QDir().mkpath(f.game() + QStringLiteral("/Music#%1").arg(i)));
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        QCOMPARE(s->music().Option12.size(), 7);
        QCOMPARE(s->music().Option12.last(), QStringLiteral("Music#7"));
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY(prompt.shown.at(0).text.contains("9 music sets"));
    }

    void delmsnKeepsOtherMissions() {
        TestFolders f;
        // The folder under another case; the game writes these while the selector is open (the
        // window load parks what Savedata held before).
        const QString saves = f.game() + "/SaveData";
        QVERIFY(QDir().mkpath(saves));
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        for (const char *n : {"Default1.msn", "default2.MSN", "Mine.msn", "Default1.sav"})
            TestFolders::write(saves, n, n);
        QVERIFY(s->music().delmsn());
        QCOMPARE(QDir(saves).entryList(QDir::Files, QDir::Name),
                 (QStringList{"Default1.sav", "Mine.msn"}));
        QVERIFY(prompt.shown.isEmpty());
    }

    void nightBytes() {
        const std::tuple<int, qint64> rows[] = {
            {0, qint64(0x912B7)}, // 1.2
            {1, qint64(0x8E241)}, // 1.1
            {2, qint64(0xAAC03)}, // 1.0
            {3, qint64(0x9B6DB)}, // 1.2a
        };
        for (auto [version, offset] : rows) {
            TestFolders f;
            const QByteArray day = exe(0xAAC05);
            TestFolders::write(f.game(), "eaw.exe", day);
            QByteArray night = day;
            night.replace(offset, 2, "\xEB\x5F");

            QString error;
            for (int twice = 0; twice < 2; ++twice) {
                QVERIFY2(NightSwitch::apply(f.game(), version, true, &error), qPrintable(error));
                QCOMPARE(TestFolders::read(f.game(), "eaw.exe"), night);
            }
            QVERIFY2(NightSwitch::apply(f.game(), version, false, &error), qPrintable(error));
            QCOMPARE(TestFolders::read(f.game(), "eaw.exe"), day);
        }
    }

    void nightRefuses() {
        // Other bytes at the offset are refused in the night-switch window's test.
        const std::tuple<QByteArray, QString> rows[] = {
            {exe(0x9B6DC), "too short to be EAW Version 1.2a"}, // ends before the second byte
            {QByteArray(), "does not exist"},                   // no eaw.exe
        };
        for (auto [bytes, why] : rows) {
            TestFolders f;
            TestFolders::write(f.game(), "eaw.exe", bytes);
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            if (bytes.isEmpty())
                QVERIFY(QFile::remove(f.game() + "/eaw.exe"));
            prompt.shown.clear();
            QVERIFY(!s->options().nightSwitch(3, true));
            QCOMPARE(TestFolders::read(f.game(), "eaw.exe"), bytes.isEmpty() ? "<missing>" : bytes);
            QCOMPARE(prompt.shown.size(), 1);
            QVERIFY2(prompt.shown.at(0).text.contains(why), qPrintable(prompt.shown.at(0).text));
        }
    }
};

QTEST_GUILESS_MAIN(TestMusicNight)
#include "tst_music_night.moc"

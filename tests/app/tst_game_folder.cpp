// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFolderChoice.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

/// Which game folder a start without one given takes, and the recent game folders.
class TestGameFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }

    // Folders named by a letter, each with eaw.exe and a LastVEKDir: "abca" remembers a, b, c,
    // then a again; the `dead` ones lose their eaw.exe afterwards; `chosen` is "here" (the
    // folder started in), a letter or "" (the locator asks).
    void theCurrentFolderThenTheLatestLiveOne_data() {
        QTest::addColumn<QString>("current"); // the file in the folder started in
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("dead");
        QTest::addColumn<QString>("recent");
        QTest::addColumn<QString>("chosen");
        const char *rows[][6] = {
            {"started in a game folder", "EAW.EXE", "a", "", "a", "here"},
            {"a LastVEKDir is no game program", "lastvekdir", "a", "", "a", "a"},
            {"from the menu: the last one", "notes.txt", "a", "", "a", "a"},
            {"the last one is no game folder any more", "", "a", "a", "", ""},
            {"nothing remembered", "", "", "", "", ""},
            {"latest first, each once", "", "abca", "", "acb", "a"},
            {"a dead one left out, the next chosen", "", "abc", "c", "ba", "b"},
            {"at most six", "", "abcdefgh", "", "hgfedc", "h"},
        };
        for (const auto &[tag, current, remembered, dead, recent, chosen] : rows)
            QTest::newRow(tag) << QString(current) << QString(remembered) << QString(dead)
                               << QString(recent) << QString(chosen);
    }

    void theCurrentFolderThenTheLatestLiveOne() {
        QFETCH(QString, current);
        QFETCH(QString, remembered);
        QFETCH(QString, dead);
        QFETCH(QString, recent);
        QFETCH(QString, chosen);
        QTemporaryDir root;
        const QString here = root.filePath(QStringLiteral("here"));
        QVERIFY(QDir().mkpath(here));
        if (!current.isEmpty())
            TestFolders::write(here, current, "x");
        const auto folder = [&](QChar c) { return root.filePath(QString(c)); };
        QFile::remove(config_.filePath(QStringLiteral("vekselector/vekselector.conf")));
        for (const QChar c : remembered) {
            TestFolders::write(folder(c), QStringLiteral("eaw.exe"), "x");
            TestFolders::write(folder(c), QStringLiteral("LastVEKDir"), "x");
            GameFolderChoice::remember(folder(c));
            QCOMPARE(GameFolderChoice::remembered(), folder(c));
        }
        for (const QChar c : dead)
            QVERIFY(QFile::remove(folder(c) + QStringLiteral("/eaw.exe")));
        QStringList expected;
        for (const QChar c : recent)
            expected << folder(c);
        QCOMPARE(GameFolderChoice::recent(), expected);
        QCOMPARE(GameFolderChoice::choose(here), chosen == QLatin1String("here") ? here
                                                 : chosen.isEmpty()              ? QString()
                                                                    : folder(chosen.at(0)));
    }

private:
    QTemporaryDir config_;
};

QTEST_GUILESS_MAIN(TestGameFolder)
#include "tst_game_folder.moc"

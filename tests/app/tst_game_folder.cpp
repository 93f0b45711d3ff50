// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFolderChoice.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

/// Which game folder a start without one given takes.
class TestGameFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }

    void theCurrentFolderThenTheLastOneThenAsk() {
        const char *rows[][4] = {
            {"started in a game folder", "EAW.EXE", "eaw.exe", "current"},
            {"a LastVEKDir is no game program", "lastvekdir", "eaw.exe", "remembered"},
            {"from the menu: the last one", "notes.txt", "eaw.exe", "remembered"},
            {"the last one without its eaw.exe", "", "LastVEKDir", ""},
            {"the last one is no game folder any more", "", "readme.txt", ""},
            {"the last one is gone", "", "gone", ""},
            {"nothing remembered", "", "-", ""},
        };
        // current: files of the folder started in; remembered: files of the folder of the last
        // start; "-": none; chosen: "current", "remembered" or "" (ask)
        for (const auto &[tag, current_, remembered_, chosen_] : rows) {
            const QString current = QString(current_);
            const QString remembered = QString(remembered_);
            const QString chosen = QString(chosen_);
            QTemporaryDir root;
            const QString here = root.filePath(QStringLiteral("here"));
            const QString last = root.filePath(QStringLiteral("last"));
            QVERIFY(QDir().mkpath(here));
            if (!current.isEmpty())
                TestFolders::write(here, current, "x");
            QFile::remove(config_.filePath(QStringLiteral("vekselector/vekselector.conf")));
            if (remembered != QLatin1String("-")) {
                if (remembered != QLatin1String("gone"))
                    TestFolders::write(last, remembered, "x");
                GameFolderChoice::remember(last);
                QCOMPARE(GameFolderChoice::remembered(), last);
            }
            const QString expected = chosen == QLatin1String("current")      ? here
                                     : chosen == QLatin1String("remembered") ? last
                                                                             : QString();
            QCOMPARE(GameFolderChoice::choose(here), expected);
        }
    }

private:
    QTemporaryDir config_;
};

QTEST_GUILESS_MAIN(TestGameFolder)
#include "tst_game_folder.moc"

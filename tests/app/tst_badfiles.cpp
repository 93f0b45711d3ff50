// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadFiles.h"
#include "LoadedList.h"
#include "Options.h"
#include "Planes.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

// Every file the selector reads, replaced by garbage, truncated or emptied: the window still
// loads, every click still answers, and what cannot be done is told, not crashed on.
class TestBadFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void garbageInAnyInputFile_data() {
        QTest::addColumn<QString>("where"); // "game", "vek" or "set"
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        const QString files = "game/eaw.ini,game/LastVEKDir,game/flt.cdf,game/V1V1.FLT,vek/vek.ini,"
                              "vek/FoldersLoaded.txt,vek/eaw.ini,set/planes.dat,set/pnames.str,"
                              "set/loadout.dat,set/P-Mustang III/mustang3.vek,"
                              "set/P-Mustang III/mustang3.lox,set/contents.txt";
        for (const QString &f : files.split(','))
            for (const char *kind : {"random", "empty", "truncated"})
                QTest::addRow("%s %s", qPrintable(QString(f).replace('/', ' ')), kind)
                    << f.section('/', 0, 0) << f.section('/', 1) << QString(kind);
    }

    void garbageInAnyInputFile() {
        QFETCH(QString, where);
        QFETCH(QString, file);
        QFETCH(QString, kind);
        TestFolders f(TestFolders::Demo);
        ScriptedPrompt prompt;
        {
            // A first run makes the ledgers and the originals, as a player's would.
            Selector first(Folders{f.game(), f.vek(), "None"}, prompt);
            first.load();
            first.loadFiles().click(first.Unigrid.find("F-Late war fighters"));
            first.loadFiles().click(first.Unigrid.find("M-Battle of Britain"));
        }
        const QString folder = where == "game"  ? f.game()
                               : where == "vek" ? f.vek()
                                                : f.vek() + "/F-Late war fighters";
        const QString path = QDir(folder).filePath(file);
        QByteArray bytes = TestFolders::read(folder, file);
        if (bytes == "<missing>")
            bytes = "1\r\n2\r\n";
        QRandomGenerator rng(qHash(where + file + kind));
        if (kind == "random") {
            for (qsizetype i = 0; i < bytes.size(); ++i)
                bytes[i] = char(rng.bounded(256));
        } else if (kind == "empty") {
            bytes.clear();
        } else {
            bytes.truncate(bytes.size() / 3);
        }
        TestFolders::write(folder, file, bytes);
        // The second run: load, swap every alternative, set a fuel load, unload and reload.
        Selector s(Folders{f.game(), f.vek(), f.vek()}, prompt);
        s.load();
        QVERIFY(s.FormReady);
        const int set = s.Unigrid.find("F-Late war fighters");
        if (!s.Unigrid.row(set).loaded)
            s.loadFiles().click(set);
        for (int r = 1; r < s.G1.rowCount(); ++r)
            s.planes().click(r);
        s.planes().fuelClick(3, 10);
        s.options().clickResolution(2);
        s.loadFiles().click(s.Unigrid.find("M-Operation Overlord"));
        s.loadFiles().click(set);
        s.loadFiles().click(set);
        for (int r = 0; r <= s.G1.rowCount(); ++r)
            s.planes().hover(r);
        for (int r = 0; r <= s.Unigrid.rowCount(); ++r)
            s.loadFiles().hover(r);
        // Whatever was refused, the ledger names exactly what the grids mark: the mission taken
        // out for another, the aircraft set unloaded and loaded again (its swapped aircraft gone
        // with it), whatever file was damaged.
        const QByteArray ledger = "F-Late war fighters\r\nM-Operation Overlord\r\n\r\n";
        QCOMPARE(TestFolders::read(f.vek(), "FoldersLoaded.txt"), ledger);
        QCOMPARE(s.loadedList().loadedNames(),
                 QString::fromLatin1(ledger).split("\r\n", Qt::SkipEmptyParts));
        for (const ScriptedPrompt::Shown &shown : prompt.shown)
            QVERIFY(!shown.text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBadFiles)
#include "tst_badfiles.moc"

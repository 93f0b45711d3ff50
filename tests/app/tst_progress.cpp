// SPDX-License-Identifier: GPL-3.0-or-later
#include "Autoscripts.h"
#include "CompleteReset.h"
#include "FileBytes.h"
#include "Journal.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "ProgressHook.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "Skins.h"
#include "TestFolders.h"

#include <QMap>
#include <QTest>

namespace {

QByteArray ledgers(const QString &vek) {
    QByteArray all;
    // A cancelled reset is over: no later start is to take it up again.
    for (const QString &n : {Ledgers::FoldersLoaded, Ledgers::SkinsLoaded, Ledgers::LoadOrder,
                             Journal::FileName, CompleteReset::JournalName})
        all += n.toUtf8() + ":" +
               (TestFolders::exists(vek, n) ? TestFolders::read(vek, n) : "<none>") + "\n";
    return all;
}

} // namespace

/// Cancelling an operation through the progress seam puts everything back as before the click.
class TestProgress : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cancelUndoes_data() {
        QTest::addColumn<QString>("operation"); // load, replace, unload, skin, reset or script
        QTest::addColumn<int>("at");            // files done when the player cancels
        QTest::addColumn<int>("total");         // files the operation announces
        QTest::addColumn<QString>("said");      // what the message says of A-Old, if anything
        // A-Old (6 files and a picture a load leaves out) and G-Maps are loaded and share
        // gmaps.dat; A-New (7 files) shares old.dat with A-Old and gmaps.dat with G-Maps, and its
        // third file replaces one of the game's own, as Blue's first does. "A-05 Red" (4 files) is
        // the skin loaded for slot 5, "A-05 Blue" (3 files) the other skin of that slot.
        const QString none;
        for (int at : {0, 1, 4})
            QTest::addRow("load A-New after %d", at) << "load" << at << 7 << none;
        // 6 files of A-Old out, then 7 of A-New in: cancelled in either half and at the very end.
        for (int at : {1, 5, 6, 9, 12})
            QTest::addRow("A-New in place of A-Old after %d", at)
                << "replace" << at << 13 << "\"A-Old\", which it had taken out, was loaded again";
        for (int at : {0, 3, 5})
            QTest::addRow("unload A-Old after %d", at)
                << "unload" << at << 6 << "\"A-Old\" stays loaded: what the unload had taken out";
        // Red's three files out (its flight file stays), Blue's three in.
        for (int at : {1, 3, 5})
            QTest::addRow("skin A-05 Blue in place of Red after %d", at)
                << "skin" << at << 6 << none;
        QTest::addRow("reset stops at the first folder") << "reset" << 2 << 6 << none;
        QTest::addRow("autoscript stops at its first entry") << "script" << 8 << 13 << none;
    }

    void cancelUndoes() {
        QFETCH(QString, operation);
        QFETCH(int, at);
        QFETCH(int, total);
        QFETCH(QString, said);
        TestFolders f;
        const auto add = [&f](const QString &folder, const QStringList &files) {
            for (const QString &n : files)
                TestFolders::write(f.vek() + "/" + folder, n, (folder + ":" + n).toUtf8());
        };
        add("A-Old",
            {"old.dat", "old1.dat", "old2.dat", "old3.dat", "old4.dat", "gmaps.dat", "a.jpg"});
        add("A-New", {"new0.dat", "new1.dat", "new2.dat", "new3.dat", "old.dat", "gmaps.dat",
                      "new6.dat", "mypic.jpg"});
        add("G-Maps", {"maps.dat", "gmaps.dat"});
        add("Skinfolder/A-05 Red", {"red.tpc", "red2.tpc", "p51.flt", "shared.tpc"});
        add("Skinfolder/A-05 Blue", {"blue.tpc", "shared.tpc", "p51.flt"});
        // Files of the game's own that A-New (under another case) and Blue replace: a cancel gives
        // them back byte for byte.
        TestFolders::write(f.game(), "NEW1.DAT", "the game's own");
        TestFolders::write(f.game(), "blue.tpc", "the game's own");
        ScriptedPrompt prompt;
        Selector s(Folders{f.game(), f.vek(), f.vek()}, prompt);
        s.load();
        QVERIFY(s.loadFiles().click(s.Unigrid.find("A-Old")));
        QVERIFY(s.loadFiles().click(s.Unigrid.find("G-Maps")));
        QVERIFY(s.skins().activate(s.SK1.find("A-05 Red")));
        if (operation == "load")
            QVERIFY(s.loadFiles().click(s.Unigrid.find("A-Old")));
        const QMap<QString, QByteArray> game = filesOf(f.game());
        const QByteArray ledger = ledgers(f.vek());
        // Stopped once `at` files are done, as the player's Cancel would.
        ProgressHook stop([at](qsizetype done, const QString &) { return done < at; });
        s.setProgress(&stop);
        prompt.shown.clear();
        if (operation == "load" || operation == "replace")
            QVERIFY(!s.loadFiles().click(s.Unigrid.find("A-New")));
        else if (operation == "unload")
            QVERIFY(!s.loadFiles().click(s.Unigrid.find("A-Old")));
        else if (operation == "skin")
            QVERIFY(!s.skins().activate(s.SK1.find("A-05 Blue")));
        else if (operation == "reset")
            QVERIFY(!s.completeReset().run());
        else if (operation == "script") {
            s.autoscripts().List2 = {"A-New", "G-Maps"};
            QVERIFY(!s.autoscripts().run());
        }
        QCOMPARE(filesOf(f.game()), game);
        QCOMPARE(ledgers(f.vek()), ledger);
        QCOMPARE(stop.announced, qsizetype(total));
        QVERIFY(stop.stopped());
        QCOMPARE(stop.filesDone(), qsizetype(at));
        // The grids say the same as the ledgers, and the player is told, without a failure.
        QCOMPARE(s.Unigrid.row(s.Unigrid.find("A-New")).loaded, false);
        QCOMPARE(s.Unigrid.row(s.Unigrid.find("A-Old")).loaded, operation != "load");
        QCOMPARE(s.Unigrid.row(s.Unigrid.find("G-Maps")).loaded, true);
        QCOMPARE(s.SK1.row(s.SK1.find("A-05 Red")).loaded, true);
        QCOMPARE(s.SK1.row(s.SK1.find("A-05 Blue")).loaded, false);
        bool told = false;
        for (const ScriptedPrompt::Shown &m : prompt.shown) {
            QVERIFY2(m.icon == Prompt::Icon::Information, qPrintable(m.text));
            told = told || m.text.contains("was cancelled");
            // Said exactly: a plain unload took out the folder it was about, not one in the way.
            if (m.text.contains("was cancelled") && !said.isEmpty())
                QVERIFY2(m.text.contains(said), qPrintable(m.text));
            if (operation == "unload")
                QVERIFY2(!m.text.contains("which it had taken out"), qPrintable(m.text));
        }
        QVERIFY(told);
    }
};

QTEST_GUILESS_MAIN(TestProgress)
#include "tst_progress.moc"

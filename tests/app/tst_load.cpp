// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompleteReset.h"
#include "FileBytes.h"
#include "FileOps.h"
#include "GridRows.h"
#include "ImmutableMarks.h"
#include "Journal.h"
#include "Ledgers.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "OpenSelector.h"
#include "Options.h"
#include "ProgressHook.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "SkinGrid.h"
#include "Skins.h"
#include "TestFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include <QSignalSpy>
#include <QTest>

namespace {

Folders foldersOf(const TestFolders &f, const QString &last) {
    return Folders{f.game(), f.vek(), last};
}

// A start on a FoldersLoaded.txt of `ledger`, with "path=bytes" `files` below the root ("VEK/..."
// or "EAW/..."), lists "|"-joined: the folders `loaded` after it, game files `present` and
// `absent`, and what its message says (empty: no message).
struct ReloadCase {
    const char *tag;
    bool moved; // the VEK folder is another than last time
    QByteArray ledger;
    QString files, loaded, present, absent, told;
};

// What stops A-New's load: "read-only", "folder" or "kept" at its third file c.dat, a ledger
// that turns read-only once its last file is on its way ("ledger:NAME"), or one read-only
// ("locked:NAME") or immutable ("immutable:NAME") from the start, spelt as the VEK folder has it.
struct FailedLoadCase {
    const char *tag;
    QString trouble;
    bool replaces; // a.dat and B.DAT are the game's own
    bool previous; // A-Old is loaded, and the click takes it out first
    const char *reason;
};

} // namespace

using KeptFilesRow = std::tuple<const char *, QString, QStringList, QStringList, QString>;

class TestLoad : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstLoadSweepsStraysButKeepsGameFiles() {
        TestFolders f;
        const QStringList strays = {"loose.dat", "Names.STR", "readme.txt", "mypic",   "a.3dz",
                                    "b.Cpt",     "x.jpg",     "planepic",   "skinpic", "m.mnu"};
        const QStringList kept = {"chatline.txt", "Extra.spt", "CHATLINE.TXT", "eaw.ini",
                                  "eaw.exe",      "flt.cdf",   "mypic.bmp",    "notes.text"};
        for (const QString &n : strays + kept)
            TestFolders::write(f.game(), n, "x");
        // A folder carries them all with the same bytes: they go without a word.
        for (const QString &n : strays)
            TestFolders::write(f.vek() + "/G-Old", n.toLower(), "x");
        TestFolders::write(f.game(), "eaw.ini", TestFolders::kEawIni);
        // Long enough to hold the cheat byte; a shorter one would be told as not the game's file.
        TestFolders::write(f.game(), "flt.cdf", QByteArray(38258, 'x'));
        ScriptedPrompt prompt;
        Selector selector(foldersOf(f, QStringLiteral("None")), prompt);
        QSignalSpy captions(&selector, &Selector::captionChanged);
        selector.load();
        for (const QString &n : strays)
            QVERIFY2(!TestFolders::exists(f.game(), n), qPrintable(n));
        for (const QString &n : kept)
            QVERIFY2(TestFolders::exists(f.game(), n), qPrintable(n));
        // The caption shows the clean-up while it runs and is put back after it.
        QCOMPARE(captions.size(), 2);
        QCOMPARE(captions.at(0).at(0).toString(), Selector::CleaningUp);
        QCOMPARE(captions.at(1).at(0).toString(), Selector::Caption);
        QCOMPARE(selector.caption(), Selector::Caption);
        QVERIFY(prompt.shown.isEmpty());
    }

    void cleanUpRunsOnlyWhenTheVekFolderChanged() {
        const std::tuple<QString, bool> rows[] = {
            {QStringLiteral("<vek>"), false}, // same folder
            {QStringLiteral("<VEK>"), true},  // same folder in another case
        };
        for (auto [last, cleaned] : rows) {
            TestFolders f;
            last.replace(QStringLiteral("<vek>"), f.vek());
            last.replace(QStringLiteral("<VEK>"), f.vek().toUpper());
            TestFolders::write(f.game(), QStringLiteral("content.dat"), "x");
            ScriptedPrompt prompt;
            Selector selector(foldersOf(f, last), prompt);
            selector.load();
            QCOMPARE(!TestFolders::exists(f.game(), QStringLiteral("content.dat")), cleaned);
        }
    }

    void lastVekDirIsRewrittenEveryLoad() {
        TestFolders f;
        TestFolders::write(f.game(), QStringLiteral("LASTVEKDIR"), "None\r\n");
        ScriptedPrompt prompt;
        for (int run = 0; run < 2; ++run) {
            Selector selector(foldersOf(f, run == 0 ? QStringLiteral("None") : f.vek()), prompt);
            selector.load();
            // Written under the name present, never as a second file.
            QCOMPARE(TestFolders::read(f.game(), QStringLiteral("LASTVEKDIR")),
                     f.vek().toLocal8Bit() + "\r\n");
            QVERIFY(!TestFolders::exists(f.game(), QStringLiteral("LastVEKDir")));
        }
    }

    // The start clears the check's byte in place, under the name present, and the first save of
    // the settings writes the other cheat file with the check off: 0. Files too short for the
    // byte, and the byte set by the check, are rows of the features' tests.
    void fltCdfByteIsClearedInPlace() {
        TestFolders f;
        const QByteArray before = QByteArray(40000, '\x07');
        TestFolders::write(f.game(), "FLT.CDF", before);
        TestFolders::write(f.game(), QStringLiteral("V1V1.FLT"), "\x07\x07\x07");
        ScriptedPrompt prompt;
        auto selector = openSelector(f, prompt);
        QCOMPARE(TestFolders::read(f.game(), "FLT.CDF"),
                 QByteArray(before).replace(38257, 1, "\0", 1));
        QCOMPARE(TestFolders::read(f.game(), QStringLiteral("V1V1.FLT")),
                 QByteArray("\x07\x00\x07", 3));
        QVERIFY(!TestFolders::exists(f.game(), "flt.cdf"));
        QVERIFY(prompt.shown.isEmpty());
    }

    void groupTable_data() {
        QTest::addColumn<QByteArray>("vekIni"); // null: none
        QTest::addColumn<QStringList>("descriptions");
        QTest::addColumn<QStringList>("letters");
        QTest::addColumn<bool>("told");
        // description|description, then the letters (one character each)
        const char *rows[][4] = {
            {"three groups", "Aircraft:A\r\nGeneral:G\r\nMissions:M\r\n",
             "Aircraft|General|Missions", "AGM"},
            {"LF line ends", "Aircraft:A\nGeneral:G", "Aircraft|General", "AG"},
            {"trailing blank is the letter", "Odd:X \r\n", "Odd", " "},
            {"second colon stays in the letter part", "Time: 12:00:T\r\n", "Time", "T"},
            {"no colon", "Skins S\r\n", "Skins S", "S"},
            {"8-bit description", "Fl\xfcgel \x80:W\r\n", "Flügel €", "W"},
        };
        for (const auto &[tag, ini, descriptions, letters] : rows)
            QTest::newRow(tag) << QByteArray(ini) << QString::fromUtf8(descriptions).split('|')
                               << QString(letters).split(QString(), Qt::SkipEmptyParts) << false;
        QTest::newRow("missing vek.ini") << QByteArray() << QStringList{} << QStringList{} << true;
        // The first 31 lines are the groups.
        QByteArray ini;
        QStringList descriptions, letters;
        for (int i = 0; i < 40; ++i) {
            ini += "Group " + QByteArray::number(i) + ":" + char('A' + i % 26) + "\r\n";
            if (i < 31) {
                descriptions << QStringLiteral("Group %1").arg(i);
                letters << QString(QChar('A' + i % 26));
            }
        }
        QTest::newRow("40 lines") << ini << descriptions << letters << true;
    }

    // A vek.ini the selector cannot take whole is told, naming it, and the window still finishes
    // loading.
    void groupTable() {
        QFETCH(QByteArray, vekIni);
        QFETCH(QStringList, descriptions);
        QFETCH(QStringList, letters);
        QFETCH(bool, told);
        TestFolders f;
        QFile::remove(QDir(f.vek()).filePath(QStringLiteral("vek.ini")));
        if (!vekIni.isNull())
            TestFolders::write(f.vek(), QStringLiteral("vek.ini"), vekIni);
        ScriptedPrompt prompt;
        auto selector = openSelector(f, prompt);
        QCOMPARE(selector->List3, QStringList({"Show ALL", "Show Selections"}) + descriptions);
        for (int k = 0; k < GroupTable::MaxGroups; ++k)
            QCOMPARE(selector->groups.GroupLetters[k],
                     k < letters.size() ? letters.at(k) : QString());
        QCOMPARE(prompt.shown.size(), told ? 1 : 0);
        if (told)
            QVERIFY(prompt.shown.at(0).text.contains(QStringLiteral("vek.ini")));
        QVERIFY(selector->FormReady);
        QCOMPARE(selector->List3Index, 0);
    }

    void backgroundIsTheExtensionlessFileInAnyCase() {
        const std::tuple<QStringList, QString> rows[] = {
            {QStringList{"BACKGROUND"}, QStringLiteral("BACKGROUND")}, // upper case
            {QStringList{"BACKGROUND.bmp"}, QString()},                // with an extension
            {QStringList{}, QString()},                                // none
        };
        for (auto [files, expected] : rows) {
            TestFolders f;
            for (const QString &n : files)
                TestFolders::write(f.game(), n, "BM");
            ScriptedPrompt prompt;
            auto selector = openSelector(f, prompt);
            QCOMPARE(selector->BackgroundPath,
                     expected.isEmpty() ? QString() : QDir(f.game()).filePath(expected));
        }
    }

    // The start marks what FoldersLoaded.txt names as loaded only where the game folder holds
    // that folder's files, rewrites the ledger to say so, and tells the player what it left out.
    void reloadMarksWhatTheGameFolderHolds() {
        const QString maps = "VEK/G-Maps/map.ter=map|VEK/G-Maps/readme.txt=about|EAW/map.ter=map|"
                             "EAW/readme.txt=about|";
        const QString spit = "VEK/A-Spitfires/spit.dat=s|EAW/spit.dat=s|";
        const QString blue = "VEK/Skinfolder/S-01 Blue/blue.tpc=b|EAW/blue.tpc=b|";
        const QString sounds = "VEK/G-Sounds/engine.wav=w|EAW/engine.wav=w|";
        const QString twice = "its repeated lines were dropped from the file:\r\n";
        const ReloadCase rows[] = {
            {"blank lines and LF endings", false, "A-Spitfires\r\n\r\nG-Maps\n\r\n\r\n",
             spit + maps, "A-Spitfires|G-Maps", "spit.dat|map.ter", "", ""},
            // A recovery cut short once its journal was gone leaves no journal to say the ledger
            // needs its grid order back.
            {"lines out of grid order", false, "S-01 Blue\r\nG-Maps\r\nA-Spitfires\r\n",
             spit + blue + maps, "A-Spitfires|G-Maps|S-01 Blue", "spit.dat|map.ter|blue.tpc", "",
             ""},
            // The later line of a group wins; the folder taken out for it leaves the names the
            // winner brings, and those another loaded folder brings.
            {"two folders of one group", false, "A-One\r\nA-Two\r\nG-Maps\r\n",
             "VEK/A-One/a.dat=two|VEK/A-One/one.dat=one|VEK/A-One/map.ter=map|VEK/A-Two/a.dat=two|"
             "VEK/A-Two/two.dat=2|EAW/a.dat=two|EAW/one.dat=one|EAW/two.dat=2|" +
                 maps,
             "A-Two|G-Maps", "a.dat|two.dat|map.ter", "one.dat", ""},
            {"two folders of one group, a loaded skin brings a file too", false,
             "A-One\r\nA-Two\r\nS-01 Blue\r\n",
             "VEK/A-One/blue.tpc=b|VEK/A-One/one.dat=1|VEK/A-Two/two.dat=2|EAW/one.dat=1|"
             "EAW/two.dat=2|" +
                 blue,
             "A-Two|S-01 Blue", "blue.tpc|two.dat", "one.dat", ""},
            // The later line, not the later row of the grid.
            {"three folders of one group", false, "A-Three\r\nA-Two\r\nA-One\r\n",
             "VEK/A-One/a.dat=1|VEK/A-Two/a.dat=1|VEK/A-Three/a.dat=1|VEK/A-Three/b.dat=3|"
             "EAW/a.dat=1|EAW/b.dat=3",
             "A-One", "a.dat", "b.dat", ""},
            // The sweep took the loaded folders' files: they are no longer loaded, and the player
            // learns which.
            {"another VEK folder: the swept folders are out", true,
             "A-Spitfires\r\nG-Maps\r\nG-Sounds\r\nS-01 Blue\r\n", spit + sounds + blue + maps,
             "G-Sounds", "engine.wav", "spit.dat|map.ter|blue.tpc",
             "not loaded now; load them again to use them:\r\nA-Spitfires\r\nG-Maps\r\nS-01 Blue"},
            {"another VEK folder, nothing of the ledger swept", true, "G-Sounds\r\n", sounds,
             "G-Sounds", "engine.wav", "", ""},
            // Repeated lines count once, where they last stand, and are told once.
            {"one folder named 1,000 times", false, QByteArray("G-Maps\r\n").repeated(1000), maps,
             "G-Maps", "map.ter", "", twice + "G-Maps"},
            {"repeats among other lines, a skin and a group", false,
             QByteArray("A-One\r\nS-01 Blue\r\nG-Maps\r\n").repeated(500) + "A-Two\r\nA-One\r\n",
             "VEK/A-One/one.dat=1|VEK/A-Two/two.dat=2|EAW/one.dat=1|" + blue + maps,
             "A-One|G-Maps|S-01 Blue", "one.dat|map.ter|blue.tpc", "two.dat",
             twice + "S-01 Blue\r\nG-Maps\r\nA-One"},
            // A line in another case names the folder; the ledger takes the folder's spelling.
            {"a folder named in another case", false, "g-MAPS\r\n", maps, "G-Maps", "map.ter", "",
             ""},
            {"a folder named in two cases", false, "G-Maps\r\ng-maps\r\n", maps, "G-Maps",
             "map.ter", "", twice + "G-Maps"},
            {"a folder gone from the VEK folder", false, "G-Maps\r\nNo such folder\r\n", maps,
             "G-Maps", "map.ter", "",
             "no longer in the VEK folder; they are not loaded now:\r\nNo such folder"},
        };
        for (const auto &[tag, moved, ledger, files, loadedCell, present, absent, told] : rows) {
            const CaseName inCase(tag);
            const QStringList loaded = listed(loadedCell);
            TestFolders f;
            TestFolders::plant(f.root(), listed(files));
            TestFolders::write(f.vek(), Ledgers::FoldersLoaded, ledger);
            ScriptedPrompt prompt;
            // Another VEK folder that is there: one that is not may be this one moved.
            const QString last = f.root() + QStringLiteral("/Elsewhere");
            QVERIFY(!moved || QDir().mkpath(last));
            Selector s(foldersOf(f, moved ? last : f.vek()), prompt);
            s.load();
            QCOMPARE(s.loadedList().loadedNames(), loaded);
            QStringList marked;
            for (int r = 1; r < s.Unigrid.rowCount(); ++r)
                if (s.Unigrid.row(r).loaded)
                    marked << s.Unigrid.row(r).name;
            for (const SkinGrid::Row &r : s.SK1.rows)
                if (r.loaded)
                    marked << r.name;
            QCOMPARE(marked, loaded);
            for (const QString &n : listed(present))
                QVERIFY2(TestFolders::exists(f.game(), n), qPrintable(n));
            for (const QString &n : listed(absent))
                QVERIFY2(!TestFolders::exists(f.game(), n), qPrintable(n));
            QVERIFY2(s.loadedFiles().check(), qPrintable(s.loadedFiles().CheckResult));
            const QByteArray rewritten = (loaded.join("\r\n") + "\r\n\r\n").toLatin1();
            // Rewritten when a line marked nothing; else left as it was.
            QStringList lines = QString::fromLatin1(ledger).remove('\r').split('\n');
            lines.removeAll(QString());
            QCOMPARE(TestFolders::read(f.vek(), Ledgers::FoldersLoaded),
                     lines == loaded ? ledger : rewritten);
            const QString shown = prompt.allText();
            // Told once, each name once.
            QVERIFY2(told.isEmpty() ? !shown.contains("not loaded now") : shown.count(told) == 1,
                     qPrintable(shown));
            for (const QString &n : loaded)
                QVERIFY2(shown.count(n) <= 1, qPrintable(shown));
        }
    }

    void filesOfAGoneFolderAreOfferedForTakingOut_data() {
        QTest::addColumn<bool>("recorded"); // the ledgers kept the names its load copied
        QTest::newRow("OK takes them out") << true;
        QTest::newRow("no record of its names: told, nothing asked") << false;
    }

    // G-Gone was loaded, then its folder left the VEK folder. The next start tells it, and
    // offers to take out the files its load brought that no loaded folder carries.
    void filesOfAGoneFolderAreOfferedForTakingOut() {
        QFETCH(bool, recorded);
        TestFolders f;
        TestFolders::plant(f.vek() + "/G-Gone", {"gone.dat=g", "Shared.ter=g", "mypic=p"});
        TestFolders::plant(f.vek() + "/G-Maps", {"shared.ter=m"});
        TestFolders::plant(f.game(), {"mypic=the game's"});
        {
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            QVERIFY(clickRow(*s, "G-Gone"));
            QVERIFY(clickRow(*s, "G-Maps"));
            QVERIFY(QDir(f.vek() + "/G-Gone").removeRecursively());
            if (!recorded)
                QVERIFY(QFile::remove(f.vek() + "/" + Ledgers::LoadedNames));
        }
        ScriptedPrompt prompt({true, true});
        auto s = openSelector(f, prompt);
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY2(prompt.shown.at(0).text.contains(
                     "no longer in the VEK folder; they are not loaded now:\r\nG-Gone"),
                 qPrintable(prompt.shown.at(0).text));
        s->askAfterLoad();
        QCOMPARE(prompt.shown.size(), recorded ? 2 : 1);
        if (recorded)
            QVERIFY2(prompt.shown.at(1).text.contains("\"G-Gone\": gone.dat\r\n"),
                     qPrintable(prompt.shown.at(1).text));
        QCOMPARE(TestFolders::exists(f.game(), "gone.dat"), !recorded);
        // G-Maps carries it, and the game's own picture was never the folder's.
        QCOMPARE(TestFolders::read(f.game(), "Shared.ter"), QByteArray("m"));
        QCOMPARE(TestFolders::read(f.game(), "mypic"), QByteArray("the game's"));
        QCOMPARE(TestFolders::read(f.vek(), Ledgers::FoldersLoaded), QByteArray("G-Maps\r\n\r\n"));
        QCOMPARE(s->loadedFiles().order(), QStringList{"G-Maps"});
        // Asked once: the ledgers no longer name it.
        s->askAfterLoad();
        ScriptedPrompt later({true});
        auto third = openSelector(f, later);
        third->askAfterLoad();
        QCOMPARE(prompt.shown.size(), recorded ? 2 : 1);
        QVERIFY(later.shown.isEmpty());
    }

    void failedLoadPutsBackTheGameFilesItReplaced_data() {
        const FailedLoadCase rows[] = {
            {"read-only game file", "read-only", true, false, "read-only"},
            {"folder in the way", "folder", true, false, "folder"},
            {"kept files of an earlier run in the way", "kept", true, false, "in the way"},
            // The read-only game file is kept while it is about to be replaced, and never is.
            {"read-only game file, nothing replaced", "read-only", false, false, "read-only"},
            {"read-only game file, A-Old taken out", "read-only", true, true, "read-only"},
            // Every file copied, and the ledger cannot say so: undone like a failed copy.
            {"FoldersLoaded.txt cannot be written", "ledger:FoldersLoaded.txt", true, false,
             "read-only"},
            {"LoadOrder.txt cannot be written, A-Old taken out", "ledger:LoadOrder.txt", false,
             true, "read-only"},
            // A ledger that cannot be rewritten, under whatever case the VEK folder spells it,
            // stops the load before any file moves.
            {"read-only ledger, other case", "locked:foldersloaded.txt", false, false,
             "Nothing was changed"},
            {"immutable ledger, other case", "immutable:foldersloaded.txt", false, false,
             "Nothing was changed"},
            {"immutable load order, other case", "immutable:LOADORDER.TXT", false, false,
             "Nothing was changed"},
        };
        addRows(rows);
    }

    // A-New's first two files replace files of the game's own (one under another case), its
    // third cannot be copied, or a ledger cannot be written: the game folder and the VEK folder
    // must be byte for byte as before the click, A-Old (taken out to make way) loaded again, and
    // the player told in one message what happened.
    void failedLoadPutsBackTheGameFilesItReplaced() {
        QFETCH(FailedLoadCase, row);
        const auto &[tag, trouble, replaces, previous, reason] = row;
        const QString kind = trouble.section(':', 0, 0), ledger = trouble.section(':', 1);
        TestFolders f;
        TestFolders::plant(f.vek() + "/A-New",
                           {"a.dat=new a", "b.dat=new b", "c.dat=new c", "d.dat=new d"});
        TestFolders::plant(f.vek() + "/A-Old", {"old.dat=old"});
        if (replaces)
            TestFolders::plant(f.game(), {"a.dat=own a", "B.DAT=own b"});
        if (!ledger.isEmpty())
            TestFolders::write(f.vek(), ledger, "\r\n");
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        if (previous)
            QVERIFY(clickRow(*s, "A-Old"));
        const QString path = f.vek() + "/" + ledger;
        QVERIFY(ledger.isEmpty() || QFileInfo::exists(path));
        ImmutableMarks marks;
        if (kind == "immutable" && !marks.set(path))
            QSKIP("this file system or user cannot make a file immutable");
        if (kind == "locked")
            QVERIFY(FileOps::setReadOnly(path, true));
        // The ledger turns read-only once the last file is on its way.
        ProgressHook lock([&](qsizetype, const QString &file) {
            if (kind == "ledger" && file == "d.dat")
                FileOps::setReadOnly(path, true);
            return true;
        });
        s->setProgress(&lock);
        if (trouble == "read-only") {
            TestFolders::plant(f.game(), {"c.dat=own c"});
            QVERIFY(FileOps::setReadOnly(f.game() + "/c.dat", true));
        } else if (trouble == "folder") {
            QVERIFY(QDir().mkpath(f.game() + "/c.dat"));
        } else if (trouble == "kept") {
            // The game's own c.dat kept already, and its name for this load taken too.
            TestFolders::plant(f.game(), {"c.dat=own c", ".vek-game-c.dat=an earlier run's",
                                          ".vek-keep-c.dat=an earlier run's"});
        }
        const QMap<QString, QByteArray> before = filesOf(f.game());
        const QMap<QString, QByteArray> ledgers = filesOf(f.vek());
        prompt.shown.clear();
        QVERIFY(!clickRow(*s, "A-New"));
        QCOMPARE(filesOf(f.game()), before);
        QCOMPARE(filesOf(f.vek()), ledgers);
        QCOMPARE(s->Unigrid.row(s->Unigrid.find("A-Old")).loaded, previous);
        QVERIFY(!s->Unigrid.row(s->Unigrid.find("A-New")).loaded);
        QCOMPARE(prompt.shown.size(), 1);
        const QString text = prompt.shown.first().text;
        const QString cause = ledger.isEmpty() ? "c.dat" : ledger;
        QVERIFY2(text.contains(cause) && text.contains(reason), qPrintable(text));
        QVERIFY2(text.contains("the game files they replaced were put back") == replaces,
                 qPrintable(text));
        QVERIFY2(text.contains("\"A-Old\", which it had taken out, was loaded again") == previous,
                 qPrintable(text));
    }

    // The load fails, and the folder it took out cannot be loaded again (a read-only file now in
    // its way): the player learns that it is out and why, and the grid and the ledger say so.
    void folderTakenOutThatCannotComeBackIsOut() {
        TestFolders f;
        TestFolders::plant(f.vek() + "/A-Old", {"old.dat=old"});
        TestFolders::plant(f.vek() + "/A-New", {"a.dat=new a", "c.dat=new c"});
        TestFolders::plant(f.game(), {"c.dat=own c"});
        QVERIFY(FileOps::setReadOnly(f.game() + "/c.dat", true));
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        QVERIFY(clickRow(*s, "A-Old"));
        ProgressHook inTheWay([&](qsizetype, const QString &file) {
            if (file == "a.dat") {
                TestFolders::plant(f.game(), {"old.dat=the player's"});
                FileOps::setReadOnly(f.game() + "/old.dat", true);
            }
            return true;
        });
        s->setProgress(&inTheWay);
        prompt.shown.clear();
        QVERIFY(!clickRow(*s, "A-New"));
        QVERIFY(!s->Unigrid.row(s->Unigrid.find("A-Old")).loaded);
        QVERIFY(Ledgers::readFoldersLoaded(f.vek()).isEmpty());
        QCOMPARE(TestFolders::read(f.game(), "old.dat"), QByteArray("the player's"));
        QVERIFY(!TestFolders::exists(f.game(), "a.dat"));
        QCOMPARE(prompt.shown.size(), 1);
        const QString text = prompt.shown.first().text;
        QVERIFY2(
            text.contains("c.dat") &&
                text.contains("\"A-Old\", which it had taken out, could not be loaded again and "
                              "is now out") &&
                text.contains("old.dat"),
            qPrintable(text));
    }

    // What the next start does with kept files: those of the operation its journal records are
    // dropped or put back with it; any other is never deleted, and told once.
    void keptFilesAreSettledAtStart() {
        const QString kept = ".vek-keep-clouds.tpc=own";
        // record: a load left by a crash: none, of a folder gone or here
        const KeptFilesRow rows[] = {
            {"a load undone: its kept file goes back over the copy", "gone",
             QStringList{"CLOUDS.TPC=copy", ".vek-keep-CLOUDS.TPC=own"},
             QStringList{"CLOUDS.TPC=own"}, "undone"},
            {"a load finished: its kept file goes", "here", QStringList{"clouds.tpc=own", kept},
             QStringList{"clouds.tpc=new"}, "finished"},
            {"no record, the name free: back under it", "", QStringList{kept},
             QStringList{"clouds.tpc=own"}, "is back under its name"},
            {"no record, the name taken: set aside in sight", "",
             QStringList{"Clouds.tpc=copy", kept},
             QStringList{"Clouds.tpc=copy", "clouds.tpc.kept=own"}, "clouds.tpc.kept"},
            {"a record that does not claim it: set aside in sight", "here",
             QStringList{"sky.pic=own", ".vek-keep-sky.pic=older"},
             QStringList{"sky.pic=own", "clouds.tpc=new", "sky.pic.kept=older"}, "sky.pic.kept"},
        };
        for (auto [tag, record, game, after, told] : rows) {
            TestFolders f;
            const QString folder = f.vek() + "/G-Clouds";
            if (record == "here")
                TestFolders::plant(folder, {"clouds.tpc=new"});
            if (!record.isEmpty()) {
                Journal::Record r;
                r.operation = "loading \"G-Clouds\"";
                r.moves << Journal::Move{true,   "G-Clouds",     Journal::ContentRule,
                                         folder, {"clouds.tpc"}, {}};
                QString error;
                QVERIFY2(Journal::write(f.vek(), f.game(), r, &error), qPrintable(error));
            }
            TestFolders::plant(f.game(), game);
            for (int start = 0; start < 2; ++start) {
                ScriptedPrompt prompt;
                auto s = openSelector(f, prompt);
                for (const QString &e : after)
                    QCOMPARE(TestFolders::read(f.game(), e.section('=', 0, 0)),
                             e.section('=', 1).toUtf8());
                QCOMPARE(QDir(f.game()).entryList({".vek-keep-*"}, QDir::Files | QDir::Hidden),
                         QStringList());
                const QString shown = prompt.allText();
                // Told at the first start only: the second finds nothing to settle.
                QVERIFY2(shown.contains(told) == (start == 0), qPrintable(shown));
            }
        }
    }

    // A game file that loaded content replaces is the game's own and no content folder can give
    // it back: it is kept while anything loaded carries its name, and back under its own name
    // when the last of them goes, by whichever way that goes.
    void gameOwnFileComesBackWhenItsLastCarrierGoes() {
        // "restart", or "reset"
        const char *rows[][3] = {
            {"a folder loaded and unloaded, the game's file under another case", "A-One|A-One",
             "CLOUDS.TPC"},
            {"two folders, unloaded in load order", "A-One|G-Two|A-One|G-Two", "clouds.tpc"},
            {"two folders, unloaded the other way", "A-One|G-Two|G-Two|A-One", "Clouds.Tpc"},
            {"a folder loaded in place of another", "A-One|A-Three|A-Three", "clouds.tpc"},
            {"a restart between load and unload", "A-One|restart|A-One", "clouds.tpc"},
            {"a folder and a skin", "skin:A-05 Red|A-One|skin:A-05 Red|A-One", "clouds.tpc"},
            {"a reset", "A-One|G-Two|reset", "clouds.tpc"},
            {"a reset after a restart", "A-One|restart|G-Two|reset", "CLOUDS.TPC"},
        };
        // steps: a click on a folder or "skin:" row, or; own: the game's file as the game folder
        // spells it
        for (const auto &[tag, steps_, own_] : rows) {
            const CaseName inCase(tag);
            const QStringList steps = QString(steps_).split('|');
            const QString own = QString(own_);
            TestFolders f;
            TestFolders::plant(f.game(), {own + "=own"});
            TestFolders::plant(f.vek() + "/A-One", {"clouds.tpc=one", "one.dat=1"});
            TestFolders::plant(f.vek() + "/G-Two", {"Clouds.tpc=two"});
            TestFolders::plant(f.vek() + "/A-Three", {"CLOUDS.TPC=three"});
            TestFolders::plant(f.vek() + "/Skinfolder/A-05 Red", {"clouds.tpc=red"});
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            QStringList loaded;
            for (const QString &step : steps) {
                if (step == "restart") {
                    s.reset();
                    s = openSelector(f, prompt);
                } else if (step == "reset") {
                    QVERIFY(s->completeReset().run());
                    loaded.clear();
                } else {
                    QVERIFY2(clickRow(*s, step.section(':', -1)), qPrintable(step));
                    // A folder takes out the loaded one of its group; the one skin goes alone.
                    if (!loaded.removeOne(step)) {
                        loaded.removeIf(
                            [&step](const QString &l) { return l.at(0) == step.at(0); });
                        loaded << step;
                    }
                }
                const QStringList names = QDir(f.game()).entryList(QDir::Files | QDir::Hidden);
                const QStringList spelt = names.filter(QRegularExpression(
                    "^clouds\\.tpc$", QRegularExpression::CaseInsensitiveOption));
                QCOMPARE(spelt.size(), 1);
                const QByteArray now = TestFolders::read(f.game(), spelt.first());
                const QStringList hidden = names.filter(".vek-");
                if (loaded.isEmpty()) {
                    QCOMPARE(spelt.first(), own);
                    QCOMPARE(now, QByteArray("own"));
                    QCOMPARE(hidden, QStringList());
                } else {
                    QVERIFY2(now != "own", qPrintable(step));
                    QCOMPARE(hidden, QStringList{".vek-game-" + own});
                    QCOMPARE(TestFolders::read(f.game(), hidden.first()), QByteArray("own"));
                }
            }
        }
    }

    void windowIsReadyAfterTheLoad() {
        TestFolders f;
        TestFolders::write(f.vek(), QStringLiteral("Autoscripts/Evening"), "A-One\r\n");
        TestFolders::write(f.vek(), QStringLiteral("Autoscripts/morning"), "G-Two\r\n");
        ScriptedPrompt prompt;
        Selector selector(foldersOf(f, f.vek()), prompt);
        selector.options().applyFeature({});
        selector.load();
        QVERIFY(selector.FormReady);
        QVERIFY(!selector.ini.ApplyFeature);
        QCOMPARE(selector.Label1, f.game() + QDir::separator());
        QCOMPARE(selector.File10, QStringList({"Evening", "morning"}));
    }
};

QTEST_GUILESS_MAIN(TestLoad)
#include "tst_load.moc"

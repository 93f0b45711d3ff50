// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompleteReset.h"
#include "FileCheck.h"
#include "FileList.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "LoadedFiles.h"
#include "OpenSelector.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "Skins.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

/// Content folders and a skin that share "shared.dat"; "A-Two" shares nothing. Every file
/// holds its folder's name and its own, so a copy from the wrong folder shows.
struct Fixture {
    TestFolders f;
    ScriptedPrompt prompt;
    std::unique_ptr<Selector> s;

    Fixture() {
        add("A-One", {"one.dat", "shared.dat", "planes.dat", "ECAsound.dat", "shot.jpg"});
        add("A-Two", {"two.dat"});
        add("G-Maps", {"maps.dat", "shared.dat"});
        add("G-Sky", {"sky.dat", "Shared.DAT"});
        add("M-One", {"one.msn"});
        add("M-Two", {"two.msn", "shared.dat"});
        add("Skinfolder/A-05 Red", {"red.tpc", "shared.dat", "p51.flt", "PLANES.DAT"});
        open();
    }
    void add(const QString &folder, const QStringList &files) const {
        for (const QString &file : files)
            TestFolders::write(f.vek() + "/" + folder, file, bytes(folder, file));
    }
    static QByteArray bytes(const QString &folder, const QString &file) {
        return (folder.section('/', -1) + ":" + file).toLatin1();
    }
    void open() {
        s.reset();
        s = openSelector(f, prompt);
        if (statusLine)
            s->newsOnStatusLine();
    }
    bool statusLine = false; ///< news goes to the status line, as in the window

    /// Runs one step: "load NAME" and "skin NAME" click the grid row (load or unload),
    /// "noflt" unticks "Include 'flt' files", "delete F", "change F" and "case F NEW" act on
    /// the game file F ("flip F" changes its last byte), "restart" opens the selector again,
    /// "forget order" deletes the load order ledger ("forget NAME" drops NAME's line from it),
    /// "reset" is "Reset Completely".
    void step(const QString &step) {
        const QString verb = step.section(' ', 0, 0);
        const QString arg = step.section(' ', 1);
        const QString game = f.game() + "/" + arg;
        if (verb == "load") {
            QVERIFY2(s->Unigrid.find(arg) > 0, qPrintable(arg));
            s->loadFiles().click(s->Unigrid.find(arg));
        } else if (verb == "skin") {
            QVERIFY2(s->SK1.find(arg) > 0, qPrintable(arg));
            s->skins().activate(s->SK1.find(arg));
        } else if (verb == "noflt") {
            s->skins().includeFlt(false);
        } else if (verb == "delete") {
            QVERIFY2(QFile::remove(game), qPrintable(game));
        } else if (verb == "change") {
            TestFolders::write(f.game(), arg, "changed by the player");
        } else if (verb == "flip") { // same size, another last byte
            QByteArray bytes = TestFolders::read(f.game(), arg);
            bytes.back() = char(bytes.back() ^ 0x20);
            TestFolders::write(f.game(), arg, bytes);
        } else if (verb == "case") {
            QVERIFY(QFile::rename(f.game() + "/" + arg.section(' ', 0, 0),
                                  f.game() + "/" + arg.section(' ', 1)));
        } else if (verb == "restart") {
            open();
        } else if (verb == "forget" && arg == "order") {
            QVERIFY(QFile::remove(f.vek() + "/" + Ledgers::LoadOrder));
        } else if (verb == "forget") {
            const QByteArray order = TestFolders::read(f.vek(), Ledgers::LoadOrder);
            QByteArray kept;
            for (const QByteArray &line : order.split('\n'))
                if (!line.isEmpty() && !line.contains("\t" + arg.toLatin1() + "\r"))
                    kept += line + '\n';
            QVERIFY2(kept != order, order.constData());
            TestFolders::write(f.vek(), Ledgers::LoadOrder, kept);
        } else if (verb == "reset") {
            s->completeReset().run();
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }

    /// What the player was told with an information message: "file from \"folder\"" lines.
    QStringList told() const {
        QStringList lines;
        for (const ScriptedPrompt::Shown &m : prompt.shown)
            if (m.icon == Prompt::Icon::Information)
                lines += m.text.split("\r\n").mid(1);
        return lines;
    }
    /// The game file `name` under any case.
    QByteArray game(const QString &name) const {
        const QString present = FileList::find(f.game(), name);
        return TestFolders::read(f.game(), present.isEmpty() ? name : present);
    }
    QStringList problems() const {
        QStringList texts;
        for (const ScriptedPrompt::Shown &m : prompt.shown)
            if (m.icon != Prompt::Icon::Information)
                texts << m.text;
        return texts;
    }
};

QStringList lines(const QList<FileCheck::Finding> &findings) {
    QStringList out;
    for (const FileCheck::Finding &f : findings)
        out << f.line();
    return out;
}

// After the `steps`, the shared files of NAME's load (empty: of every loaded folder) as
// `lines`, and what pointing at its load grid row tells (`preview`); `gameFile` is a file of the
// game's own, written after a first look.
struct ConflictCase {
    const char *tag, *name, *steps, *gameFile, *lines;
    QString preview;
};

} // namespace

class TestVerifyShared : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void verifyFindsWhatIsOffAndRepairPutsItRight() {
        const char *rows[][3] = {
            {"all whole; left-out files are not looked for", "load A-One|load G-Maps", ""},
            {"a changed byte", "load A-Two|flip two.dat", "changed\tA-Two\ttwo.dat"},
            {"the folder loaded last owns a shared file",
             "load G-Maps|load A-One|delete shared.dat", "missing\tA-One\tshared.dat"},
            {"the load order survives a restart", "load G-Sky|load G-Maps|restart|change maps.dat",
             "changed\tG-Maps\tmaps.dat"},
            {"without the order ledger, grid order", "load G-Sky|load G-Maps|forget order|restart",
             "changed\tG-Sky\tShared.DAT"},
            {"a folder the order ledger lost goes before those it names",
             "load G-Sky|load G-Maps|forget G-Maps|restart|delete Shared.DAT",
             "missing\tG-Sky\tShared.DAT"},
            {"files the selector changes: presence only",
             "load A-One|change planes.dat|skin A-05 Red|change p51.flt",
             "changed\tA-05 Red\tp51.flt"},
            {"a skin loaded without its flight files", "noflt|skin A-05 Red|restart|delete red.tpc",
             "missing\tA-05 Red\tred.tpc"},
            {"a game file in another case is the same file",
             "load A-Two|case two.dat TWO.DAT|change TWO.DAT", "changed\tA-Two\ttwo.dat"},
        };
        for (const auto &[tag, steps_, findings_] : rows) {
            const CaseName inCase(tag);
            const QStringList steps = listed(steps_);
            const QStringList findings = listed(findings_);
            Fixture c;
            for (const QString &step : steps)
                c.step(step);
            LoadedFiles &files = c.s->loadedFiles();
            QCOMPARE(files.check(), findings.isEmpty());
            QCOMPARE(lines(files.Findings), findings);
            QCOMPARE(c.problems(), QStringList{});

            QVERIFY(files.repair());
            QVERIFY(files.check());
            QCOMPARE(files.CheckResult, QStringLiteral("All loaded files are whole."));
            // Each repaired file holds its owner's bytes again, under the one name the game folder
            // had.
            for (const QString &finding : findings) {
                const QString folder = finding.section('\t', 1, 1);
                const QString file = finding.section('\t', 2);
                QCOMPARE(c.game(file), Fixture::bytes(folder, file));
                QCOMPARE(QDir(c.f.game()).entryList({file}, QDir::Files).size(), 1);
            }
            QCOMPARE(c.problems(), QStringList{});
        }
    }

    void unloadKeepsTheFoldersThatStayWhole_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("told");
        QTest::addColumn<QByteArray>("shared"); // shared.dat in the game folder after the steps
        QTest::addColumn<bool>("statusLine");   // told on the status line, not in a message
        // The folder whose shared.dat stays (and is told of, unless it is not copied back); none:
        // shared.dat is gone.
        const char *rows[][4] = {
            {"two G folders", "load G-Maps|load G-Sky|load G-Sky", "G-Maps", "told"},
            {"G over A, G unloaded", "load A-One|load G-Maps|load G-Maps", "A-One", "told"},
            {"G over A, A unloaded", "load A-One|load G-Maps|load A-One", "G-Maps", "told"},
            {"A swapped for another A under G", "load A-One|load G-Maps|load A-Two", "G-Maps",
             "told"},
            {"the one loaded last of those staying",
             "load G-Sky|load A-One|load G-Maps|load G-Maps", "A-One", "told"},
            {"skin over a content folder", "load G-Maps|skin A-05 Red|skin A-05 Red", "G-Maps",
             "told"},
            {"what the skin's delete rule keeps is not copied",
             "load A-One|skin A-05 Red|skin A-05 Red", "A-One", "told"},
            {"nothing shared", "load A-Two|load G-Maps|load A-Two", "G-Maps", ""},
            {"the reset takes everything out", "load G-Maps|load G-Sky|skin A-05 Red|reset", "",
             ""},
        };
        for (const auto &[tag, steps, owner, told] : rows)
            QTest::newRow(tag) << listed(steps)
                               << listed(*told ? QStringLiteral("shared.dat from \"%1\"").arg(owner)
                                               : QString())
                               << (*owner ? Fixture::bytes(owner, "shared.dat") : "<missing>")
                               << false;
        // The restart finds G-Sky's file under its own case.
        for (const bool window : {false, true})
            QTest::newRow(window ? "after a restart, in the window" : "after a restart")
                << listed("load G-Sky|load G-Maps|restart|load G-Maps")
                << QStringList{"Shared.DAT from \"G-Sky\""} << Fixture::bytes("G-Sky", "Shared.DAT")
                << window;
        QTest::newRow("skin over a content folder, in the window")
            << listed("load G-Maps|skin A-05 Red|skin A-05 Red")
            << QStringList{"shared.dat from \"G-Maps\""} << Fixture::bytes("G-Maps", "shared.dat")
            << true;
    }

    void unloadKeepsTheFoldersThatStayWhole() {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, told);
        QFETCH(QByteArray, shared);
        QFETCH(bool, statusLine);
        Fixture c;
        c.statusLine = statusLine;
        if (statusLine)
            c.open();
        for (const QString &step : steps)
            c.step(step);
        // Routine news: a line of the status line in the window, a message elsewhere.
        QCOMPARE(c.told(), statusLine ? QStringList{} : told);
        for (const QString &line : told)
            QCOMPARE(c.s->Status.contains(line), statusLine);
        QCOMPARE(c.problems(), QStringList{});
        QCOMPARE(c.game("shared.dat"), shared);
        // Every folder still loaded is whole.
        QVERIFY2(c.s->loadedFiles().check(), qPrintable(c.s->loadedFiles().CheckResult));
    }

    void conflictsNameTheOwners() {
        const QString replaces = "Loading it replaces %1 in the game folder: %2.";
        const QString none = "Loading it replaces no file in the game folder.";
        const QString first = " It first takes out \"%1\", the loaded folder of its group";
        const ConflictCase rows[] = {
            {"after an unload the next one wins", "",
             "load A-One|load G-Sky|load G-Maps|load G-Maps", "", "Shared.DAT\tG-Sky\tA-One", ""},
            {"a load would replace the owner's file", "G-Sky", "load A-One|load G-Maps", "",
             "Shared.DAT\tG-Maps", replaces.arg("1 file", "1 of \"G-Maps\"")},
            {"a skin over content; its left-out files are not named", "A-05 Red", "load A-One", "",
             "PLANES.DAT\tA-One|shared.dat\tA-One", ""},
            {"a file of the game's own, written after the first look", "G-Sky", "load A-One",
             "SKY.DAT", "Shared.DAT\tA-One|sky.dat\tgame",
             replaces.arg("2 files", "1 of \"A-One\", 1 of the game's own")},
            {"a load takes out the loaded folder of its letter", "A-Two", "load A-One", "", "",
             none + first.arg("A-One") + "."},
            {"a mission takes out the other one and swaps the saves", "M-Two",
             "load A-One|load M-One", "", "shared.dat\tA-One",
             replaces.arg("1 file", "1 of \"A-One\"") + first.arg("M-One") +
                 ", and swaps the campaign saves: those of \"M-One\" go back to its store, those "
                 "of "
                 "\"M-Two\" come into Savedata."},
            {"loaded: what the unload deletes, and what comes back", "G-Maps",
             "load A-One|load G-Sky|load G-Maps", "", "maps.dat\tG-Maps|shared.dat\tG-Maps",
             "Unloading it deletes 2 files from the game folder. Folders that stay loaded carry "
             "some of them too, so they come back: 1 from \"G-Sky\"."},
            {"loaded, sharing nothing", "A-Two", "load A-Two", "", "two.dat\tA-Two",
             "Unloading it deletes 1 file from the game folder."},
        };
        for (const auto &[tag, name, steps, gameFile, lines, preview] : rows) {
            const CaseName inCase(tag);
            Fixture c;
            const int gridRow = *name ? c.s->Unigrid.find(name) : 0;
            // A first look before anything changes: what it saw must not outlive the change.
            (void)c.s->loadedFiles().clickPreview(gridRow);
            (void)c.s->loadedFiles().sharedFiles();
            if (*gameFile)
                TestFolders::write(c.f.game(), gameFile, "the game's own");
            for (const QString &step : listed(steps))
                c.step(step);
            QStringList got;
            if (!*name)
                got = c.s->loadedFiles().sharedFiles();
            else
                QVERIFY(c.s->loadedFiles().conflictsOf(name, &got));
            QCOMPARE(got, listed(lines));
            QCOMPARE(c.s->loadedFiles().clickPreview(gridRow), preview);
        }
    }
};

QTEST_GUILESS_MAIN(TestVerifyShared)
#include "tst_verify_shared.moc"

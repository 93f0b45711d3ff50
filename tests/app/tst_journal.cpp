// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompleteReset.h"
#include "FileBytes.h"
#include "FileChanges.h"
#include "GridRows.h"
#include "Journal.h"
#include "Ledgers.h"
#include "OpenSelector.h"
#include "Planes.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace {

QStringList names(const QString &prefix, int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("%1%2.dat").arg(prefix).arg(i);
    return list;
}

// A journal planted in the VEK folder as `file`: its record's `lines` between the header and
// "end" (or the whole reset marker), and the bad field as the message quotes it (`told`).
// `setUp` is made after a first start: "link:PATH>TARGET" a symbolic link, "file:PATH=BYTES" a
// file, "future:PATH" a file's time a day ahead (paths below the test's root). One `acted` on,
// not refused, takes only the files `gone` out of the game folder.
struct JournalCase {
    QString file;
    QByteArray lines;
    QString told;
    QStringList setUp;
    bool acted;
    QStringList gone;
};

} // namespace

/// What a start does with a journal the last run left: the cases the crash test cannot make,
/// since they need the world to change between the crash and the next start.
class TestJournal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startPutsRight_data() {
        QTest::addColumn<QString>("operation"); // "load", "unload" or "damaged"
        QTest::addColumn<QList<QByteArray>>("ledgerAfter");
        QTest::addColumn<QString>("told");
        // A-Old was loaded; the load of A-New in its place was cut short halfway through A-New,
        // and the folder it loads (or unloads) is gone since. A load cut short and finished with
        // nothing changed since is a row of the crash tests.
        QTest::newRow("load undone: the folder it loads is gone")
            << "load" << QList<QByteArray>{"A-Old"} << "undone, since";
        QTest::newRow("unload finished, though the folder is gone")
            << "unload" << QList<QByteArray>{} << "finished.";
        QTest::newRow("damaged journal")
            << "damaged" << QList<QByteArray>{"A-Old"} << "it is cut short";
    }

    void startPutsRight() {
        QFETCH(QString, operation);
        QFETCH(QList<QByteArray>, ledgerAfter);
        QFETCH(QString, told);

        TestFolders f;
        const QString oldFolder = f.vek() + "/A-Old";
        const QString newFolder = f.vek() + "/A-New";
        const QStringList oldFiles = names("old", 6);
        const QStringList newFiles = names("new", 6);
        for (const QString &n : oldFiles)
            TestFolders::write(oldFolder, n, n.toUtf8());
        for (const QString &n : newFiles)
            TestFolders::write(newFolder, n, n.toUtf8());
        // Half of A-Old went out (and half of A-New came in); the ledger still says A-Old.
        for (const QString &n : oldFiles.mid(3))
            TestFolders::write(f.game(), n, n.toUtf8());
        TestFolders::write(f.vek(), Ledgers::FoldersLoaded, "A-Old\r\n\r\n");
        TestFolders::write(f.vek(), Ledgers::LoadOrder, "folder\tA-Old\r\n");
        TestFolders::write(
            f.vek(), Ledgers::LoadedNames,
            ("folder\tA-Old\t" + oldFiles.join("\r\nfolder\tA-Old\t") + "\r\n").toUtf8());

        Journal::Record record;
        record.operation = "doing it";
        record.moves << Journal::Move{false,     "A-Old",  Journal::ContentRule,
                                      oldFolder, oldFiles, {}};
        if (operation != QLatin1String("unload"))
            record.moves << Journal::Move{true,      "A-New",  Journal::ContentRule,
                                          newFolder, newFiles, QList<bool>(newFiles.size(), false)};
        QByteArray bytes = Journal::toBytes(record);
        if (operation == QLatin1String("damaged"))
            bytes.chop(5);
        TestFolders::write(f.vek(), Journal::FileName, bytes);
        // The copies come after the record, as in a real run.
        if (operation != QLatin1String("unload"))
            for (const QString &n : newFiles.mid(0, 3))
                TestFolders::write(f.game(), n, n.toUtf8());
        if (operation != QLatin1String("damaged"))
            QVERIFY(QDir(operation == QLatin1String("load") ? newFolder : oldFolder)
                        .removeRecursively());

        ScriptedPrompt prompt;
        openSelector(f, prompt);

        QVERIFY(!TestFolders::exists(f.vek(), Journal::FileName));
        QCOMPARE(Ledgers::readFoldersLoaded(f.vek()), ledgerAfter);
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY2(prompt.shown.first().text.contains(told), qPrintable(prompt.allText()));
        if (operation == QLatin1String("damaged"))
            return; // nothing is known, so nothing is touched
        // The game folder holds the files of exactly the folders the ledger names.
        for (const QString &n : oldFiles)
            QCOMPARE(TestFolders::exists(f.game(), n), ledgerAfter.contains("A-Old"));
        for (const QString &n : newFiles)
            QCOMPARE(TestFolders::exists(f.game(), n), ledgerAfter.contains("A-New"));
    }

    // A mission whose name gives no store ("M-") loaded in place of M-Alpha is, for the
    // saves, M-Alpha's unload: cut short in the exchange, the start stores M-Alpha's progress
    // and brings the game's own saves back, and makes no store for "M-".
    void namelessMissionInPlaceOfOneFinishesItsUnload() {
        TestFolders f;
        const QString alpha = f.vek() + "/M-Alpha";
        const QString nameless = f.vek() + "/M-";
        TestFolders::plant(f.root(),
                           {"VEK/M-Alpha/alpha.msn=alpha", "VEK/M-/nameless.msn=nameless",
                            "EAW/nameless.msn=nameless", "VEK/C-Alpha/camp.sav=alpha progress",
                            "VEK/C-Default/default.sav=the game's own",
                            "EAW/Savedata/camp.sav=alpha further",
                            "VEK/FoldersLoaded.txt=M-Alpha\r\n\r\n"});
        Journal::Record record;
        record.operation = "loading \"M-\" in place of \"M-Alpha\"";
        record.stage = Journal::SavesStore;
        record.moves << Journal::Move{false, "M-Alpha",     Journal::ContentRule,
                                      alpha, {"alpha.msn"}, {}}
                     << Journal::Move{true, "M-", Journal::ContentRule, nameless, {"nameless.msn"},
                                      {}};
        record.mission = "M-Alpha";
        TestFolders::write(f.vek(), Journal::FileName, Journal::toBytes(record));

        ScriptedPrompt prompt;
        openSelector(f, prompt);

        QVERIFY2(!TestFolders::exists(f.vek(), Journal::FileName), qPrintable(prompt.allText()));
        QCOMPARE(Ledgers::readFoldersLoaded(f.vek()), QList<QByteArray>{"M-"});
        QCOMPARE(TestFolders::read(f.vek() + "/C-Alpha", "camp.sav"), QByteArray("alpha further"));
        QCOMPARE(QDir(f.game() + "/Savedata").entryList(QDir::Files), QStringList{"default.sav"});
        QVERIFY(QDir(f.vek() + "/C-Default").entryList(QDir::Files).isEmpty());
        QVERIFY(!QFileInfo::exists(f.vek() + "/C-"));
    }

    void failedSwapPutsEveryFileBack() {
        TestFolders f(TestFolders::Demo);
        ScriptedPrompt prompt;
        const auto selector = openSelector(f, prompt);
        Selector &s = *selector;
        QVERIFY(clickRow(s, "F-Late war fighters"));
        const int row = slotRow(s, "P-Mustang III");
        QVERIFY(row > 0);
        // The flight file is the last thing the swap writes; a folder in its place stops it there,
        // after planes.dat, pnames.str and the menus have been written beside their targets.
        QVERIFY(QDir(f.game()).mkdir("p51b.flt"));
        const QStringList swapped = {"planes.dat", "pnames.str", "picplna.mnu", "picplnb.mnu",
                                     "picplng.mnu"};
        QList<QByteArray> before;
        for (const QString &n : swapped)
            before << TestFolders::read(f.game(), n);
        const QByteArray ledger = TestFolders::read(f.vek(), Ledgers::FoldersLoaded);

        QVERIFY(!s.planes().click(row));
        for (qsizetype i = 0; i < swapped.size(); ++i)
            QVERIFY2(TestFolders::read(f.game(), swapped[i]) == before[i], qPrintable(swapped[i]));
        QVERIFY(!s.G1.row(row).marked);
        QCOMPARE(TestFolders::read(f.vek(), Ledgers::FoldersLoaded), ledger);
        QVERIFY(!TestFolders::exists(f.vek(), Journal::FileName));
        const QString told = prompt.shown.last().text;
        QVERIFY2(told.contains("p51b.flt") && told.contains("not swapped in"), qPrintable(told));
    }

    void journalFromElsewhere_data() {
        // The record's lines between the header and "end"; <GAME>, <VEK> and <OUT> stand for the
        // two folders and a folder beside them, where "victim.txt" and "A-Evil" lie.
        QTest::addColumn<JournalCase>("row");
        const auto row = [](const char *tag, const QByteArray &lines, const char *told,
                            const QStringList &setUp = {}, bool acted = false,
                            const QStringList &gone = {}, const QString &file = Journal::FileName) {
            QTest::newRow(tag) << JournalCase{file,  lines, QString::fromUtf8(told),
                                              setUp, acted, gone};
        };
        const QByteArray swap = "operation\tswapping\r\nstage\tfiles\r\naircraft\tP-Evil\r\n";
        const QByteArray load = "operation\tloading\r\nstage\tfiles\r\n";
        const QByteArray evil = load + "in\tA-Evil\tcontent\t";
        const QByteArray gone = load + "out\tA-Gone\tcontent\tA-Gone\r\nfile\t";
        const QByteArray park = "operation\tloading\r\nstage\tsaves-park\r\n";
        const std::tuple<const char *, QByteArray, const char *> records[] = {
            {"backup: absolute path outside, deleted", swap + "backup\t<OUT>/victim.txt\t-",
             "/outside/victim.txt\""},
            {"backup: \"..\" in an absolute path", swap + "backup\t<GAME>/../outside/victim.txt\t-",
             "/outside/victim.txt\""},
            {"backup: \"..\" in a relative path", swap + "backup\t../victim.txt\t-",
             "../victim.txt"},
            {"move: folder outside, absolute", evil + "<OUT>/A-Evil\r\nfile\tevil.dat",
             "/outside/A-Evil\""},
            {"move: folder outside by \"..\"", evil + "../outside/A-Evil\r\nfile\tevil.dat",
             "../outside/A-Evil"},
            {"move: the VEK folder itself", evil + "<VEK>\r\nfile\tevil.dat", "/VEK\""},
            {"move: file name with a separator", gone + "../victim.txt", "../victim.txt"},
            {"move: file name absolute", gone + "<OUT>/victim.txt", "/outside/victim.txt\""},
            {"move: file name \"..\"", gone + "..", "\"..\""},
            {"move: ledger name with a separator",
             load + "in\t../A-New\tcontent\tA-New\r\nfile\tnew.dat", "../A-New"},
            {"held save name with a separator", park + "mission\tM-Two\r\nheld\tsub/x.sav",
             "sub/x.sav"},
            {"mission before that has no store: it would be the VEK folder",
             park + "in\tM-Two\tcontent\tM-Two\r\nmission\tM-Two\r\nprevious\tA-New", "A-New"},
            {"mission leading out",
             "operation\tunloading\r\nstage\tsaves-store\r\nmission\tM-Two/../../outside",
             "M-Two/../../outside"},
            {"ledger name to drop", load + "drop\t/etc/x", "/etc/x"},
            {"a stage no run writes",
             "operation\tloading\r\nstage\tsaves-done\r\nin\tA-New\tcontent\t"
             "A-New\r\nfile\tnew.dat",
             "\"saves-done\""},
            {"aircraft replaced", swap + "replaced\tP-A/P-B", "P-A/P-B"},
            {"a long field is quoted short", swap + "backup\t../" + QByteArray(4000, 'x') + "\t-",
             "../xxxxxxxxxx"},
        };
        for (const auto &[tag, lines, told] : records)
            row(tag, lines, told);
        const auto backup = [](const QByteArray &name, const QByteArray &bytes) {
            return "backup\t" + name + '\t' + QByteArray::number(bytes.size()) + '\t' +
                   QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + '\t' +
                   bytes.toBase64();
        };
        row("backup: a game file that is a link out", swap + backup("pnames.str", "overwritten"),
            "the link", {"link:EAW/pnames.str>outside/victim.txt"}, false);
        row("backup: the game's program", swap + backup("eaw.exe", "any program"),
            "not a file an aircraft swap writes", {}, false);
        row("backup: an empty field, as older records wrote", swap + "backup\tplanes.dat\t",
            "without the size and hash", {}, false);
        row("backup: bytes that are not the ones hashed",
            swap + backup("planes.dat", "other planes").replace("b3RoZXIg", "c3RoZXIg"),
            "does not hold the bytes", {}, false);
        row("backup: deleting a file every swap finds", swap + "backup\tplanes.dat\t-",
            "not one to delete", {}, false);
        row("move: a folder that is a link out", evil + "A-Link\r\nfile\tevil.dat", "the link",
            {"link:VEK/A-Link>outside/A-Evil"}, false);
        row("mission: a save store that is a link out",
            "operation\tunloading\r\nstage\tsaves-store\r\nmission\tM-Two", "the link",
            {"link:VEK/C-Two>outside"}, false);
        // Acted on, but only for what it proves it wrote.
        const QByteArray unload = "operation\tunloading\r\nstage\tfiles\r\n";
        row("unload of a folder that is not there, naming the game's files",
            unload + "out\tA-Gone\tcontent\tA-Gone\r\nfile\tKC\r\nfile\tBACKGROUND\r\nfile\t"
                     "chatline.txt\r\nfile\tLastVEKDir\r\nfile\tterrain.ter",
            "nothing shows", {}, true);
        row("unload of a folder gone: only what LoadedNames.txt records, never the game's own",
            unload + "out\tA-Gone\tcontent\tA-Gone\r\nfile\tKC\r\nfile\tgone.dat", "nothing shows",
            {"file:VEK/LoadOrder.txt=folder\tA-Gone\r\n",
             "file:VEK/LoadedNames.txt=folder\tA-Gone\tgone.dat\r\nfolder\tA-Gone\tKC\r\n",
             "file:EAW/gone.dat=gone"},
            true, {"EAW/gone.dat"});
        row("unload of a folder there whose file is not the game's",
            unload + "out\tA-Real\tcontent\tA-Real\r\nfile\tKC", "their bytes are not the folder's",
            {"file:VEK/A-Real/KC=a table of a mod"}, true);
        row("load undone, a game file's time ahead: by the record, not the clock",
            load + "in\tA-Gone\tcontent\tA-Gone\r\nfile\tnew.dat\tnew\r\nfile\tterrain.ter\thad",
            "undone, since", {"file:EAW/new.dat=new", "future:EAW/terrain.ter"}, true,
            {"EAW/new.dat"});
        // The reset's own journal only says a reset is under way, and of which game folder: one
        // that came with a copied VEK folder resets nothing (here it would sweep planes.dat).
        const QByteArray reset = "VEK Selector: Reset Completely is under way; the next start "
                                 "finishes it.\r\n";
        row("reset of another game folder", reset + "<OUT>\r\n", "another game folder", {}, false,
            {}, CompleteReset::JournalName);
    }

    // A VEK folder is copied and shared: a journal in it must not make the next start change
    // anything outside the game folder and the VEK folder. One that asks for that is refused as a
    // whole, named, and kept aside so that nothing of it is lost and it is not read again.
    void journalFromElsewhere() {
        QFETCH(JournalCase, row);
        auto [file, lines, told, setUp, acted, gone] = row;
        TestFolders f;
        const QString out = f.root() + "/outside";
        for (const char *own : {"KC", "BACKGROUND", "chatline.txt", "terrain.ter"})
            TestFolders::write(f.game(), own, "the game's " + QByteArray(own));
        TestFolders::plant(f.root(), {"outside/victim.txt=the player's own",
                                      "outside/A-Evil/evil.dat=evil", "VEK/A-New/new.dat=new",
                                      "VEK/M-Two/two.dat=two", "EAW/Savedata/game1.sav=a campaign",
                                      "EAW/planes.dat=the game's planes"});
        {
            // A first start makes what every start makes (stores, ledgers, original copies).
            ScriptedPrompt prompt;
            Selector(Folders{f.game(), f.vek(), f.vek()}, prompt).load();
        }
        for (const QString &step : std::as_const(setUp)) {
            const QString what = step.section(':', 1);
            const QString path = f.root() + '/' + what.section(QRegularExpression("[>=]"), 0, 0);
            if (step.startsWith("link:")) {
                QDir(path).removeRecursively();
                QVERIFY(QFile::link(f.root() + '/' + what.section('>', 1), path));
            } else if (step.startsWith("file:")) {
                QVERIFY(QDir().mkpath(QFileInfo(path).path()));
                QVERIFY(writeFile(path, what.section('=', 1).toUtf8()));
            } else {
                QFile file(path);
                QVERIFY(file.open(QIODevice::ReadWrite) &&
                        file.setFileTime(QDateTime::currentDateTime().addDays(1),
                                         QFileDevice::FileModificationTime));
            }
        }
        const Tree before = treeOf(f.root());
        lines.replace("<GAME>", f.game().toUtf8())
            .replace("<VEK>", f.vek().toUtf8())
            .replace("<OUT>", out.toUtf8());
        const QByteArray journal = file == Journal::FileName
                                       ? "VEK Selector journal 1\r\n" + lines + "\r\nend\r\n"
                                       : lines;
        TestFolders::write(f.vek(), file, journal);

        ScriptedPrompt prompt;
        Selector(Folders{f.game(), f.vek(), f.vek()}, prompt).load();

        const QString aside = file + ".refused";
        Tree expected = before;
        Tree after = treeOf(f.root());
        if (acted) {
            // The VEK folder's ledgers follow what was done; everything else is as it was, but
            // for the files the record proves its operation wrote.
            expected.removeIf([](const auto &it) { return it.key().startsWith("VEK/"); });
            after.removeIf([](const auto &it) { return it.key().startsWith("VEK/"); });
            for (const QString &g : gone)
                QVERIFY(expected.remove(g));
            QVERIFY(!TestFolders::exists(f.vek(), Journal::FileName));
            QVERIFY(!TestFolders::exists(f.vek(), aside));
        } else {
            expected.insert("VEK/" + aside, journal);
        }
        QCOMPARE(changedFiles(expected, after), QStringList());
        const QString shown = prompt.allText();
        QVERIFY2(shown.contains(told), qPrintable(told + " not in: " + shown));
        if (acted)
            return;
        QCOMPARE(prompt.shown.size(), 1);
        for (const QString &piece : {file, aside})
            QVERIFY2(shown.contains(piece), qPrintable(piece + " not in: " + shown));
        QVERIFY2(shown.size() < 1000, qPrintable(shown));

        // Kept aside, it is not read again.
        ScriptedPrompt again;
        Selector(Folders{f.game(), f.vek(), f.vek()}, again).load();
        QVERIFY2(again.shown.isEmpty(), qPrintable(again.allText()));
        QCOMPARE(TestFolders::read(f.vek(), aside), journal);
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"

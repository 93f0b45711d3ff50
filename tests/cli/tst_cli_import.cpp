// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveMaker.h"
#include "CliRun.h"
#include "CrashPoint.h"
#include "FileBytes.h"
#include "TestFolders.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

namespace {
/// The VEK folder's folders and what is in them: the files directly in it are the ledgers a
/// start rewrites, not what an import touches.
Tree foldersOf(const QString &vek) {
    Tree tree = treeOf(vek);
    tree.removeIf([](const auto &it) { return !it.key().contains('/'); });
    return tree;
}

struct ImportCase {
    const char *tag;
    bool present;
    QStringList args;
    int status;
    QByteArray out;
    QString said;
};
} // namespace

/// `import ARCHIVE|FOLDER [NAME]`: its statuses and messages, and a crash at every step of it.
class TestCliImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        const auto make = [this](const char *name, const char *format,
                                 const QList<ArchiveMaker::Item> &items) {
            const QString path = archives_.filePath(QString::fromLatin1(name) + '.' + format);
            archive_.insert('@' + QString::fromLatin1(name), path);
            return ArchiveMaker::write(path, format, items);
        };
        QCOMPARE(make("one", "zip", {{"A-One/a.dat", "new a"}, {"A-One/b.dat", "b"}}), QString());
        QCOMPARE(make("loose", "tar.gz", {{"x.dat", "x"}, {"y/z.dat", "z"}}), QString());
        QCOMPARE(make("store", "zip", {{"C-Default/Campaign1.sav", "theirs"}}), QString());
        QCOMPARE(make("alpha", "tar", {{"C-Alpha/Campaign1.sav", "theirs"}}), QString());
        QCOMPARE(make("interchange", "zip", {{"Interchange/Campaign1.sav", "x"}}), QString());
        // A byte of the packed file flipped: only the zip's checksum tells.
        const QByteArray noise = ArchiveMaker::noise(100000);
        QCOMPARE(make("damaged", "zip", {{"A-One/noise.dat", noise}}), QString());
        QByteArray bytes = contentOf(archive_["@damaged"]);
        const qsizetype at = bytes.indexOf(noise.mid(50000, 32));
        QVERIFY(at > 0);
        bytes[at] = char(bytes.at(at) ^ 1);
        QVERIFY(writeFile(archive_["@damaged"], bytes));
        QList<ArchiveMaker::Item> many;
        for (int i = 0; i < 30; ++i)
            many.append({QStringLiteral("A-Many/f%1.dat").arg(i), QByteArray(2000, 'm')});
        QCOMPARE(make("many", "zip", many), QString());
        QCOMPARE(make("skin", "zip", {{"A-05 Red/r.tpc", "r"}}), QString());
        QCOMPARE(make("several", "7z",
                      {{"Pack/A-One/a.dat", "new a"},
                       {"Pack/A-One/b.dat", "b"},
                       {"Pack/G-Two/g.dat", "g"},
                       {"Pack/A-05 Red/r.tpc", "r"},
                       {"Pack/A-05 Red/s.tpc", "s"}}),
                 QString());
        QCOMPARE(make("collection", "zip",
                      {{"VEK/linkscreen", "x"},
                       {"VEK/vek.ini", "Aircraft:A\r\nShips:S\r\n"},
                       {"VEK/S-Boat/b.dat", "b"},
                       {"VEK/Skinfolder/A-07 Blue/b.tpc", "b"},
                       {"VEK/Autoscripts/mine.txt", "S-Boat\r\n"},
                       {"VEK/Autoscripts/new.txt", "A-One\r\n"}}),
                 QString());
        archive_.insert("@none", archives_.filePath("none.zip"));
        // Folders, not archives: one content folder, a folder of several, a VEK folder of its
        // own, and one holding a link out of it.
        const auto folder = [this](const char *name, const QStringList &files) {
            const QString path = archives_.filePath(QString::fromLatin1(name));
            TestFolders::plant(path, files);
            archive_.insert('@' + QString::fromLatin1(name), path);
        };
        folder("dir", {"A-Dir/a.dat=a", "A-Dir/sub/b.dat=b"});
        folder("Downloads", {"A-Three/b.dat=b", "G-Two/g.dat=g"});
        folder("MyVEK", {"linkscreen=x", "vek.ini=Ships:S\r\n", "S-Boat/b.dat=b",
                         "C-Default/Campaign1.sav=theirs"});
        folder("linked", {"A-Link/a.dat=a"});
        QVERIFY(QFile::link(lockDir_.path(), archive_["@linked"] + "/A-Link/out"));
    }

    void commands() {
        // `present`: A-One is in the VEK folder already (old.dat); `said`: a part of stderr.
        using L = QStringList;
        const L list{"+", "folders"}, ok{"--answer", "ok", "import"};
        const QString own = "\"%1\" is a folder VEK Selector keeps for itself";
        const ImportCase rows[] = {
            {"a new folder, listed not loaded", false, L{"import", "@one"} + list, 0,
             "-\tA-One\n-\tC-Alpha\n-\tC-Default\n-\tInterchange\n-\tM-Alpha\n", ""},
            {"loose files need a name", false, L{"import", "@loose"} + list, 1, "",
             "such as \"loose\""},
            {"loose files with a name", false, L{"import", "@loose", "G-Loose"} + list, 0,
             "-\tC-Alpha\n-\tC-Default\n-\tG-Loose\n-\tInterchange\n-\tM-Alpha\n", ""},
            {"a name outside the groups", false, L{"import", "@loose", "Loose"}, 1, "",
             "group letter"},
            {"a checksum error", false, L{"import", "@damaged"}, 1, "", "ZIP bad CRC"},
            {"no such archive", false, L{"import", "@none"}, 2, "",
             "not an archive file or a folder"},
            {"a content folder", false, L{"import", "@dir/A-Dir"} + list, 0,
             "-\tA-Dir\n-\tC-Alpha\n-\tC-Default\n-\tInterchange\n-\tM-Alpha\n", ""},
            {"a folder of several", false, L{"import", "@Downloads"} + list, 0,
             "-\tA-Three\n-\tC-Alpha\n-\tC-Default\n-\tG-Two\n-\tInterchange\n-\tM-Alpha\n", ""},
            {"a VEK folder of its own", false, L{"import", "@MyVEK"} + list, 0,
             "-\tC-Alpha\n-\tC-Default\n-\tInterchange\n-\tM-Alpha\n-\tS-Boat\n",
             "Left out (saves and folders that are not content): \"MyVEK/C-Default\""},
            {"a folder holding a link out of it", false, L{"import", "@linked/A-Link"}, 1, "",
             "\"out\" is a link out of it"},
            {"a folder that is there is kept", true, L{"import", "@one"}, 1, "", "was kept"},
            {"replaced when answered ok", true, ok + L{"@one"}, 0, "",
             "Replace it with the folder of the archive?"},
            // The selector's own folders, whatever group vek.ini gives the letter "C", and
            // whatever the answer: refused whole, and nothing in the VEK folder changes.
            {"the default save store", false, ok + L{"@store"}, 1, "", own.arg("C-Default")},
            {"a mission's save store", false, ok + L{"@alpha"}, 1, "", own.arg("C-Alpha")},
            {"a mission's save store as the name", false, ok + L{"@loose", "C-Alpha"}, 1, "",
             own.arg("C-Alpha")},
            {"Interchange needs another name", false, ok + L{"@interchange"}, 1, "",
             "such as \"Interchange\""},
            {"Interchange as the name", false, ok + L{"@interchange", "Interchange"}, 1, "",
             "not a content folder's name"},
            {"Skinfolder as the name", false, ok + L{"@loose", "Skinfolder"}, 1, "",
             "the VEK folder's own folder"},
            {"Autoscripts as the name", false, ok + L{"@loose", "Autoscripts"}, 1, "",
             "the VEK folder's own folder"},
            // "@remembered": no --vek, the VEK folder is the one LastVEKDir names, with a "/"
            // after.
            {"a skin, the VEK folder remembered with a trailing /", false,
             ok + L{"@skin", "@remembered"}, 0, "", ""},
            {"never while loaded, the VEK folder remembered with a trailing /", true,
             L{"--answer", "ok", "toggle", "A-One", "+", "import", "@one", "@remembered"}, 1, "",
             "is loaded"},
        };
        for (auto [tag, present, args, status, out, said] : rows) {
            TestFolders f;
            TestFolders::write(
                f.vek(), "vek.ini",
                "Aircraft:A\r\nGeneral:G\r\nMissions:M\r\nFlight:F\r\nCockpits:C\r\n");
            TestFolders::write(f.vek() + "/M-Alpha", "alpha.msn", "mission");
            TestFolders::write(f.vek() + "/C-Alpha", "Campaign1.sav", "alpha progress");
            TestFolders::write(f.vek() + "/C-Default", "Campaign1.sav", "the game's own");
            if (present)
                TestFolders::write(f.vek() + "/A-One", "old.dat", "the player's own");
            QCOMPARE(run(f, {"folders"}).status, 0);
            const Tree before = foldersOf(f.vek());
            const bool remembered = args.removeAll("@remembered") > 0;
            if (remembered)
                TestFolders::write(f.game(), "LastVEKDir", QFile::encodeName(f.vek()) + "/\r\n");
            for (auto it = archive_.cbegin(); it != archive_.cend(); ++it)
                args.replaceInStrings(it.key(), it.value());

            const CliRun r = remembered ? CliRun::run(QStringList{"--game", f.game()} + args,
                                                      lockDir_.filePath("lock"), QString(), {})
                                        : run(f, args);
            QCOMPARE(r.status, status);
            QCOMPARE(r.out, out);
            QVERIFY2(said.isEmpty() ? r.err.isEmpty() : r.err.contains(said.toUtf8()), r.err);
            // Replaced whole or kept whole.
            const bool replaced = present && status == 0;
            QCOMPARE(TestFolders::exists(f.vek() + "/A-One", "old.dat"), present && !replaced);
            QCOMPARE(TestFolders::exists(f.vek() + "/A-One", "b.dat"),
                     status == 0 && args.contains(archive_["@one"]));
            if (status != 0 && !args.contains("toggle"))
                QCOMPARE(foldersOf(f.vek()), before);
            if (args.contains(archive_["@skin"]))
                QCOMPARE(foldersOf(f.vek()).keys().filter("A-05 Red"),
                         QStringList{"Skinfolder/A-05 Red/r.tpc"});
            QVERIFY(noStaging(f.vek()));
        }
    }

    void refusedForSpace() {
        if (!CliRun::smallDisksPossible())
            QSKIP("no private mounts here");
        TestFolders f;
        QCOMPARE(run(f, {"folders"}).status, 0);
        const Tree before = foldersOf(f.vek());
        QTemporaryDir scratch;
        const QString after = scratch.filePath("after");
        const CliRun r = CliRun::runOnSmallDisk(
            {"--game", f.game(), "--vek", f.vek(), "import", archive_["@many"]},
            lockDir_.filePath("lock"), f.root(), 40000, after);
        QCOMPARE(r.status, 1);
        // Kilobytes on both sides, and what is needed reads more than what is free.
        const QRegularExpressionMatch m =
            QRegularExpression(
                "unpacks to (\\d+) KB, and the VEK folder's disk has (\\d+) KB free\\.")
                .match(QString::fromUtf8(r.err));
        QVERIFY2(m.hasMatch(), r.err);
        QVERIFY(m.captured(1).toInt() > m.captured(2).toInt());
        QVERIFY(m.captured(2).toInt() <= 39);
        QCOMPARE(foldersOf(after + "/VEK"), before);
        QVERIFY(noStaging(after + "/VEK"));
    }

    void everyCrashPointLeavesAllOrNothing_data() {
        QTest::addColumn<QString>("archive");
        QTest::newRow("a folder replaced, one new, a skin into a Skinfolder made") << "@several";
        QTest::newRow("a collection: a script replaced, one new, a skin, a group") << "@collection";
    }

    void everyCrashPointLeavesAllOrNothing() {
        QFETCH(QString, archive);
        const QStringList import{"--answer", "ok", "import", archive_[archive]};
        // A-One and a script there already, and the folders as a first run leaves them.
        const auto prepare = [this](const TestFolders &f) {
            TestFolders::write(f.vek() + "/A-One", "old.dat", "the player's own");
            TestFolders::write(f.vek() + "/Autoscripts", "mine.txt", "the player's own");
            QCOMPARE(run(f, {"folders"}).status, 0);
        };
        Tree before, after;
        {
            TestFolders f;
            prepare(f);
            before = foldersOf(f.vek());
            QCOMPARE(run(f, import).status, 0);
            after = foldersOf(f.vek());
            QVERIFY(after != before);
        }
        int k = 1;
        for (;; ++k) {
            // The next start puts it right, also when it is itself ended after any file
            // operation of that recovery (j > 0: each in turn, until one runs to its end) and a
            // third start comes.
            CliRun crashed;
            Tree now;
            for (int j = 0;; ++j) {
                TestFolders f;
                prepare(f);
                crashed = run(f, import, k);
                int again = 0;
                if (crashed.status == CrashPoint::ExitStatus && j > 0)
                    again = run(f, {"folders"}, j, true).status;
                QCOMPARE(run(f, {"folders"}).status, 0);
                now = foldersOf(f.vek());
                const QString at =
                    QStringLiteral("crash after %1, then after %2 of the recovery").arg(k).arg(j);
                QVERIFY2(now == before || now == after, qPrintable(at));
                QVERIFY2(noStaging(f.vek()), qPrintable(at));
                if (crashed.status != CrashPoint::ExitStatus ||
                    (j > 0 && again != CrashPoint::ExitStatus))
                    break;
            }
            if (crashed.status != CrashPoint::ExitStatus) {
                QCOMPARE(crashed.status, 0);
                QCOMPARE(now, after);
                break;
            }
        }
        // Every file unpacked, the renames into place and the removal were crash points.
        QVERIFY2(k > 8, qPrintable(QString::number(k)));
    }

    void aDryRunChangesNothing() {
        TestFolders f;
        QCOMPARE(run(f, {"folders"}).status, 0);
        const Tree before = treeOf(f.root());
        const CliRun r = run(f, {"--dry-run", "import", archive_["@one"], "+", "folders"});
        QCOMPARE(r.status, 0);
        QCOMPARE(treeOf(f.root()), before);
        QVERIFY(noStaging(f.vek()));
        // What the real run would do, named in the real folders, and the row the run then lists.
        QVERIFY2(r.out.contains(QFile::encodeName(archive_["@one"] + "/A-One/b.dat\t" + f.vek() +
                                                  "/.vek-import-")),
                 r.out);
        QVERIFY2(r.out.contains(QFile::encodeName("\t" + f.vek() + "/A-One\n")), r.out);
        QVERIFY2(r.out.endsWith("-\tA-One\n-\tC-Default\n-\tInterchange\n"), r.out);
    }

private:
    CliRun run(const TestFolders &f, const QStringList &args, int crashAfter = 0,
               bool inStartUp = false) {
        return CliRun::on(f.game(), f.vek(), args, lockDir_.filePath("lock"),
                          CliRun::crashAt(crashAfter, inStartUp));
    }
    QTemporaryDir lockDir_;
    QTemporaryDir archives_;
    QHash<QString, QString> archive_; // "@name" -> the archive's path
};

QTEST_GUILESS_MAIN(TestCliImport)
#include "tst_cli_import.moc"

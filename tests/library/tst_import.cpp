// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArchiveLayout.h"
#include "ArchiveMaker.h"
#include "ContentImport.h"
#include "FileBytes.h"
#include "FileSync.h"
#include "GridRows.h"
#include "ImportArchive.h"
#include "LoadedFiles.h"
#include "OpenSelector.h"
#include "ProgressHook.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "TestFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using Item = ArchiveMaker::Item;
using Kind = ArchiveMaker::Item::Kind;
using Result = ImportArchive::Result;

namespace {

/// The bytes a test file holds: its name, and bytes no text file holds, so a copy that
/// translated line ends or stopped at a zero would show.
QByteArray bytesFor(const QString &path) {
    return path.toUtf8() + QByteArray("\0\r\n\xff\x80", 5) + path.toUtf8().repeated(3);
}

QList<Item> filesOf(const QStringList &paths) {
    QList<Item> items;
    for (const QString &p : paths)
        items.append(p.endsWith('/') ? Item{p, {}, Kind::Folder} : Item{p, bytesFor(p)});
    return items;
}

/// The VEK folder's folders and the text files an import may add to: what the start writes
/// of its own (ledgers, the stores it makes) is not the import's.
Tree foldersAndTexts(const QString &vek) {
    Tree tree = treeOf(vek);
    tree.removeIf([](const auto &it) {
        return !(it.key().contains('/') || it.key().endsWith(".txt") ||
                 it.key() == QLatin1String("vek.ini")) ||
               it.key().startsWith("C-") || it.key().startsWith("Interchange/") ||
               it.key() == QLatin1String("FoldersLoaded.txt");
    });
    return tree;
}

} // namespace

/// An archive becomes content folders of the VEK folder whole, or leaves no trace.
class TestImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Entries "|"-joined (a folder's ends in "/"), the name given, and the places "|"-joined,
    // "name? SUGGESTION" or "refused".
    void layout() {
        const char *rows[][4] = {
            {"one content folder", "A-One/a.bmp|A-One/sub/b.dat", "", "A-One"},
            {"a blank after the letter", "G Cockpit sounds/", "", "G Cockpit sounds"},
            {"several, all or none", "A-One/a|F-Two/b|M-Three/c", "", "A-One|F-Two|M-Three"},
            {"a skin by its name", "A-05 Red/r.tpc", "", "Skinfolder/A-05 Red"},
            {"skins in Skinfolder", "skinfolder/A-05 Red/r|skinfolder/Blue nose/b", "",
             "Skinfolder/A-05 Red|Skinfolder/Blue nose"},
            {"a content folder and a skin", "A-One/a|Skinfolder/A-07 X/x", "",
             "A-One|Skinfolder/A-07 X"},
            {"a wrapper around content folders", "Pack v2/A-One/a|Pack v2/G-Two/b", "",
             "A-One|G-Two"},
            {"loose files", "a.bmp|b.dat", "", "name? Eastern Front"},
            {"loose files named", "a.bmp", "A-East", "A-East"},
            {"a wrapper of files", "Eastern v2/a.bmp|Eastern v2/x/b", "", "name? Eastern v2"},
            {"a wrapper of files named", "Eastern v2/a.bmp", "A-East", "A-East"},
            {"a letter vek.ini has no group of", "Z-Other/a", "", "name? Z-Other"},
            {"a content folder beside another folder", "A-One/a|Docs/readme.txt", "",
             "name? Eastern Front"},
            {"a file directly in Skinfolder", "Skinfolder/readme.txt|Skinfolder/A-05 Red/r", "",
             "name? Skinfolder"},
            {"a name renames the one folder", "A-One/a", "A-Renamed", "A-Renamed"},
            {"a name renames the one skin", "A-05 Red/a", "A-05 Mine", "Skinfolder/A-05 Mine"},
            {"a name cannot name several", "A-One/a|F-Two/b", "A-Both", "refused"},
            {"a name of no group", "a.bmp", "East", "refused"},
            {"a name with a separator", "a.bmp", "A-x/y", "refused"},
            {"the skins' own folder as a name", "a.bmp", "Skinfolder", "refused"},
            {"two folders for one skin", "A-05 Red/a|Skinfolder/A-05 RED/b", "", "refused"},
            {"nothing but folders", "", "", "refused"},
        };
        for (const auto &[tag, entries, name, expected] : rows) {
            const CaseName inCase(tag);
            QList<ArchiveLayout::Entry> list;
            for (const QString &e : QString::fromUtf8(entries).split('|', Qt::SkipEmptyParts))
                list.append({e.endsWith('/') ? e.chopped(1) : e, e.endsWith('/')});
            const ArchiveLayout::Plan plan =
                ArchiveLayout::plan(list, {"A", "G", "M", "F"}, name, "Eastern Front");
            QString got;
            if (!plan.refusal.isEmpty())
                got = "refused";
            else if (plan.needsName)
                got = "name? " + plan.suggestion;
            else
                for (const ArchiveLayout::Target &t : plan.targets)
                    got += (got.isEmpty() ? "" : "|") + t.place;
            QVERIFY2(got == QLatin1String(expected), qPrintable(QString(tag) + ": " + got));
        }
    }

    // An entry's name as a path inside the VEK folder; empty: refused, with a reason.
    void entryPath() {
        const char *rows[][3] = {
            {"plain", "A-One/sub/a.bmp", "A-One/sub/a.bmp"},
            {"backslashes separate", "A-One\\a.bmp", "A-One/a.bmp"},
            {"dots and doubled separators", "./A-One//a.bmp", "A-One/a.bmp"},
            {"up", "../x", ""},
            {"up later", "A-One/../../x", ""},
            {"up by backslash", "A-One\\..\\..\\x", ""},
            {"absolute", "/x", ""},
            {"absolute by backslash", "\\x", ""},
            {"drive letter", "C:\\x", ""},
            {"drive-relative", "C:x", ""},
            {"colon later", "A-One/a:b", ""},
            {"control character", "A-One/a\nb", ""},
            {"only dots", "./", ""},
            {"a device's name", "A-One/CON", ""},
            {"a device's name with an extension, in small letters", "A-One/nul.txt", ""},
            {"a device's name with two extensions", "A-One/Aux.tar.gz", ""},
            {"a numbered port", "A-One/com1.dat", ""},
            {"the last numbered printer", "A-One/LPT9", ""},
            {"a device's name as a folder", "prn/a.bmp", ""},
            {"a dot at a name's end", "A-One/a.", ""},
            {"a blank at a folder's end", "A-One /a.bmp", ""},
            {"a star", "A-One/a*b", ""},
            {"a question mark", "A-One/a?b", ""},
            {"a quote", "A-One/a\"b", ""},
            {"angle brackets", "A-One/<a>", ""},
            {"a bar", "A-One/a|b", ""},
            {"a tab", "A-One/a\tb", ""},
            {"names that only begin like a device's", "CONSOLE/COM10.txt", "CONSOLE/COM10.txt"},
            {"a device's name as an extension", "A-One/readme.con", "A-One/readme.con"},
            {"a port numbered 0", "A-One/LPT0", "A-One/LPT0"},
        };
        for (const auto &[tag, name, path] : rows) {
            const CaseName inCase(tag);
            QString got, reason;
            const bool ok = ArchiveLayout::entryPath(name, &got, &reason);
            QVERIFY2((ok ? got : QString()) == path && reason.isEmpty() == ok,
                     qPrintable(QStringLiteral("%1: \"%2\" (%3)").arg(tag, got, reason)));
        }
    }

    // A place is written with "/" whatever the system's paths are built with: a skin found in
    // a VEK folder on Windows is still inside Skinfolder.
    void placeIn() {
        const char *rows[][4] = {
            {"Windows", "C:\\Games\\VEK", "C:\\Games\\VEK\\Skinfolder\\A-05 Red",
             "Skinfolder/A-05 Red"},
            {"Linux", "/home/p/VEK", "/home/p/VEK/Skinfolder/A-05 Red", "Skinfolder/A-05 Red"},
            {"a root ending in its separator", "C:\\", "C:\\A-One", "A-One"},
        };
        for (const auto &[tag, root, path, place] : rows)
            QVERIFY2(ArchiveLayout::placeIn(root, path) == place, tag);
    }

    void lands_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("landed"); // "entry>place in the VEK folder"

        const QStringList one{"A-One/", "A-One/a.bmp", "A-One/sub/b.dat", "A-One/empty.txt"};
        const QStringList landedOne{"A-One/a.bmp>A-One/a.bmp", "A-One/sub/b.dat>A-One/sub/b.dat",
                                    "A-One/empty.txt>A-One/empty.txt"};
        for (const char *format : {"zip", "7z", "tar", "tar.gz", "tar.bz2", "tar.xz", "folder"})
            QTest::newRow(format) << format << one << "" << landedOne;
        QTest::newRow("a folder of loose files named")
            << "folder" << QStringList{"a.bmp", "sub/b.dat"} << "G-East"
            << QStringList{"a.bmp>G-East/a.bmp", "sub/b.dat>G-East/sub/b.dat"};
        QTest::newRow("loose files named")
            << "zip" << QStringList{"a.bmp", "sub/b.dat"} << "G-Loose"
            << QStringList{"a.bmp>G-Loose/a.bmp", "sub/b.dat>G-Loose/sub/b.dat"};
        QTest::newRow("several, a skin and a Mac's extras")
            << "zip" << QStringList{"Pack/A-One/a", "Pack/A-05 Red/r.tpc", "__MACOSX/Pack/._a"}
            << ""
            << QStringList{"Pack/A-One/a>A-One/a", "Pack/A-05 Red/r.tpc>Skinfolder/A-05 Red/r.tpc"};
    }

    void lands() {
        QFETCH(QString, format);
        QFETCH(QStringList, entries);
        QFETCH(QString, name);
        QFETCH(QStringList, landed);
        TestFolders f;
        QList<Item> items = filesOf(entries);
        for (Item &i : items)
            if (i.name.endsWith("empty.txt"))
                i.bytes.clear();
        // A name beyond ASCII: the archive is opened by its name as the system spells it.
        const QString path =
            format == "folder"
                ? folder(QStringLiteral("lands-\u00e9t\u00e9-\u0416-") + QTest::currentDataTag(),
                         items)
                : archive(QStringLiteral("lands-\u00e9t\u00e9-\u0416.") + format, format, items);
        const Tree before = treeOf(f.vek());

        ImportArchive::Options options;
        options.name = name;
        options.groupLetters = QStringList{"A", "G", "M", "F"};
        const ImportArchive::Outcome o = ImportArchive::run(path, f.vek(), options);
        QVERIFY2(o.result == Result::Imported, qPrintable(o.message));

        Tree expected = before;
        for (const QString &l : landed) {
            const QString from = l.section('>', 0, 0);
            expected.insert(l.section('>', 1),
                            from.endsWith("empty.txt") ? QByteArray() : bytesFor(from));
        }
        QCOMPARE(treeOf(f.vek()), expected);
        QCOMPARE(o.files, qsizetype(landed.size()));
        QVERIFY(noStaging(f.vek()));
    }

    // Names as old tools wrote them, in archives written byte by byte: a zip's without the
    // UTF-8 flag in code page 437, a tar's in Windows-1252 or UTF-8.

    void names() {

        using R = QList<ArchiveMaker::Raw>;
        const auto zip = [](const R &files, bool flag) {
            return ArchiveMaker::storedZip(files, flag);
        };
        const QString fluegel = QStringLiteral("A-Fl\u00fcgel/Ma\u00df.txt");
        // landed: the places "|"-joined, or "refused: words"
        const std::tuple<const char *, QByteArray, QString> rows[] = {
            {"a zip in code page 437", zip({{"A-Fl\x81gel/Ma\xe1.txt", "x"}}, false), fluegel},
            {"a zip with the UTF-8 flag", zip({{fluegel.toUtf8(), "x"}}, true), fluegel},
            {"a zip in code page 437 with a box drawing Windows-1252 lacks",
             zip({{"A-One/\xc9\xcd.txt", "x"}}, false),
             QStringLiteral("refused: the name \"\u2554\u2550.txt\", with the characters")},
            {"a tar in Windows-1252", ArchiveMaker::ustar({{"A-Fl\xfcgel/Ma\xdf.txt", "x"}}),
             fluegel},
            {"a tar in UTF-8", ArchiveMaker::ustar({{fluegel.toUtf8(), "x"}}), fluegel},
            {"a tar in UTF-8 that Windows-1252 cannot spell",
             ArchiveMaker::ustar({{"A-One/\xce\xa9.txt", "x"}}),
             QStringLiteral("refused: the character \"\u03a9\" that 8-bit text")},
        };
        for (auto [tag, bytes, landed] : rows) {
            TestFolders f;
            const QString path = archives_.filePath(QString::fromLatin1(tag));
            writeFile(path, bytes);
            const Tree before = treeOf(f.vek());
            const ImportArchive::Outcome o = ImportArchive::run(path, f.vek(), {});
            Tree expected = before;
            if (landed.startsWith("refused: ")) {
                QCOMPARE(o.result, Result::Refused);
                QVERIFY2(o.message.contains(landed.mid(9)), qPrintable(o.message));
            } else {
                QVERIFY2(o.result == Result::Imported, qPrintable(o.message));
                for (const QString &place : landed.split('|'))
                    expected.insert(place, "x");
            }
            QCOMPARE(treeOf(f.vek()), expected);
            QVERIFY(noStaging(f.vek()));
        }
    }

    // A download wrapped once more: the archive inside is imported, the readmes beside it
    // kept as contents.txt.

    void nested() {

        using L = QStringList;
        // outer: "path=bytes"; "@name" the inner archive; after: "path=bytes" in the VEK folder;
        // empty: none
        const std::tuple<const char *, QStringList, QStringList, QStringList, QString> rows[] = {
            {"a readme and a 7z", L{"readme.txt=Read me\r\n", "@pack.7z"}, L{"A-One/a=a"},
             L{"A-One/a=a", "A-One/contents.txt=Read me\r\n"}, ""},
            {"two readmes, a folder with its own contents",
             L{"Pack/readme.txt=Read me", "Pack/notes.nfo=Notes\r\n", "Pack/pack.zip"},
             L{"A-One/a=a", "G-Two/contents.txt=own"},
             L{"A-One/a=a",
               "A-One/contents.txt=readme.txt\r\n\r\nRead me\r\n\r\nnotes.nfo\r\n\r\n"
               "Notes\r\n",
               "G-Two/contents.txt=own"},
             ""},
            {"a damaged archive inside", L{"readme.txt=r", "@damaged.zip"}, L{"A-One/noise"}, L{},
             "nested-a damaged archive inside.zip/damaged.zip\" is damaged"},
            {"two archives inside are loose files", L{"@a.zip", "@b.zip"}, L{"A-One/a=a"}, L{},
             "needs a name"},
        };
        for (auto [tag, outer, inner, after, said] : rows) {
            TestFolders f;
            QList<Item> innerItems;
            const QByteArray noise = ArchiveMaker::noise(100000);
            for (const QString &e : inner)
                innerItems.append(
                    {e.section('=', 0, 0), e.contains('=') ? e.section('=', 1).toUtf8() : noise});
            QList<Item> items;
            for (QString e : outer) {
                if (e.startsWith('@') || !e.contains('=')) {
                    e.remove(0, e.startsWith('@') ? 1 : 0);
                    const QString format = e.section('.', 1);
                    QByteArray bytes =
                        contentOf(archive("inner-" + e.section('/', -1), format, innerItems));
                    if (e.endsWith("damaged.zip"))
                        bytes[bytes.indexOf(noise.mid(50000, 32))] ^= 1;
                    items.append({e, bytes});
                } else {
                    items.append({e.section('=', 0, 0), e.section('=', 1).toUtf8()});
                }
            }
            const QString path =
                archive(QStringLiteral("nested-%1.zip").arg(tag), "zip:store", items);
            Tree expected = treeOf(f.vek());
            for (const QString &a : after)
                expected.insert(a.section('=', 0, 0), a.section('=', 1).toUtf8());

            ImportArchive::Options options;
            options.groupLetters = QStringList{"A", "G"};
            const ImportArchive::Outcome o = ImportArchive::run(path, f.vek(), options);
            QVERIFY2((o.result == Result::Imported) == !after.isEmpty(), qPrintable(o.message));
            QVERIFY2(o.message.contains(said), qPrintable(o.message));
            QCOMPARE(treeOf(f.vek()), expected);
            QVERIFY(noStaging(f.vek()));
        }
    }

    void leavesNothing_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("said"); // a part of the message

        const auto refused = int(Result::Refused);
        const auto failed = int(Result::Failed);
        const auto hostile = [this](const char *row, const QString &format, const QString &entry) {
            return archive(QStringLiteral("%1.%2").arg(row, format), format,
                           {{"A-One/a.bmp", "a"}, {entry, "escaped"}});
        };
        // Every spelling of a way out is an entryPath row; here one of each kind, in each of
        // the two archive readers.
        QTest::newRow("up from inside")
            << hostile("inside", "zip", "A-One/../../x") << refused << "\"..\"";
        QTest::newRow("absolute") << hostile("absolute", "tar", escape_) << refused << "absolute";
        QTest::newRow("a name Windows cannot hold")
            << hostile("device", "zip", "A-One/Aux.txt") << refused
            << "its entry \"A-One/Aux.txt\" has the name \"Aux.txt\", which Windows cannot hold";
        QTest::newRow("symbolic link")
            << archive("link.tar", "tar",
                       {{"A-One/a.bmp", "a"}, {"A-One/l", "/etc", Kind::Symlink}})
            << refused << "symbolic link";
        QTest::newRow("device") << archive("device.tar", "tar",
                                           {{"A-One/a.bmp", "a"}, {"A-One/d", {}, Kind::Device}})
                                << refused << "device";
        QTest::newRow("names differing in case")
            << archive("case.zip", "zip", {{"A-One/a.bmp", "a"}, {"A-One/A.BMP", "b"}}) << refused
            << "differ only in case";
        QTest::newRow("a folder and a file differing in case")
            << archive("case2.zip", "zip", {{"A-One/sub/a", "a"}, {"A-One/SUB", "b"}}) << refused
            << "differ only in case";
        QTest::newRow("one name twice")
            << archive("twice.tar", "tar", {{"A-One/a", "a"}, {"A-One/a", "b"}}) << refused
            << "twice";
        {
            const QString lying = archives_.filePath("lying.zip");
            writeFile(lying, ArchiveMaker::lyingZip("A-One/big.dat", QByteArray(200000, 'x'), 10));
            // The zip's reading catches the lie first, as a damaged entry.
            QTest::newRow("an entry holding more than it claims")
                << lying << failed << "lying.zip\" is damaged";
        }
        QTest::newRow("an archive that unpacks to more than a hundred times its size")
            << archive("bomb.zip", "zip",
                       {{"A-One/a", "a"}, {"A-One/zeros.dat", QByteArray(17 << 20, '\0')}})
            << refused << "100 times";
        {
            // Cut in the middle of the files' bytes: a zip cut in its directory alone is still
            // read whole, entry by entry, and rightly so.
            QList<Item> big;
            for (int i = 0; i < 20; ++i)
                big.append({QStringLiteral("A-One/f%1").arg(i), QByteArray(30000, char('a' + i))});
            for (const QString format : {"zip", "tar.gz"}) {
                const QByteArray whole = contentOf(archive("whole." + format, format, big));
                const QString cut = archives_.filePath("cut." + format);
                writeFile(cut, whole.left(whole.size() / 2));
                QTest::newRow(qPrintable("a cut " + format)) << cut << failed << "cut." + format;
            }
        }
        // A byte flipped inside a file's packed bytes: only the checksum can tell. The noise
        // packs to itself, so it is found in the archive as it is.
        const QByteArray noise = ArchiveMaker::noise(200000);
        for (const char *format : {"zip:store", "zip", "7z:deflate", "tar.gz"}) {
            const QString name =
                QStringLiteral("damaged-%1.x").arg(QString(format).replace(':', '-'));
            QByteArray bytes = contentOf(
                archive(name, format, {{"A-One/a.bmp", "a"}, {"A-One/noise.dat", noise}}));
            const qsizetype at = bytes.indexOf(noise.mid(150000, 32));
            if (at < 0)
                qFatal("%s: the noise is not in the archive as it is", format);
            bytes[at + 10] = char(bytes.at(at + 10) ^ 0x55);
            writeFile(archives_.filePath(name), bytes);
            QTest::newRow(qPrintable(QStringLiteral("a checksum error in a %1").arg(format)))
                << archives_.filePath(name) << failed << "damaged";
        }
        {
            const QString linked = folder("linked", {{"A-One/a.bmp", "a"}});
            QFile::link(outside_.path(), linked + "/A-One/out");
            QTest::newRow("a folder holding a link out of it")
                << linked + "/A-One" << refused << "\"out\" is a link out of it";
        }
        const QString text = archives_.filePath("notes.zip");
        writeFile(text, "not an archive at all");
        QTest::newRow("no archive") << text << failed << "notes.zip";
        QTest::newRow("an empty archive")
            << archive("empty.zip", "zip", {}) << refused << "no files";
        // vek.ini gives the store's letter a group ("Cockpits:C"), and the player answers OK.
        const QString own = "keeps for itself (it holds campaign saves)";
        QTest::newRow("the default save store in another case")
            << archive("lower.tar", "tar", {{"C-DEFAULT/Campaign1.sav", "theirs"}}) << refused
            << "\"C-Default\" is a folder VEK Selector keeps";
        QTest::newRow("a save store beside a content folder")
            << archive("beside.zip", "zip", {{"A-New/a", "a"}, {"C-Alpha/Campaign1.sav", "x"}})
            << refused << own;
        QTest::newRow("a mission's store not made yet")
            << archive("beta.zip", "zip", {{"C-Beta/Campaign1.sav", "theirs"}}) << refused << own;
    }

    void leavesNothing() {
        QFETCH(QString, path);
        QFETCH(int, result);
        QFETCH(QString, said);
        TestFolders f;
        TestFolders::plant(f.vek(), {"A-Two/two.dat=two", "C-Default/Campaign1.sav=the game's own",
                                     "C-Alpha/Campaign1.sav=alpha progress"});
        const Tree before = treeOf(f.root());

        ImportArchive::Options options;
        options.groupLetters = QStringList{"A", "G", "M", "F", "C"};
        options.stores = QStringList{"C-Alpha", "C-Beta"};
        options.replace = [](const QStringList &) { return true; };
        const ImportArchive::Outcome o = ImportArchive::run(path, f.vek(), options);
        QCOMPARE(int(o.result), result);
        QVERIFY2(o.message.contains(said), qPrintable(o.message));
        QCOMPARE(treeOf(f.root()), before);
        QVERIFY(noStaging(f.vek()));
        QVERIFY(!QFileInfo::exists(escape_));
        QVERIFY(!QFileInfo::exists(QFileInfo(f.root()).absolutePath() + "/x"));
    }

    void existingFolder() {

        // Kept on Cancel and replaced on OK are rows of the command-line tool's tests.
        // cancelAt: files unpacked when the player cancels; -1 never; syncFails: the new folder
        // cannot be made sure on the disk
        const std::tuple<bool, bool, int, bool> rows[] = {
            {true, true, -1, false}, // never replaced while loaded, not even asked
            {false, true, 0, false}, // Cancel before the first file
            {false, true, 1, false}, // Cancel after a file
            {false, true, -1, true}, // kept when the sync fails
        };
        for (auto [loaded, answer, cancelAt, syncFails] : rows) {
            TestFolders f;
            TestFolders::write(f.vek() + "/A-One", "old.dat", "the player's own");
            FileSync::setFault([&](const QString &) {
                return syncFails ? QStringLiteral("the disk is gone") : QString();
            });
            const auto lift = qScopeGuard([] { FileSync::setFault({}); });
            ScriptedPrompt prompt({answer});
            auto s = openSelector(f, prompt);
            if (loaded)
                QVERIFY(clickRow(*s, "A-One"));
            const Tree game = treeOf(f.game());
            const Tree before = treeOf(f.vek());
            // Stops the unpacking once `cancelAt` files are done, as the player's Cancel would.
            ProgressHook stop([&](qsizetype done, const QString &) { return done < cancelAt; });
            if (cancelAt >= 0)
                s->setProgress(&stop);
            const QString path =
                archive("existing.zip", "zip", filesOf({"A-One/a", "A-One/b", "A-One/c"}));

            const ImportArchive::Outcome o = s->contentImport().run(path);
            QVERIFY(o.result != Result::Imported);
            QCOMPARE(treeOf(f.game()), game);
            QCOMPARE(treeOf(f.vek()), before);
            QVERIFY(!prompt.shown.isEmpty());
            if (syncFails)
                QVERIFY2(o.message.contains("the disk is gone") &&
                             o.message.contains("back as they were"),
                         qPrintable(o.message));
            // Asked only where replacing was possible at all.
            const bool asked =
                std::any_of(prompt.shown.cbegin(), prompt.shown.cend(),
                            [](const auto &m) { return m.buttons == Prompt::Buttons::OkCancel; });
            QCOMPARE(asked, !loaded);
            QVERIFY(noStaging(f.vek()));
            QCOMPARE(s->Unigrid.row(s->Unigrid.find("A-One")).loaded, loaded);
        }
    }

    // An archive shaped like a VEK folder: its folders, skins and scripts come in one step,
    // its text files add what the VEK folder lacks, its saves stay out.
    void collection_data() {
        QTest::addColumn<QStringList>("entries"); // "path=bytes"
        QTest::addColumn<QString>("loaded");      // a folder loaded before the import
        QTest::addColumn<bool>("answer");         // to the one question, when asked
        QTest::addColumn<QStringList>("after");   // "path=bytes" new or changed, "-path" gone
        QTest::addColumn<QString>("said");        // a part of what the player was told

        using L = QStringList;
        const L full{"linkscreen=theirs",
                     "vek.ini=Aircraft:A\r\nShips:S\r\n",
                     "links.txt=Home\r\nhttps://example.org/\r\nBoats\r\nhttps://example.org/"
                     "boats\r\n",
                     "helpfile.txt=Old line\r\nBoats sail.\r\n",
                     "A-One/a.dat=a",
                     "S-Boat/b.dat=b",
                     "Skinfolder/A-05 Red/r.tpc=r",
                     "Autoscripts/go.txt=A-One\r\n",
                     "C-Default/Campaign1.sav=their save",
                     "M-Beta/m.msn=m",
                     "C-Beta/Campaign1.sav=their save",
                     "Interchange/x.sav=x",
                     "Docs/readme.txt=r"};
        const L landed{"A-One/a.dat=a",
                       "S-Boat/b.dat=b",
                       "M-Beta/m.msn=m",
                       "Skinfolder/A-05 Red/r.tpc=r",
                       "Autoscripts/go.txt=A-One\r\n",
                       "vek.ini=Aircraft:A\r\nGeneral:G\r\nMissions:M\r\nFlight:F\r\nShips:S\r\n",
                       "links.txt=Home\r\nhttps://EXAMPLE.org/\nHelp\r\n\r\nBoats\r\n"
                       "https://example.org/boats\r\n",
                       "helpfile.txt=Old line\r\nBoats sail.\r\n"};
        QTest::newRow("a whole collection")
            << full << "" << true << landed
            << "Imported: the content folders \"A-One\", \"M-Beta\", \"S-Boat\"; the skin \"A-05 "
               "Red\"; the autoscript \"go.txt\"; the group \"Ships:S\" in vek.ini; 1 link in "
               "links.txt; 1 line in helpfile.txt.\r\n\r\nLeft out (saves and folders that are "
               "not content): \"C-Beta\", \"C-Default\", \"Docs\", \"Interchange\"";
        const L update{"Pack/LINKSCREEN=x", "Pack/A-Old/new.dat=new",
                       "Pack/Autoscripts/mine.txt=theirs"};
        QTest::newRow("an update in a folder, replacing on OK")
            << update << "" << true
            << L{"-A-Old/old.dat", "A-Old/new.dat=new", "Autoscripts/mine.txt=theirs"}
            << "\"A-Old\", \"Autoscripts/mine.txt\" is in the VEK folder already";
        QTest::newRow("an update kept on Cancel") << update << "" << false << L{} << "was kept";
        QTest::newRow("never over a loaded folder")
            << update << "A-Old" << true << L{} << "\"A-Old\" is loaded";
        QTest::newRow("a collection holding a path out of its folder")
            << L{"Pack/linkscreen=x", "Pack/A-One/a=a", "Pack/A-One/../../x=x"} << "" << true << L{}
            << "\"..\"";
        QTest::newRow("a collection with a name Windows-1252 cannot spell")
            << L{"linkscreen=x", "A-One/a=a", "Autoscripts/\u03a9.txt=x"} << "" << true << L{}
            << "8-bit text";
    }

    void collection() {
        QFETCH(QStringList, entries);
        QFETCH(QString, loaded);
        QFETCH(bool, answer);
        QFETCH(QStringList, after);
        QFETCH(QString, said);
        TestFolders f;
        TestFolders::plant(f.vek(), {"A-Old/old.dat=old", "Autoscripts/mine.txt=mine",
                                     "links.txt=Home\r\nhttps://EXAMPLE.org/\nHelp\r\n",
                                     "helpfile.txt=Old line\r\n"});
        ScriptedPrompt prompt({answer});
        auto s = openSelector(f, prompt);
        if (!loaded.isEmpty())
            QVERIFY(clickRow(*s, loaded));
        QList<Item> items;
        for (const QString &e : entries)
            items.append({e.section('=', 0, 0), e.section('=', 1).toUtf8()});
        const QString path =
            archive(QStringLiteral("collection-%1.zip").arg(QTest::currentDataTag()), "zip", items);
        Tree expected = foldersAndTexts(f.vek());
        for (const QString &a : after)
            if (a.startsWith('-'))
                expected.remove(a.mid(1));
            else
                expected.insert(a.section('=', 0, 0), a.section('=', 1).toUtf8());

        const ImportArchive::Outcome o = s->contentImport().run(path);
        QCOMPARE(o.result == Result::Imported, !after.isEmpty());
        QCOMPARE(foldersAndTexts(f.vek()), expected);
        QVERIFY2(prompt.allText().contains(said), qPrintable(prompt.allText()));
        QVERIFY(noStaging(f.vek()));
        if (!after.isEmpty())
            QVERIFY(s->Unigrid.find("A-One") > 0 || s->Unigrid.find("A-Old") > 0);
    }

    void listedAtOnce() {
        TestFolders f;
        TestFolders::write(f.vek() + "/A-One", "shared.tpc", "one");
        ScriptedPrompt prompt;
        auto s = openSelector(f, prompt);
        QVERIFY(clickRow(*s, "A-One"));
        const QString path =
            archive("new.7z", "7z", {{"G-New/shared.tpc", "new"}, {"A-05 Red/r.tpc", "red"}});

        QCOMPARE(s->contentImport().run(path).result, Result::Imported);
        const int row = s->Unigrid.find("G-New");
        QVERIFY(row > 0);
        QVERIFY(!s->Unigrid.row(row).loaded);
        QVERIFY(s->SK1.find("A-05 Red") > 0);
        QVERIFY(s->Unigrid.row(s->Unigrid.find("A-One")).loaded);
        // The conflicts preview knows the new folder at once.
        QStringList lines;
        QVERIFY(s->loadedFiles().conflictsOf("G-New", &lines));
        QCOMPARE(lines, QStringList{"shared.tpc\tA-One"});
        QCOMPARE(s->Status, "Imported \"Skinfolder/A-05 Red\", \"G-New\" from new.7z: 2 files, not "
                            "loaded.");
    }

    void leftoverAtStart() {
        // The hidden folder's name; the files in it: "path=bytes"; "/path" in the VEK folder;
        // "path->" a link to a folder outside; ">A-One" A-One set aside as "old-0"; and whether
        // it is kept as it is, and the player told.

        const QString h = ".vek-import-a1";
        using L = QStringList;
        const std::tuple<const char *, QString, QStringList, bool> rows[] = {
            {"unpacking cut short", h, L{"0/a.dat=a"}, false},
            {"a removal cut short", ".vek-imported-a1", L{"old-0/x=x"}, false},
            {"a folder set aside, its plan lost", h, L{"old-0/own.dat=own"}, true},
            {"a plan of another kind", h, L{"plan=A-One\tA-One\r\n", "old-0/own.dat=own"}, true},
            {"a folder put in place", h,
             L{"plan=made\t\r\n0\tA-New\t\r\nfolder\t0\tsub\r\nfile\t0\tsub/n.dat\t3\r\n",
               "/A-New/sub/n.dat=new"},
             false},
            {"a folder put in place over one set aside", h,
             L{"plan=made\t\r\n0\tA-One\tA-One\r\nfile\t0\tn.dat\t3\r\n", ">A-One",
               "/A-One/n.dat=new"},
             false},
            {"a plan naming a content folder", h, L{"plan=made\t\r\n0\tA-One\t\r\n"}, true},
            {"a plan naming the default save store", h, L{"plan=made\t\r\n0\tC-Default\t\r\n"},
             true},
            {"a plan naming a folder that holds more", h,
             L{"plan=made\t\r\n0\tA-One\t\r\nfile\t0\tone.dat\t3\r\n", "/A-One/mine.dat=mine"},
             true},
            {"a plan whose folder set aside has no free place", h,
             L{"plan=made\t\r\n0\tA-One\tA-One\r\n", "0/n.dat=new", "old-0/one.dat=theirs"}, true},
            {"a plan naming a place outside", h, L{"plan=made\t\r\n0\t../A-One\t\r\n", "0/a=a"},
             true},
            {"a plan naming an absolute path", h,
             L{"plan=made\t\r\n0\t" + outside_.path() + "/A-One\t\r\n"}, true},
            {"a plan naming a place through a link", h,
             L{"plan=made\t\r\n0\tOut/A-One\t\r\n", "/Out->"}, true},
            {"a hidden folder that is a link", ".vek-import-ln", L{"/.vek-import-ln->"}, true},
        };
        for (const auto &[tag, hidden, files, kept] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            TestFolders::plant(f.vek(),
                               {"A-One/one.dat=one", "C-Default/notes.txt=the player's own"});
            TestFolders::write(outside_.path() + "/A-One", "x.dat", "x");
            const Tree before = treeOf(f.vek());
            for (const QString &file : files) {
                const QString path = file.section('=', 0, 0);
                const QString at =
                    path.startsWith('/') ? f.vek() + path : f.vek() + "/" + hidden + "/" + path;
                if (path.startsWith('>'))
                    QVERIFY(QDir().rename(f.vek() + "/" + path.mid(1),
                                          f.vek() + "/" + hidden + "/old-0"));
                else if (path.endsWith("->"))
                    QVERIFY(QFile::link(outside_.path(), at.chopped(2)));
                else
                    TestFolders::write(QFileInfo(at).absolutePath(), QFileInfo(at).fileName(),
                                       file.section('=', 1).toUtf8());
            }
            const Tree planted = treeOf(f.vek());
            ScriptedPrompt prompt;
            auto s = openSelector(f, prompt);
            Tree now = treeOf(f.vek());
            // What the start writes of its own (ledgers, the stores) is not the import's.
            // The start moves the default store's saves on; the player's file stays somewhere.
            now.removeIf([&](const auto &it) {
                return !(planted.contains(it.key()) || before.contains(it.key())) ||
                       it.key().startsWith("C-Default/");
            });
            Tree expected = kept ? planted : before;
            expected.removeIf([](const auto &it) { return it.key().startsWith("C-Default/"); });
            const Tree all = treeOf(f.root());
            QCOMPARE(std::count(all.cbegin(), all.cend(), QByteArray("the player's own")), 1);
            QCOMPARE(now, expected);
            const bool told = std::any_of(prompt.shown.cbegin(), prompt.shown.cend(),
                                          [&](const auto &m) { return m.text.contains(hidden); });
            QCOMPARE(told, kept);
            QVERIFY(s->Unigrid.find(hidden) == 0);
            QCOMPARE(TestFolders::read(outside_.path() + "/A-One", "x.dat"), QByteArray("x"));
        }
    }

    // What is needed and what is free, each shown as exactly as it takes to tell them apart.
    void spaceRefusal() {
        const qint64 mb = 1 << 20;
        const std::tuple<qint64, qint64, const char *> rows[] = {
            {20000, 8192, "20 KB|8 KB"},
            {900, 1, "900 bytes|1 byte"},
            {5 * mb + 1, 8192, "5.0 MB|8 KB"},
            {8500, 8300, "8.3 KB|8.1 KB"},
            {mb + 600, mb - 1, "1.001 MB|1024.00 KB"},
            {mb + 1, mb, "1048577 bytes|1048576 bytes"},
            {qint64(10.44 * mb), qint64(10.36 * mb), "10.44 MB|10.36 MB"},
            {3072 * mb, 2048 * mb, "3072.0 MB|2048.0 MB"},
        };
        for (const auto &[needed, free, sizes] : rows)
            QCOMPARE(ImportArchive::spaceRefusal(needed, free),
                     QStringLiteral("it unpacks to %1, and the VEK folder's disk has %2 free.")
                         .arg(QString(sizes).section('|', 0, 0), QString(sizes).section('|', 1)));
    }

private:
    QString archive(const QString &name, const QString &format, const QList<Item> &items) {
        const QString path = archives_.filePath(name);
        const QString error = ArchiveMaker::write(path, format, items);
        if (!error.isEmpty())
            qFatal("%s: %s", qPrintable(name), qPrintable(error));
        return path;
    }

    /// The folder `name` holding `items` (files and folders), made once.
    QString folder(const QString &name, const QList<Item> &items) {
        const QString path = archives_.filePath(name);
        for (const Item &i : items)
            if (i.kind == Kind::Folder)
                QDir().mkpath(path + "/" + i.name);
            else
                TestFolders::write(QFileInfo(path + "/" + i.name).absolutePath(),
                                   QFileInfo(i.name).fileName(), i.bytes);
        return path;
    }

    QTemporaryDir archives_;
    /// A folder outside the VEK folder that links in leftovers point at: never touched.
    QTemporaryDir outside_;
    /// An absolute path an entry "/..." aims at: it must never come into being.
    QString escape_ =
        QDir::tempPath() +
        QStringLiteral("/vek-import-escape-%1").arg(QCoreApplication::applicationPid());
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"

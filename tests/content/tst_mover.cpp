// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBytes.h"
#include "FileCopy.h"
#include "FileList.h"
#include "FileMover.h"
#include "FileOps.h"
#include "FileSizeCap.h"
#include "FileSync.h"
#include "FolderListing.h"
#include "FolderMoves.h"
#include "ImmutableMarks.h"
#include "Rows.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <optional>

Q_DECLARE_METATYPE(FileCopy::Way)

namespace {

// Every entry of a folder, hidden ones and folders included, so that a stray temporary file
// or a second file differing only in case shows up. Folders carry a trailing "/".
QStringList everything(const QString &folder) {
    QStringList names;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                             QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &fi : entries)
        names << fi.fileName() + (fi.isDir() ? QStringLiteral("/") : QString());
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray gameBytes(const QString &name) {
    return "game:" + name.toUtf8();
}
QByteArray contentBytes(const QString &name) {
    return "content:" + name.toUtf8();
}

// A name ending in "/" makes a folder holding one file, "inner.dat".
void fill(const QString &folder, const QStringList &names, QByteArray (*bytes)(const QString &)) {
    for (const QString &name : names) {
        if (name.endsWith(QLatin1Char('/')))
            TestFolders::write(QDir(folder).filePath(name.chopped(1)), QStringLiteral("inner.dat"),
                               bytes(QStringLiteral("inner.dat")));
        else
            TestFolders::write(folder, name, bytes(name));
    }
}

// "name" is a game file that kept its bytes, "name<source" one that holds the bytes of the
// content file `source`, "name/" a folder; `others` must be there unchanged as well.
void verifyFolder(const QString &folder, const QStringList &expected,
                  const QMap<QString, QByteArray> &others = {}) {
    QStringList names = others.keys();
    for (const QString &entry : expected)
        names << entry.section(QLatin1Char('<'), 0, 0);
    std::sort(names.begin(), names.end());
    QCOMPARE(everything(folder), names);
    for (const QString &entry : expected) {
        if (entry.endsWith(QLatin1Char('/')))
            continue;
        const QString name = entry.section(QLatin1Char('<'), 0, 0);
        const QString source = entry.section(QLatin1Char('<'), 1);
        QCOMPARE(TestFolders::read(folder, name),
                 source.isEmpty() ? gameBytes(name) : contentBytes(source));
    }
    for (auto it = others.begin(); it != others.end(); ++it)
        QCOMPARE(TestFolders::read(folder, it.key()), it.value());
}

struct Captions {
    QStringList shown;
    std::function<void(const QString &)> onCaption;
    FileMover::Caption callback() {
        return [this](const QString &caption) {
            shown << caption;
            if (onCaption)
                onCaption(caption);
        };
    }
};

// Every way of copying that this system has; the fast one falls back by itself elsewhere.
QList<std::pair<FileCopy::Way, const char *>> ways() {
    return {
#ifdef Q_OS_LINUX
        {FileCopy::Way::Best, "unnamed file"},
        {FileCopy::Way::NamedTemporary, "named temporary"},
#endif
        {FileCopy::Way::Portable, "portable"},
    };
}

constexpr int kLimit = 64 * 1024;
const QByteArray kTooBig(4 * kLimit, 'b');

// A game folder, what it held before a test put its own in, and the content folder "A-One".
struct Stage {
    TestFolders folders;
    const QString game = folders.game();
    const QMap<QString, QByteArray> base = filesOf(game);
    const QString folder = QDir(folders.vek()).filePath(QStringLiteral("A-One"));
    const QString saves = QDir(game).filePath(QStringLiteral("Savedata"));
    QString store(const QString &name) const { return QDir(folders.vek()).filePath(name); }
};

using L = QStringList;
// A load, or else an unload: the game folder's files, the content folder's, the game folder's
// after it, and the files copied or deleted as the captions say.
using MoveRow = std::tuple<const char *, bool, L, L, L, L>;
// How the files named in the list cannot go, and the reason told.
using OutRow = std::tuple<const char *, QString, L, QString>;
// The entries of a folder, the names asked, and per asked name its finds joined by "|".
using FindRow = std::tuple<const char *, L, L, L>;

} // namespace

class TestMover : public QObject {
    Q_OBJECT
private slots:
    // What a load copies of these, the load rows of moveInAndOut show. The first list is
    // skipped: ECA files, the preview picture (bare or as a picture), the description and the
    // picture kinds; the second is not: the same words elsewhere in a name, or not last in it.
    void skipRule() {
        for (const char *n : {"ECA1.DAT", "eca_raid.dat", "MYPIC", "mypic", "mypic.bmp",
                              "Contents.txt", "shot.JPG", "hud.pcx", "menu.Bmp", "anim.gif"})
            QVERIFY2(FileMover::skipped(n), n);
        for (const char *n : {"areca.dat", "mypic.txt", "skinpic", "contents.txt.bak", "shot.jpeg",
                              "gif", "shot.jpg.dat"})
            QVERIFY2(!FileMover::skipped(n), n);
    }

    void moveInAndOut() {
        const QString exe = QStringLiteral("hangar.dat");
        const MoveRow rows[] = {
            {"load: new files, in name order", true, L{exe}, L{"b.dat", "A.dat"},
             L{"A.dat<A.dat", "b.dat<b.dat", exe}, L{"A.dat", "b.dat"}},
            {"load: description, preview and pictures only", true, L{exe},
             L{"contents.txt", "MYPIC", "shot.jpg", "menu.BMP", "a.gif", "h.pcx", "ECA1"}, L{exe},
             L{}},
            {"load: a game file under another case is replaced, not doubled", true,
             L{"pnames.str", exe}, L{"PNAMES.STR"}, L{exe, "pnames.str<PNAMES.STR"},
             L{"PNAMES.STR"}},
            {"load: the exact name wins over another case", true, L{"a.dat", "A.DAT"}, L{"a.dat"},
             L{"A.DAT", "a.dat<a.dat"}, L{"a.dat"}},
            {"load: else the first case variant in name order", true, L{"a.dat", "A.DAT"},
             L{"A.dat"}, L{"A.DAT<A.dat", "a.dat"}, L{"A.dat"}},
            {"load: two content names differing in case make one game file", true, L{},
             L{"x.dat", "X.DAT"}, L{"X.DAT<x.dat"}, L{"X.DAT", "x.dat"}},
            {"load: subfolders are not copied", true, L{exe}, L{"P-Spit/", "plane.dat"},
             L{exe, "plane.dat<plane.dat"}, L{"plane.dat"}},
            {"load: hidden files are copied", true, L{}, L{".hidden"}, L{".hidden<.hidden"},
             L{".hidden"}},
            {"unload: files that are not there delete nothing", false, L{exe}, L{"a.dat", "b.dat"},
             L{exe}, L{}},
            {"unload: no skip rule, description, preview, pictures and ECA files go too", false,
             L{"CONTENTS.TXT", "mypic", "Shot.JPG", "eca1.dat", exe},
             L{"contents.txt", "MYPIC", "shot.jpg", "ECA1.DAT"}, L{exe},
             L{"CONTENTS.TXT", "eca1.dat", "mypic", "Shot.JPG"}},
            {"unload: two content names of one game file delete it once", false, L{"x.dat"},
             L{"x.dat", "X.DAT"}, L{}, L{"x.dat"}},
            {"unload: a game folder of that name is not a file", false, L{"sub/", exe}, L{"sub"},
             L{exe, "sub/"}, L{}},
            {"unload: files of content subfolders are not deleted", false,
             L{"inner.dat", "plane.dat"}, L{"P-Spit/", "plane.dat"}, L{"inner.dat"},
             L{"plane.dat"}},
        };
        for (const auto &[tag, in, game, content, after, moved] : rows) {
            const CaseName inCase(tag);

            Stage s;
            QVERIFY(QDir().mkpath(s.folder));
            fill(s.game, game, gameBytes);
            fill(s.folder, content, contentBytes);
            // Read-only sources (content from a CD) load as normal files and are left normal too.
            for (const QString &name : FileList::files(s.folder))
                QVERIFY(FileOps::setReadOnly(FileList::join(s.folder, name), true));

            Captions captions;
            QString error;
            QVERIFY2(in ? FileMover::MoveIn(s.folder, s.game, captions.callback(), &error)
                        : FileMover::MoveOut(s.folder, s.game, captions.callback(), &error),
                     qPrintable(error));
            verifyFolder(s.game, after, s.base);
            QCOMPARE(captions.shown,
                     QStringList(moved).replaceInStrings(
                         QRegularExpression("^"), in ? "Please wait- copying: :" : "Deleting "));
            QCOMPARE(everything(s.folder).size(), content.size());
            for (const QString &name : FileList::files(s.game))
                QVERIFY2(!FileOps::isReadOnly(FileList::join(s.game, name)), qPrintable(name));
            for (const QString &name : in ? moved : QStringList())
                QVERIFY2(!FileOps::isReadOnly(FileList::join(s.folder, name)), qPrintable(name));
        }
    }

    void failedMoveInTakesItsCopiesOut_data() {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("reason");
        const char *rows[][3] = {
            {"read-only game file", "read-only", "read-only"},
            {"folder in the game folder", "folder in game", "folder"},
            {"source deleted meanwhile", "source gone", "does not exist"},
            {"source turned into a folder", "source folder", "folder"},
#ifdef Q_OS_LINUX
            {"write fails midway", "write fails", "too large"},
#endif
        };
        for (const auto &[tag, trouble, reason] : rows)
            QTest::newRow(tag) << QString(trouble) << QString(reason);
    }

    // The third of four files fails. The new file before it must be taken out again, and so must
    // the copy that replaced a game file (the ledger will not name the folder, so nothing of it
    // may stay); files after it are never copied; the rest of the game folder is untouched.
    void failedMoveInTakesItsCopiesOut() {
        QFETCH(QString, trouble);
        QFETCH(QString, reason);

        Stage s;
        const QString culprit = QStringLiteral("c_trouble.dat");
        fill(s.folder, {"a_new.dat", "b_replaced.dat", culprit, "d_new.dat"}, contentBytes);
        fill(s.game, {"hangar.dat", "b_replaced.dat", "keep.dat"}, gameBytes);
        QStringList after{"hangar.dat", "keep.dat"};
        const QString source = FileList::join(s.folder, culprit);
        if (trouble == "read-only") {
            fill(s.game, {culprit}, gameBytes);
            QVERIFY(FileOps::setReadOnly(FileList::join(s.game, culprit), true));
            after << culprit;
        } else if (trouble == "folder in game") {
            fill(s.game, {culprit + "/"}, gameBytes);
            after << culprit + "/";
        } else if (trouble == "write fails") {
            TestFolders::write(s.folder, culprit, kTooBig);
        }
        // The rest happen while the culprit's copy is announced.
        Captions captions;
        captions.onCaption = [&](const QString &c) {
            if (!c.endsWith(culprit))
                return;
            if (trouble.startsWith("source") && QFile::remove(source) && trouble == "source folder")
                QDir().mkdir(source);
        };

        QString error;
        {
            std::optional<FileSizeCap> limit;
            if (trouble == "write fails")
                limit.emplace(kLimit);
            QVERIFY(!FileMover::MoveIn(s.folder, s.game, captions.callback(), &error));
        }
        QVERIFY2(error.contains(culprit) && error.contains(reason), qPrintable(error));
        verifyFolder(s.game, after, s.base);
        if (trouble == "read-only")
            QVERIFY(FileOps::isReadOnly(FileList::join(s.game, culprit)));
        QVERIFY(!captions.shown.last().endsWith(QStringLiteral("d_new.dat")));
    }

    void moveOutIsAllOrNothing_data() {
        const OutRow rows[] = {
            // Found before the first delete: nothing goes.
            {"every such file is named", "read-only", L{"a.dat", "d.dat"}, "read-only"},
            {"a read-only game folder", "read-only folder", L{"a.dat"}, "read-only"},
            // Marks the system keeps even from the administrator (tests may run as root).
            {"an immutable file", "immutable", L{"c.dat"}, "immutable"},
            {"an immutable game folder", "immutable folder", L{"a.dat"}, "immutable"},
            // Not foreseeable: the files deleted before it come back from the content folder.
            {"a file replaced by a folder during the unload", "folder meanwhile", L{"c.dat"},
             "folder"},
            {"a file made immutable during the unload", "immutable meanwhile", L{"c.dat"},
             "not permitted"},
        };
        addRows(rows);
    }

    // A-One is loaded; one of its files cannot go. The unload leaves the game folder holding
    // every file of it, as the ledger says, and names the file and why.
    void moveOutIsAllOrNothing() {
        QFETCH(OutRow, row);
        const auto &[tag, trouble, culprits, reason] = row;

        Stage s;
        const QStringList names{"a.dat", "b.dat", "c.dat", "d.dat"};
        fill(s.folder, names, contentBytes);
        fill(s.game, {"hangar.dat"}, gameBytes);
        QString error;
        QVERIFY2(FileMover::MoveIn(s.folder, s.game, {}, &error), qPrintable(error));
        // Cleared whatever the outcome, or the folder cannot be removed.
        ImmutableMarks marks;
        const auto writable = qScopeGuard([&] { FileOps::setReadOnly(s.game, false); });
        const QString first = FileList::join(s.game, culprits.first());
        if (trouble == "read-only")
            for (const QString &c : culprits)
                QVERIFY(FileOps::setReadOnly(FileList::join(s.game, c), true));
        if (trouble == "read-only folder")
            QVERIFY(FileOps::setReadOnly(s.game, true));
        if ((trouble == "immutable" && !marks.set(first)) ||
            (trouble == "immutable folder" && !marks.set(s.game)))
            QSKIP("this file system keeps no immutable mark");
        Captions captions;
        captions.onCaption = [&](const QString &caption) {
            if (caption != QStringLiteral("Deleting ") + culprits.first())
                return;
            if (trouble == "folder meanwhile") {
                QFile::remove(first);
                fill(s.game, {culprits.first() + "/"}, gameBytes);
            } else if (trouble == "immutable meanwhile") {
                marks.set(first);
            }
        };
        QVERIFY(!FileMover::MoveOut(s.folder, s.game, captions.callback(), &error));

        QStringList after{"hangar.dat"};
        for (const QString &n : names)
            after << (trouble == "folder meanwhile" && n == culprits.first() ? n + "/"
                                                                             : n + "<" + n);
        FileOps::setReadOnly(s.game, false);
        verifyFolder(s.game, after, s.base);
        for (const QString &c : culprits)
            QVERIFY2(error.contains(QDir::toNativeSeparators(FileList::join(s.game, c))),
                     qPrintable(error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        if (!trouble.endsWith("meanwhile"))
            QCOMPARE(captions.shown, QStringList());
    }

    // A name the game folder holds in two cases is one file to the game: the unload takes out
    // each that holds the folder's bytes, and names each other one as a file it could not take
    // out (failing the unload), since that one is the game's or the player's.
    void moveOutOfANameInSeveralCases_data() {
        QTest::addColumn<QStringList>("game"); // "name", or "name<source": the content's bytes
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("named"); // the files the unload says it left
        using L = QStringList;
        // A file that stays keeps the others: the unload is all or nothing.
        QTest::newRow("the loaded copy under the other case: the other is named, nothing goes")
            << L{"a1.dat", "A1.DAT<a1.dat"} << L{"a1.dat", "A1.DAT<a1.dat", "b.dat"} << L{"a1.dat"};
        QTest::newRow("neither does: both stay, both named")
            << L{"a1.dat", "A1.DAT"} << L{"A1.DAT", "a1.dat", "b.dat"} << L{"A1.DAT", "a1.dat"};
    }

    void moveOutOfANameInSeveralCases() {
        QFETCH(QStringList, game);
        QFETCH(QStringList, after);
        QFETCH(QStringList, named);
        Stage s;
        fill(s.folder, {"a1.dat", "b.dat"}, contentBytes);
        fill(s.game, {"b.dat"}, gameBytes);
        for (const QString &entry : game) {
            const QString name = entry.section('<', 0, 0), source = entry.section('<', 1);
            TestFolders::write(s.game, name,
                               source.isEmpty() ? gameBytes(name) : contentBytes(source));
        }
        QString error;
        QCOMPARE(FileMover::MoveOut(s.folder, s.game, {}, &error), named.isEmpty());
        // The game's own view of the folder leaves the plain files alone; b.dat goes when all do.
        verifyFolder(s.game, after, s.base);
        for (const QString &name : named)
            QVERIFY2(error.contains(QDir::toNativeSeparators(FileList::join(s.game, name)) +
                                    "\": the game folder holds this name in more than one case"),
                     qPrintable(error));
        QCOMPARE(error.count("Could not take out"), named.size());
    }

    // Moving the game folder onto itself, by the same path or with a trailing separator, would
    // have an unload delete the game's own files.
    void sameFolderDoesNothing() {
        for (const QString suffix : {"", "/"}) {
            Stage s;
            fill(s.game, {"hangar.dat", "planes.dat"}, gameBytes);
            QVERIFY(
                FileOps::setReadOnly(FileList::join(s.game, QStringLiteral("planes.dat")), true));

            Captions captions;
            QString error;
            QVERIFY(FileMover::MoveIn(s.game + suffix, s.game, captions.callback(), &error));
            QVERIFY(FileMover::MoveOut(s.game + suffix, s.game, captions.callback(), &error));
            verifyFolder(s.game, {"hangar.dat", "planes.dat"}, s.base);
            QVERIFY(FileOps::isReadOnly(FileList::join(s.game, QStringLiteral("planes.dat"))));
            QCOMPARE(captions.shown, QStringList{});
        }
    }

    // Neither a load nor an unload may answer success for files it never saw, the content
    // folder's or the game folder's: the ledger would then record a state the game folder does
    // not have.
    void missingFolderIsReported() {
        for (const bool in : {true, false})
            for (const bool contentMissing : {true, false}) {
                Stage s;
                fill(s.folder, {"a.dat"}, contentBytes);
                fill(s.game, {"a.dat"}, gameBytes);
                const QString missing = contentMissing ? s.folder : s.game;
                QVERIFY(QDir(missing).removeRecursively());
                QString error;
                QVERIFY(!(in ? FileMover::MoveIn(s.folder, s.game, {}, &error)
                             : FileMover::MoveOut(s.folder, s.game, {}, &error)));
                QVERIFY2(error.contains(QDir::toNativeSeparators(missing)), qPrintable(error));
            }
    }

    void findAll() {
        const FindRow rows[] = {
            {"other case", L{"PLANES.DAT", "x"}, L{"planes.dat"}, L{"PLANES.DAT"}},
            {"absent", L{"x"}, L{"planes.dat"}, L{""}},
            {"other case beyond ASCII", L{QStringLiteral("\u00c4RGER.DAT")},
             L{QStringLiteral("\u00e4rger.dat")}, L{QStringLiteral("\u00c4RGER.DAT")}},
            {"a non-ASCII name that folds to an ASCII one", L{"K.DAT"},
             L{QStringLiteral("\u212a.dat")}, L{"K.DAT"}},
            {"several cases of one name", L{"a.dat", "A.DAT", "b.dat"}, L{"A.dat"},
             L{"A.DAT|a.dat"}},
            {"one name asked in two cases", L{"x.dat"}, L{"x.dat", "X.DAT"}, L{"x.dat", "x.dat"}},
            {"a folder is not a file", L{"sub/"}, L{"SUB"}, L{""}},
            {"a link counts by what it points to",
             L{"real.dat", "link.dat->real.dat", "sub/", "dirlink->sub", "dead->gone"},
             L{"LINK.DAT", "DIRLINK", "dead"}, L{"link.dat", "", ""}},
        };
        for (const auto &[tag, entries, asked, expected] : rows) {
            const CaseName inCase(tag);

            QTemporaryDir dir;
            for (const QString &entry : entries) {
                if (entry.contains(QStringLiteral("->")))
                    QVERIFY(QFile::link(entry.section(QStringLiteral("->"), 1),
                                        dir.filePath(entry.section(QStringLiteral("->"), 0, 0))));
                else
                    fill(dir.path(), {entry}, gameBytes);
            }
            QList<QStringList> present;
            QString error;
            QVERIFY2(FolderListing::findAll(dir.path(), asked, &present, &error),
                     qPrintable(error));
            QStringList joined;
            for (QStringList names : present) {
                std::sort(names.begin(), names.end());
                joined << names.join(QLatin1Char('|'));
            }
            QCOMPARE(joined, expected);
        }
    }

    void copyPrimitive_data() {
        QTest::addColumn<FileCopy::Way>("way");
        QTest::addColumn<bool>("targetPresent");

        for (const auto &[way, name] : ways()) {
            QTest::addRow("%s, new file", name) << way << false;
            QTest::addRow("%s, over a file", name) << way << true;
        }
    }

    void copyPrimitive() {
        QFETCH(FileCopy::Way, way);
        QFETCH(bool, targetPresent);

        QTemporaryDir dir;
        QByteArray bytes(3 * (1 << 20) + 7, Qt::Uninitialized);
        QRandomGenerator rng(7);
        for (char &c : bytes)
            c = char(rng.bounded(256));
        TestFolders::write(dir.filePath(QStringLiteral("from")), QStringLiteral("big.dat"), bytes);
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("to"))));
        if (targetPresent)
            TestFolders::write(dir.filePath(QStringLiteral("to")), QStringLiteral("big.dat"),
                               QByteArray(5 * (1 << 20), 'x'));

        const QString from = dir.filePath(QStringLiteral("from/big.dat"));
        const QString to = dir.filePath(QStringLiteral("to/big.dat"));
        QVERIFY(FileOps::setReadOnly(from, true));
        QString error;
        const bool ok = FileCopy::copyReplace(from, to, &error, true, way);
        QVERIFY2(ok, qPrintable(error));
        QCOMPARE(TestFolders::read(dir.filePath(QStringLiteral("to")), QStringLiteral("big.dat")),
                 bytes);
        QCOMPARE(everything(dir.filePath(QStringLiteral("to"))), QStringList{"big.dat"});
        QVERIFY(!FileOps::isReadOnly(to));
        QVERIFY(!FileOps::isReadOnly(from));
    }

    void copyPrimitiveRefused_data() {
        QTest::addColumn<FileCopy::Way>("way");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("named");
        QStringList obstacles{"read-only target", "folder at the target", "missing source",
                              "source is a folder", "no destination folder"};
#ifdef Q_OS_LINUX
        obstacles << "write fails midway";
#endif
        for (const auto &[way, name] : ways())
            for (const QString &o : obstacles)
                QTest::addRow("%s: %s", name, qPrintable(o))
                    << way << o << QString(o.contains("source") ? "from" : "to");
    }

    void copyPrimitiveRefused() {
        QFETCH(FileCopy::Way, way);
        QFETCH(QString, obstacle);
        QFETCH(QString, named);

        QTemporaryDir dir;
        const QString fromDir = dir.filePath(QStringLiteral("from"));
        const QString toDir = dir.filePath(QStringLiteral("to"));
        QString from = FileList::join(fromDir, QStringLiteral("a.dat"));
        QString to = FileList::join(toDir, QStringLiteral("a.dat"));
        TestFolders::write(fromDir, QStringLiteral("a.dat"), "new");
        QVERIFY(QDir().mkpath(toDir));
        if (obstacle == "read-only target") {
            TestFolders::write(toDir, QStringLiteral("a.dat"), "old");
            QVERIFY(FileOps::setReadOnly(to, true));
        } else if (obstacle == "folder at the target") {
            QVERIFY(QDir().mkdir(to));
        } else if (obstacle == "missing source") {
            from = FileList::join(fromDir, QStringLiteral("gone.dat"));
        } else if (obstacle == "source is a folder") {
            from = toDir;
            to = FileList::join(fromDir, QStringLiteral("b.dat"));
        } else if (obstacle == "no destination folder") {
            to = dir.filePath(QStringLiteral("absent/a.dat"));
        } else {
            TestFolders::write(fromDir, QStringLiteral("a.dat"), kTooBig);
        }
        const QStringList before = everything(QFileInfo(to).path());
        const QByteArray targetBefore = TestFolders::read(QFileInfo(to).path(), "a.dat");

        QString error;
        bool ok = true;
        {
            std::optional<FileSizeCap> limit;
            if (obstacle == "write fails midway")
                limit.emplace(kLimit);
            ok = FileCopy::copyReplace(from, to, &error, false, way);
        }
        QVERIFY(!ok);
        QVERIFY2(error.contains(QDir::toNativeSeparators(named == "to" ? to : from)),
                 qPrintable(error));
        QCOMPARE(everything(QFileInfo(to).path()), before);
        QCOMPARE(TestFolders::read(QFileInfo(to).path(), "a.dat"), targetBefore);
    }

    void moveAllReplacesUnderPresentCase() {
        const Stage s;
        const QString saves = s.saves, store = s.store("C-Alpha");
        fill(saves, {"save1.sav", "Save2.sav", "sub/"}, contentBytes);
        fill(store, {"SAVE2.SAV", "other.sav"}, gameBytes);

        QString error;
        QVERIFY2(FolderMoves::moveAll(saves, store, &error), qPrintable(error));
        verifyFolder(store, {"SAVE2.SAV<Save2.sav", "other.sav", "save1.sav<save1.sav"});
        QCOMPARE(everything(saves), QStringList{"sub/"});
    }

    void moveAllKeepingGivesTheNameToTheSaveComingIn() {
        const Stage s;
        const QString saves = s.saves, parked = s.store("C-Default");
        fill(saves,
             {"save1.sav", "save2.sav", "new.sav", "save1 (2).sav", "notes", "a.b.sav", "same.sav",
              ".sav"},
             contentBytes);
        fill(parked, {"save1.sav", "SAVE2.SAV", "save2 (2).sav", "NOTES", "a.b.sav", ".sav"},
             gameBytes);
        fill(parked, {"SAME.SAV"}, [](const QString &) { return contentBytes("same.sav"); });

        QString error;
        QVERIFY2(FolderMoves::moveAllKeeping(saves, parked, &error), qPrintable(error));
        // A displaced save keeps its own spelling with the first number free in any case, before
        // the extension (the last one), and never one that a save still to come is named:
        // "save1 (2).sav" comes in too, so the old "save1.sav" becomes "(3)". A save of the same
        // bytes is not kept twice. A name that is all extension gets its number at the end.
        verifyFolder(parked,
                     {".sav<.sav", "a.b.sav<a.b.sav", "new.sav<new.sav", "notes<notes",
                      "SAME.SAV<same.sav", "save1 (2).sav<save1 (2).sav", "save1.sav<save1.sav",
                      "save2 (2).sav", "save2.sav<save2.sav"},
                     {{".sav (2)", gameBytes(".sav")},
                      {"a.b (2).sav", gameBytes("a.b.sav")},
                      {"NOTES (2)", gameBytes("NOTES")},
                      {"save1 (3).sav", gameBytes("save1.sav")},
                      {"SAVE2 (3).SAV", gameBytes("SAVE2.SAV")}});
        QCOMPARE(everything(saves), QStringList{});
    }

    // Each row is what a killed park leaves ("name=bytes"; ".vek-save-1" is the checked copy of
    // Savedata's save beside its target): made again, it ends as one that was never cut short,
    // with no copy left over and no save numbered twice.

    void moveAllKeepingMadeAgainAfterACrash() {
        const std::tuple<QStringList, QStringList> rows[] = {
            {QStringList{".vek-save-1=new", "save.sav=old"},
             QStringList{"save.sav=new"}}, // killed once the copy was made
            {QStringList{".vek-save-1=new", "save (2).sav=old"},
             QStringList{"save.sav=new"}}, // killed once the older save was renamed
            {QStringList{"save (2).sav=old", "save.sav=new"},
             QStringList{"save.sav=new"}}, // killed before the source was deleted
        };
        for (auto [parked, saves] : rows) {
            const Stage s;
            const QString from = s.saves, to = s.store("C-Default");
            TestFolders::plant(to, parked);
            TestFolders::plant(from, saves);

            QString error;
            QVERIFY2(FolderMoves::moveAllKeeping(from, to, &error), qPrintable(error));
            QCOMPARE(everything(to), (QStringList{"save (2).sav", "save.sav"}));
            QCOMPARE(TestFolders::read(to, "save (2).sav"), QByteArray("old"));
            QCOMPARE(TestFolders::read(to, "save.sav"), QByteArray("new"));
            QCOMPARE(everything(from), QStringList{});
        }
    }

    void moveKeepsTheSourceWhenTheCopyFails_data() {
        QTest::addColumn<bool>("keeping");
        QTest::addColumn<QString>("trouble");
        for (const bool keeping : {false, true})
            for (const char *trouble : {"read-only destination file", "no destination folder",
                                        "read-only source", "failing sync"})
                QTest::addRow("%s%s", keeping ? "keeping: " : "", trouble) << keeping << trouble;
    }

    // "a.sav" moves, "b.sav" cannot: it must still be in the source, whole, and "a.sav" exactly
    // once somewhere. Moving without replacing is all or nothing: then "a.sav" stays too.
    void moveKeepsTheSourceWhenTheCopyFails() {
        QFETCH(bool, keeping);
        QFETCH(QString, trouble);

        const Stage s;
        const QString saves = s.saves;
        QString store = s.store("C-Alpha");
        fill(saves, {"a.sav", "b.sav"}, contentBytes);
        QVERIFY(QDir().mkpath(store));
        QStringList storeAfter{"a.sav<a.sav"};
        QStringList savesAfter{"b.sav<b.sav"};
        const bool noFolder = trouble == "no destination folder";
        if (trouble == "read-only destination file") {
            fill(store, {"B.SAV"}, gameBytes);
            QVERIFY(FileOps::setReadOnly(FileList::join(store, QStringLiteral("B.SAV")), true));
            storeAfter << "B.SAV";
        } else if (noFolder) {
            store = s.store("C-Gone");
            savesAfter << "a.sav<a.sav";
        } else if (trouble == "failing sync") {
            // "a.sav" is copied and renamed in, then the sync fails: it stays in both places.
            savesAfter = QStringList{"a.sav<a.sav", "b.sav<b.sav"};
        } else {
            QVERIFY(FileOps::setReadOnly(FileList::join(saves, QStringLiteral("b.sav")), true));
        }
        const QString storeFolder = store;
        FileSync::setFault([&](const QString &path) {
            return trouble == "failing sync" && QDir(path) == QDir(storeFolder)
                       ? QStringLiteral("the disk is gone")
                       : QString();
        });
        const auto lift = qScopeGuard([] { FileSync::setFault({}); });
        if (keeping && trouble != "failing sync") {
            storeAfter.removeAll("a.sav<a.sav");
            savesAfter = QStringList{"a.sav<a.sav", "b.sav<b.sav"};
        }

        QString error;
        QVERIFY(!(keeping ? FolderMoves::moveAllKeeping(saves, store, &error)
                          : FolderMoves::moveAll(saves, store, &error)));
        const QString named = trouble == "failing sync" ? QDir::toNativeSeparators(store)
                              : noFolder                ? "a.sav"
                                                        : "b.sav";
        QVERIFY2(error.contains(named, Qt::CaseInsensitive), qPrintable(error));
        verifyFolder(saves, savesAfter);
        if (!noFolder)
            verifyFolder(store, storeAfter);
    }

    void copyAllDeleteAllAndHasFiles() {
        const Stage s;
        const QString store = s.store("C-Alpha"), saves = s.saves;
        fill(store, {"save1.sav", "sub/"}, contentBytes);
        fill(saves, {"SAVE1.SAV", "game.sav"}, gameBytes);

        QString error;
        QVERIFY2(FolderMoves::copyAll(store, saves, &error), qPrintable(error));
        verifyFolder(saves, {"SAVE1.SAV<save1.sav", "game.sav"});
        verifyFolder(store, {"save1.sav<save1.sav", "sub/"});

        QVERIFY(FolderMoves::hasFiles(store));
        QVERIFY2(FolderMoves::deleteAll(store, &error), qPrintable(error));
        QCOMPARE(everything(store), QStringList{"sub/"});
        QVERIFY(!FolderMoves::hasFiles(store));
    }
};

QTEST_GUILESS_MAIN(TestMover)
#include "tst_mover.moc"

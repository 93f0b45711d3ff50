// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBytes.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileRemoval.h"
#include "FolderScan.h"
#include "KeptFiles.h"
#include "Rows.h"
#include "SharedListing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <system_error>

namespace {

// Each file holds its own name, so a test can tell which of two case variants it reached.
bool makeFiles(const QString &folder, const QStringList &files, const QStringList &subfolders) {
    for (const QString &name : files)
        if (!writeFile(QDir(folder).filePath(name), name.toUtf8()))
            return false;
    for (const QString &name : subfolders)
        if (!QDir(folder).mkdir(name))
            return false;
    return true;
}

struct MatchCase {
    const char *tag, *patterns, *name;
    bool expected;
};

// A folder of `present` files and `subfolders`, and the name or patterns asked for in it.
struct FolderCase {
    const char *tag, *present, *subfolders, *asked, *expected;
};

// A change made through the platform layer while the listings are held, and the folder's
// files, folders and kept names ("k" for ".vek-keep-k") as they are after it; which listings
// it leaves as they were ("here": the folder's, "other": another folder's); whether the folder
// holds a link "L.txt" to "a.txt".
struct ChangeCase {
    const char *tag;
    bool (*change)(const QString &folder);
    const char *files, *folders, *kept, *stays;
    bool link = false;
};

// The system's one pass tells the listing which files went; deletes one by one drop it.
#ifdef VEK_LINUX_ROOMS
constexpr const char *kOnePass = "here,other";
#else
constexpr const char *kOnePass = "other";
#endif

QString in(const QString &folder, const char *name) {
    return FileList::join(folder, QString::fromUtf8(name));
}

} // namespace

class TestListing : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

private slots:
    // Every test works in a fresh folder of its own.
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }

    void matches_data() {
        const char *pics = "mypic;skinpic;*.jpg";
        const MatchCase rows[] = {
            {"plain name, other case", pics, "MYPIC", true},
            {"second alternative, mixed case", pics, "SkinPic", true},
            {"plain name is not a prefix", pics, "mypic2", false},
            {"*.* among others", "a.txt;*.*", "LastVEKDir", true},
            {"* alone", "*", "LastVEKDir", true},
            {"* matches nothing between", "P-*.str", "P-.str", true},
            {"? one character", "P-?.str", "p-1.STR", true},
            {"? not zero characters", "P-?.str", "P-.str", false},
            {"? not two characters", "P-?.str", "P-12.str", false},
            {"no wildcard, dot is literal", "eaw.ini", "eawxini", false},
            {"regex characters do not act", "a+b(1).txt", "aab1.txt", false},
            {"empty alternatives are skipped", ";;a.txt;;", "a.txt", true},
            {"empty alternative matches no empty name", "a.txt;;", "", false},
            {"empty list matches nothing", "", "a.txt", false},
            {"8-bit name, other case", "\u00c9t\u00e9.txt", "\u00c9T\u00c9.TXT", true},
        };
        addRows(rows);
    }

    void matches() {
        QFETCH(MatchCase, row);
        QCOMPARE(FileList::matches(QString::fromUtf8(row.name), QString::fromUtf8(row.patterns)),
                 row.expected);
    }

    void files_data() {
        const FolderCase rows[] = {
            {"pattern list", "x.jpeg;SkinPic;mypic.bmp;x.JPG;MYPIC;other", "",
             "mypic;skinpic;*.jpg", "MYPIC;SkinPic;x.JPG"},
            {"*.* lists names without extension", "LastVEKDir;eaw.ini;.hidden", "", "*.*",
             ".hidden;eaw.ini;LastVEKDir"},
            {"folders are never listed", "a.jpg", "b.jpg;Sub", "*.*", "a.jpg"},
            {"a folder matching a plain name is not listed", "", "mypic", "mypic", ""},
            {"sorted without regard to case", "b.txt;C.txt;a.txt;B2.txt", "", "*.txt",
             "a.txt;b.txt;B2.txt;C.txt"},
            {"both case variants are listed", "a.txt;A.TXT;b.txt", "", "a.txt", "A.TXT;a.txt"},
            {"plain names in any case, nothing more", "V1V1.flt;FLT.CDF;flt.cdfx;x.flt", "",
             "V1V1.FLT; flt.cdf", "FLT.CDF;V1V1.flt"},
        };
        addRows(rows);
    }

    void files() {
        QFETCH(FolderCase, row);
        const QTemporaryDir &dir = *dir_;
        QVERIFY(makeFiles(dir.path(), listOf(row.present), listOf(row.subfolders)));
        // Read directly, and from the start's shared listing (twice: its sorted files are kept).
        QCOMPARE(FileList::files(dir.path(), row.asked), listOf(row.expected));
        const SharedListing::Scope shared;
        for (int i = 0; i < 2; ++i)
            QCOMPARE(FileList::files(dir.path(), row.asked), listOf(row.expected));
    }

    void foldersAndAMissingFolder() {
        const QTemporaryDir &dir = *dir_;
        QVERIFY(makeFiles(dir.path(), {"afile", "Zfile"}, {"b", "A", "C", ".hid"}));
        const QString sep = QDir::separator();
        const QStringList expected{dir.path() + sep + ".hid", dir.path() + sep + "A",
                                   dir.path() + sep + "b", dir.path() + sep + "C"};
        QCOMPARE(FileList::folders(dir.path()), expected);
        // A missing folder lists nothing and holds nothing.
        const QString missing = dir.filePath(QStringLiteral("absent"));
        QVERIFY(FileList::files(missing).isEmpty());
        QVERIFY(FileList::folders(missing).isEmpty());
        QVERIFY(FileList::find(missing, QStringLiteral("a.txt")).isEmpty());
    }

    // A folder that cannot be read is said to be so, with the system's reason, never listed as
    // empty: an unload would take that for "none of its files is there".
    void unreadableFolder_data() {
        QTest::addColumn<QString>("name"); // made a file when it ends in ".txt"
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "absent"
                                 << "it does not exist";
        QTest::newRow("a file where the folder should be")
            << "plain.txt"
            << QString::fromStdString(std::make_error_code(std::errc::not_a_directory).message());
    }

    void unreadableFolder() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QTemporaryDir &dir = *dir_;
        if (name.endsWith(".txt"))
            QVERIFY(makeFiles(dir.path(), {name}, {}));
        const QString folder = dir.filePath(name);
        std::optional<SharedListing::Scope> shared;
        for (int way = 0; way < 2; ++way, shared.emplace()) {
            for (const auto kind : {FolderScan::Kind::Files, FolderScan::Kind::Folders}) {
                QStringList got{"stale"};
                QString error;
                QVERIFY(!FolderScan::names(folder, kind, &got, &error));
                QCOMPARE(error, FolderScan::unreadable(folder, reason));
            }
            QStringList rests;
            QString error;
            QVERIFY(!FolderScan::withPrefix(folder, "p", &rests, &error));
            QCOMPARE(error, FolderScan::unreadable(folder, reason));
            QVERIFY(!FolderScan::foldersWithPrefix(folder, "p", &rests, &error));
            QCOMPARE(error, FolderScan::unreadable(folder, reason));
        }
    }

    void find_data() {
        const FolderCase rows[] = {
            {"other case", "PNAMES.STR;other.str", "", "Pnames.str", "PNAMES.STR"},
            {"exact lower wins", "A.TXT;a.txt", "", "a.txt", "a.txt"},
            {"neither exact: first in name order", "a.txt;A.TXT", "", "a.TXT", "A.TXT"},
            {"absent", "PNAMES.STR", "", "pnames.st", ""},
            {"a folder is no file", "", "Pnames.str", "pnames.str", ""},
            {"a folder of the exact name is no file", "PNAMES.STR", "pnames.str", "pnames.str",
             "PNAMES.STR"},
            {"among many, other case", "Alpha;beta;CHARLIE;delta;Echo;foxtrot;golf;Hotel", "",
             "charlie", "CHARLIE"},
            {"three cases, none exact", "m.dat;N.DAT;n.Dat;n.dat;o.dat", "", "N.dat", "N.DAT"},
            {"three cases, one exact", "m.dat;N.DAT;n.Dat;n.dat;o.dat", "", "n.Dat", "n.Dat"},
            {"beyond ASCII", "Zeta;Ärger.txt;ärger.txt;Œuvre", "", "ÄRGER.TXT", "Ärger.txt"},
            {"absent between two", "m.dat;o.dat", "", "n.dat", ""},
        };
        addRows(rows);
    }

    // find, findIn over a listing and resolve answer the same question three ways; a
    // disagreement between them would send a load and an unload to different files.
    void find() {
        QFETCH(FolderCase, row);
        const QString asked = QString::fromUtf8(row.asked),
                      expected = QString::fromUtf8(row.expected);
        const QTemporaryDir &dir = *dir_;
        QVERIFY(makeFiles(dir.path(), listOf(row.present), listOf(row.subfolders)));

        // Each way again from the start's shared listing.
        std::optional<SharedListing::Scope> shared;
        for (int way = 0; way < 2; ++way, shared.emplace()) {
            QCOMPARE(FileList::find(dir.path(), asked), expected);
            QCOMPARE(FileList::findIn(FileList::files(dir.path()), asked), expected);
            FileList::Index index(FileList::files(dir.path()));
            QCOMPARE(index.find(asked), expected);
            index.add(QStringLiteral("Made.new"));
            QCOMPARE(index.find(QStringLiteral("MADE.NEW")), QStringLiteral("Made.new"));
            const QString resolved = FileList::resolve(dir.path(), asked);
            QCOMPARE(resolved, FileList::join(dir.path(), expected.isEmpty() ? asked : expected));
            if (!expected.isEmpty())
                QCOMPARE(contentOf(resolved), expected.toUtf8());
        }
    }

    // The start reads each folder once and answers every step from that listing; each change
    // the selector makes meanwhile must show in the next answer, or a step would miss a file
    // that is there (or act on one that is gone).
    void sharedListingFollowsChanges_data() {
        const ChangeCase rows[] = {
            {"a new file written",
             [](const QString &f) { return FileOps::writeAtomic(in(f, "c.txt"), "c", nullptr); },
             "a.txt;B.txt;c.txt", "Sub", "", "other"},
            {"a listed file written again",
             [](const QString &f) { return FileOps::writeAtomic(in(f, "a.txt"), "a2", nullptr); },
             "a.txt;B.txt", "Sub", "", "here,other"},
            {"a file copied in",
             [](const QString &f) {
                 return FileOps::copyReplace(in(f, "a.txt"), in(f, "D.txt"), nullptr);
             },
             "a.txt;B.txt;D.txt", "Sub", "", "here,other"},
            {"a file copied in beside a link",
             [](const QString &f) {
                 return FileOps::copyReplace(in(f, "a.txt"), in(f, "D.txt"), nullptr);
             },
             "a.txt;B.txt;D.txt;L.txt", "Sub", "", "", true},
            {"a file deleted",
             [](const QString &f) { return FileOps::remove(in(f, "B.txt"), nullptr); }, "a.txt",
             "Sub", "", "other"},
            {"files deleted in one pass over the folder",
             [](const QString &f) {
                 QStringList failures;
                 return FileRemoval::removeNamed(f, {"b.TXT"}, &failures, nullptr);
             },
             "a.txt", "Sub", "", kOnePass},
            {"a folder made",
             [](const QString &f) {
                 bool made = false;
                 FileOps::EnsureFolder(in(f, "New"), &made);
                 return made;
             },
             "a.txt;B.txt", "New;Sub", "", "other"},
            {"a folder renamed",
             [](const QString &f) { return FileOps::renameFolder(in(f, "Sub"), in(f, "Sub2")); },
             "a.txt;B.txt", "Sub2", "", "other"},
            {"a file kept under a second name",
             [](const QString &f) { return KeptFiles().keep(in(f, "a.txt"), nullptr); },
             ".vek-keep-a.txt;a.txt;B.txt", "Sub", "a.txt", "here,other"},
            {"a program started",
             [](const QString &f) {
                 FileHook::done(FileOperation::of(FileOperation::Kind::Launch, in(f, "a.txt")));
                 return true;
             },
             "a.txt;B.txt", "Sub", "", ""},
        };
        addRows(rows);
    }

    void sharedListingFollowsChanges() {
        QFETCH(ChangeCase, row);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString f = dir.path();
        QVERIFY(makeFiles(f, {"a.txt", "B.txt"}, {"Sub"}));
        QTemporaryDir otherDir;
        const QString other = otherDir.path();
        QVERIFY(makeFiles(other, {"o.txt"}, {}));
        if (row.link)
            QVERIFY(QFile::link(in(f, "a.txt"), in(f, "L.txt")));
        const SharedListing::Scope shared;
        const auto kept = [&f] {
            QStringList rests;
            return FolderScan::withPrefix(f, ".vek-keep-", &rests, nullptr) ? rests
                                                                            : QStringList{"?"};
        };
        // Every answer is read once before the change, so each would be held.
        QCOMPARE(FileList::files(f), listOf(row.link ? "a.txt;B.txt;L.txt" : "a.txt;B.txt"));
        QCOMPARE(FileList::folderNames(f), listOf("Sub"));
        QVERIFY(kept().isEmpty());
        QCOMPARE(FileList::files(other), listOf("o.txt"));
        QVERIFY(row.change(f));
        // Written behind the selector's back: seen only where the change dropped the listing.
        QVERIFY(writeFile(in(f, "zz.txt"), "zz") && writeFile(in(other, "zz.txt"), "zz"));
        const QString stays = QString::fromLatin1(row.stays);
        const QString stray = QStringLiteral(";zz.txt");
        QCOMPARE(FileList::files(f),
                 listOf(qPrintable(row.files + (stays.contains("here") ? QString() : stray))));
        QCOMPARE(FileList::files(other),
                 listOf(qPrintable("o.txt" + (stays.contains("other") ? QString() : stray))));
        QCOMPARE(FileList::folderNames(f), listOf(row.folders));
        QCOMPARE(kept(), listOf(row.kept));
        QCOMPARE(FileList::find(f, "d.TXT").isEmpty(), !listOf(row.files).contains("D.txt"));
    }

    // Each letter on its own, so that a fold missing any one of them fails: the quick ASCII
    // way of FileList::fold, the full fold beyond ASCII, and the listing's own fold of the bytes
    // of a file name.
    void foldsEveryLetter_data() {
        QTest::addColumn<QString>("upper");
        QTest::addColumn<QString>("lower");
        QTest::newRow("A to Z") << "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                << "abcdefghijklmnopqrstuvwxyz";
        // The letters of Windows-1252 that have two cases.
        QTest::newRow("8-bit letters") << QString::fromUtf8("ŠŒŽŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ")
                                       << QString::fromUtf8("šœžÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþ");
    }

    void foldsEveryLetter() {
        QFETCH(QString, upper);
        QFETCH(QString, lower);
        QCOMPARE(upper.size(), lower.size());
        const QTemporaryDir &dir = *dir_;
        QHash<QByteArray, qsizetype> groupOf;
        for (qsizetype i = 0; i < upper.size(); ++i) {
            const QString u = QStringLiteral("x") + upper.at(i),
                          l = QStringLiteral("x") + lower.at(i);
            QCOMPARE(FileList::fold(upper.at(i)), QString(lower.at(i)));
            QCOMPARE(FileList::fold(u), l);
            QVERIFY(makeFiles(dir.path(), {u}, {}));
            groupOf.insert(l.toUtf8(), i);
        }
        QCOMPARE(FileList::fold(upper), lower);
        // From the system's pass, and from a shared listing's entries.
        for (const bool shared : {false, true}) {
            std::optional<SharedListing::Scope> scope;
            if (shared)
                scope.emplace();
            QList<QStringList> found(upper.size());
            QVERIFY(FolderScan::collect(dir.path(), groupOf, &found, nullptr));
            for (qsizetype i = 0; i < upper.size(); ++i)
                QCOMPARE(found.at(i), QStringList{QStringLiteral("x") + upper.at(i)});
        }
    }

    void join() {
        const QString sep = QDir::separator();
        QCOMPARE(FileList::join(QStringLiteral("game"), QStringLiteral("P-1.str")),
                 QStringLiteral("game") + sep + "P-1.str");
        QCOMPARE(FileList::join(QStringLiteral("game") + sep, QStringLiteral("P-1.str")),
                 QStringLiteral("game") + sep + "P-1.str");
        QCOMPARE(FileList::join(QStringLiteral("game/"), QStringLiteral("P-1.str")),
                 QStringLiteral("game/P-1.str"));
    }
};

QTEST_GUILESS_MAIN(TestListing)
#include "tst_listing.moc"

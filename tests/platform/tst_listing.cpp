#include "FileBytes.h"
#include "FileList.h"
#include "FileOps.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Each file holds its own name, so a test can tell which of two case variants it reached.
bool makeFiles(const QString &folder, const QStringList &files, const QStringList &subfolders) {
    for (const QString &name : files) {
        QFile f(QDir(folder).filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(name.toUtf8()) != name.toUtf8().size())
            return false;
    }
    for (const QString &name : subfolders) {
        if (!QDir(folder).mkdir(name))
            return false;
    }
    return true;
}

} // namespace

class TestListing : public QObject {
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void files_data();
    void files();
    void folders();
    void missingFolderListsNothing();
    void find_data();
    void find();
    void writingThroughResolveKeepsOneFile();
    void join();
};

void TestListing::matches_data() {
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");

    const QString pics = QStringLiteral("mypic;skinpic;*.jpg");
    QTest::newRow("plain name, other case") << pics << "MYPIC" << true;
    QTest::newRow("second alternative, mixed case") << pics << "SkinPic" << true;
    QTest::newRow("extension in other case") << pics << "x.JPG" << true;
    QTest::newRow("plain name does not match with an extension") << pics << "mypic.bmp" << false;
    QTest::newRow("plain name is not a prefix") << pics << "mypic2" << false;
    QTest::newRow("extension is whole") << pics << "x.jpeg" << false;
    QTest::newRow("extension is last") << pics << "x.jpg.bak" << false;

    QTest::newRow("*.* without extension") << "*.*"
                                           << "LastVEKDir" << true;
    QTest::newRow("*.* with extension") << "*.*"
                                        << "eaw.ini" << true;
    QTest::newRow("*.* among others") << "a.txt;*.*"
                                      << "LastVEKDir" << true;
    QTest::newRow("* alone") << "*"
                             << "LastVEKDir" << true;
    QTest::newRow("*.ext needs the dot") << "*.ini"
                                         << "eawini" << false;
    QTest::newRow("* matches nothing between") << "P-*.str"
                                               << "P-.str" << true;

    QTest::newRow("? one character") << "P-?.str"
                                     << "p-1.STR" << true;
    QTest::newRow("? not zero characters") << "P-?.str"
                                           << "P-.str" << false;
    QTest::newRow("? not two characters") << "P-?.str"
                                          << "P-12.str" << false;
    QTest::newRow("? matches a dot") << "a?b"
                                     << "a.b" << true;

    QTest::newRow("no wildcard, exact") << "eaw.ini"
                                        << "EAW.INI" << true;
    QTest::newRow("no wildcard, dot is literal") << "eaw.ini"
                                                 << "eawxini" << false;
    QTest::newRow("regex characters are literal") << "a+b(1).txt"
                                                  << "a+b(1).txt" << true;
    QTest::newRow("regex characters do not act") << "a+b(1).txt"
                                                 << "aab1.txt" << false;
    QTest::newRow("brackets are literal") << "[ab].txt"
                                          << "a.txt" << false;

    QTest::newRow("empty alternatives are skipped") << ";;a.txt;;"
                                                    << "a.txt" << true;
    QTest::newRow("empty alternative matches no empty name") << "a.txt;;"
                                                             << "" << false;
    QTest::newRow("empty list matches nothing") << ""
                                                << "a.txt" << false;
    QTest::newRow("only separators match nothing") << ";;"
                                                   << "a.txt" << false;
    QTest::newRow("8-bit name, other case") << "\u00c9t\u00e9.txt"
                                            << "\u00c9T\u00c9.TXT" << true;
}

void TestListing::matches() {
    QFETCH(QString, patterns);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(FileList::matches(name, patterns), expected);
}

void TestListing::files_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("subfolders");
    QTest::addColumn<QString>("patterns");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("pattern list") << QStringList{"x.jpeg", "SkinPic", "mypic.bmp",
                                                 "x.JPG",  "MYPIC",   "other"}
                                  << QStringList{} << "mypic;skinpic;*.jpg"
                                  << QStringList{"MYPIC", "SkinPic", "x.JPG"};
    QTest::newRow("*.* lists names without extension")
        << QStringList{"LastVEKDir", "eaw.ini", ".hidden"} << QStringList{} << "*.*"
        << QStringList{".hidden", "eaw.ini", "LastVEKDir"};
    QTest::newRow("folders are never listed")
        << QStringList{"a.jpg"} << QStringList{"b.jpg", "Sub"} << "*.*" << QStringList{"a.jpg"};
    QTest::newRow("a folder matching a plain name is not listed")
        << QStringList{} << QStringList{"mypic"} << "mypic" << QStringList{};
    QTest::newRow("sorted without regard to case")
        << QStringList{"b.txt", "C.txt", "a.txt", "B2.txt"} << QStringList{} << "*.txt"
        << QStringList{"a.txt", "b.txt", "B2.txt", "C.txt"};
    QTest::newRow("both case variants are listed")
        << QStringList{"a.txt", "A.TXT", "b.txt"} << QStringList{} << "a.txt"
        << QStringList{"A.TXT", "a.txt"};
}

void TestListing::files() {
    QFETCH(QStringList, present);
    QFETCH(QStringList, subfolders);
    QFETCH(QString, patterns);
    QFETCH(QStringList, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), present, subfolders));
    QCOMPARE(FileList::files(dir.path(), patterns), expected);
}

void TestListing::folders() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), {"afile", "Zfile"}, {"b", "A", "C", ".hid"}));
    const QString sep = QDir::separator();
    const QStringList expected{dir.path() + sep + ".hid", dir.path() + sep + "A",
                               dir.path() + sep + "b", dir.path() + sep + "C"};
    QCOMPARE(FileList::folders(dir.path()), expected);
}

void TestListing::missingFolderListsNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("absent"));
    QVERIFY(FileList::files(missing).isEmpty());
    QVERIFY(FileList::folders(missing).isEmpty());
    QVERIFY(FileList::find(missing, QStringLiteral("a.txt")).isEmpty());
}

void TestListing::find_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("subfolders");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("expected");

    QTest::newRow("other case") << QStringList{"PNAMES.STR", "other.str"} << QStringList{}
                                << "Pnames.str"
                                << "PNAMES.STR";
    QTest::newRow("same case") << QStringList{"PNAMES.STR"} << QStringList{} << "PNAMES.STR"
                               << "PNAMES.STR";
    QTest::newRow("exact lower wins") << QStringList{"A.TXT", "a.txt"} << QStringList{} << "a.txt"
                                      << "a.txt";
    QTest::newRow("exact upper wins") << QStringList{"a.txt", "A.TXT"} << QStringList{} << "A.TXT"
                                      << "A.TXT";
    QTest::newRow("neither exact: first in name order")
        << QStringList{"a.txt", "A.TXT"} << QStringList{} << "a.TXT"
        << "A.TXT";
    QTest::newRow("absent") << QStringList{"PNAMES.STR"} << QStringList{} << "pnames.st"
                            << "";
    QTest::newRow("a folder is no file")
        << QStringList{} << QStringList{"Pnames.str"} << "pnames.str"
        << "";
    QTest::newRow("a folder of the exact name is no file")
        << QStringList{"PNAMES.STR"} << QStringList{"pnames.str"} << "pnames.str"
        << "PNAMES.STR";
}

// find, findIn over a listing and resolve answer the same question three ways; a
// disagreement between them would send a load and an unload to different files.
void TestListing::find() {
    QFETCH(QStringList, present);
    QFETCH(QStringList, subfolders);
    QFETCH(QString, asked);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), present, subfolders));

    QCOMPARE(FileList::find(dir.path(), asked), expected);
    QCOMPARE(FileList::findIn(FileList::files(dir.path()), asked), expected);
    const QString resolved = FileList::resolve(dir.path(), asked);
    QCOMPARE(resolved, FileList::join(dir.path(), expected.isEmpty() ? asked : expected));
    if (!expected.isEmpty())
        QCOMPARE(contentOf(resolved), expected.toUtf8());
}

void TestListing::writingThroughResolveKeepsOneFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), {"PNAMES.STR"}, {}));

    const QString path = FileList::resolve(dir.path(), QStringLiteral("Pnames.str"));
    QString error;
    QVERIFY2(FileOps::writeAtomic(path, "new", &error), qPrintable(error));

    QCOMPARE(FileList::files(dir.path()), QStringList{"PNAMES.STR"});
    QCOMPARE(contentOf(dir.filePath(QStringLiteral("PNAMES.STR"))), QByteArray("new"));
}

void TestListing::join() {
    const QString sep = QDir::separator();
    QCOMPARE(FileList::join(QStringLiteral("game"), QStringLiteral("P-1.str")),
             QStringLiteral("game") + sep + "P-1.str");
    QCOMPARE(FileList::join(QStringLiteral("game") + sep, QStringLiteral("P-1.str")),
             QStringLiteral("game") + sep + "P-1.str");
    QCOMPARE(FileList::join(QStringLiteral("game/"), QStringLiteral("P-1.str")),
             QStringLiteral("game/P-1.str"));
}

QTEST_GUILESS_MAIN(TestListing)
#include "tst_listing.moc"

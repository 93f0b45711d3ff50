#include "DemoGameFolder.h"
#include "DemoVekFolder.h"
#include "Journal.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "Planes.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

namespace {

QStringList names(const QString &prefix, int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("%1%2.dat").arg(prefix).arg(i);
    return list;
}

QString allMessages(const ScriptedPrompt &prompt) {
    QString all;
    for (const ScriptedPrompt::Shown &s : prompt.shown)
        all += s.text + QLatin1Char('\n');
    return all;
}

} // namespace

/// What a start does with a journal the last run left: the cases the crash test cannot make,
/// since they need the world to change between the crash and the next start.
class TestJournal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startPutsRight_data();
    void startPutsRight();
    void failedSwapPutsEveryFileBack();
};

void TestJournal::startPutsRight_data() {
    QTest::addColumn<QString>("operation"); // "load", "unload" or "damaged"
    QTest::addColumn<bool>("newFolderGone");
    QTest::addColumn<QList<QByteArray>>("ledgerAfter");
    QTest::addColumn<QString>("told");
    // A-Old was loaded; the load of A-New in its place was cut short halfway through A-New.
    QTest::newRow("load finished") << "load" << false << QList<QByteArray>{"A-New"} << "finished.";
    QTest::newRow("load undone: the folder it loads is gone")
        << "load" << true << QList<QByteArray>{"A-Old"} << "undone, since";
    QTest::newRow("unload finished, though the folder is gone")
        << "unload" << true << QList<QByteArray>{} << "finished.";
    QTest::newRow("damaged journal")
        << "damaged" << false << QList<QByteArray>{"A-Old"} << "it is cut short";
}

void TestJournal::startPutsRight() {
    QFETCH(QString, operation);
    QFETCH(bool, newFolderGone);
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

    Journal::Record record;
    record.operation = "doing it";
    record.moves << Journal::Move{false, "A-Old", Journal::ContentRule, oldFolder, oldFiles};
    if (operation != QLatin1String("unload"))
        record.moves << Journal::Move{true, "A-New", Journal::ContentRule, newFolder, newFiles};
    QByteArray bytes = Journal::toBytes(record);
    if (operation == QLatin1String("damaged"))
        bytes.chop(5);
    TestFolders::write(f.vek(), Journal::FileName, bytes);
    // The copies come after the record, as in a real run.
    if (operation != QLatin1String("unload"))
        for (const QString &n : newFiles.mid(0, 3))
            TestFolders::write(f.game(), n, n.toUtf8());
    if (newFolderGone) {
        QVERIFY(
            QDir(operation == QLatin1String("load") ? newFolder : oldFolder).removeRecursively());
    }

    ScriptedPrompt prompt;
    Selector s(Folders{f.game(), f.vek(), f.vek()}, prompt);
    s.load();

    QVERIFY(!TestFolders::exists(f.vek(), Journal::FileName));
    QCOMPARE(Ledgers::readFoldersLoaded(f.vek()), ledgerAfter);
    QCOMPARE(prompt.shown.size(), 1);
    QVERIFY2(prompt.shown.first().text.contains(told), qPrintable(allMessages(prompt)));
    if (operation == QLatin1String("damaged"))
        return; // nothing is known, so nothing is touched
    // The game folder holds the files of exactly the folders the ledger names.
    for (const QString &n : oldFiles)
        QCOMPARE(TestFolders::exists(f.game(), n), ledgerAfter.contains("A-Old"));
    for (const QString &n : newFiles)
        QCOMPARE(TestFolders::exists(f.game(), n), ledgerAfter.contains("A-New"));
}

void TestJournal::failedSwapPutsEveryFileBack() {
    TestFolders f(TestFolders::WithoutGameFiles);
    QString error;
    QVERIFY2(DemoGameFolder::build(f.game(), &error), qPrintable(error));
    QVERIFY2(DemoVekFolder::build(f.vek(), &error), qPrintable(error));
    ScriptedPrompt prompt;
    Selector s(Folders{f.game(), f.vek(), f.vek()}, prompt);
    s.load();
    QVERIFY(s.loadFiles().click(s.Unigrid.find("F-Late war fighters")));
    int row = 0;
    for (int r = 1; r < s.G1.rowCount(); ++r)
        if (s.G1.row(r).folder == QLatin1String("P-Mustang III"))
            row = r;
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

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"

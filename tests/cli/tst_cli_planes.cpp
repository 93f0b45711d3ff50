#include "CliRun.h"
#include "DemoGameFolder.h"
#include "DemoVekFolder.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

class TestCliPlanes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void planesPlaneAndFuel();
    void fuelArguments_data();
    void fuelArguments();

private:
    CliRun run(const TestFolders &f, const QStringList &commands) {
        return CliRun::run(QStringList{"--game", f.game(), "--vek", f.vek()} + commands,
                           lockDir_.filePath("lock"));
    }
    QTemporaryDir lockDir_;
};

void TestCliPlanes::planesPlaneAndFuel() {
    TestFolders f(TestFolders::WithoutGameFiles);
    QString error;
    QVERIFY(DemoGameFolder::build(f.game(), &error));
    QVERIFY(DemoVekFolder::build(f.vek(), &error));
    // Before an aircraft set is loaded there is nothing to list or to fuel.
    CliRun r = run(f, {"planes"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray());
    QCOMPARE(run(f, {"fuel", "5", "50"}).status, 1);

    r = run(f, {"toggle", "F-Late war fighters", "+", "plane", "P-Ta 152H", "+", "planes"});
    QCOMPARE(r.status, 0);
    QVERIFY2(r.out.contains("S\tP-Ta 152H\t190D\tTa 152H-1\n"), r.out.constData());
    QVERIFY(r.out.contains("-\tP-Mustang III\tP51B\t  Mustang III  \n"));
    QCOMPARE(r.out.count('\n'), 6);

    const QByteArray before = TestFolders::read(f.game(), "planes.dat");
    r = run(f, {"fuel", "23", "100", "+", "planes"});
    QCOMPARE(r.status, 0);
    // The mark came back from the ledger.
    QVERIFY(r.out.contains("S\tP-Ta 152H\t"));
    const QByteArray after = TestFolders::read(f.game(), "planes.dat");
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.left(23 * 216 + 40), before.left(23 * 216 + 40));
    QCOMPARE(after.mid(23 * 216 + 42), before.mid(23 * 216 + 42));

    r = run(f, {"plane", "P-Nothing"});
    QCOMPARE(r.status, 1);
    QVERIFY(r.err.contains("P-Nothing"));
}

void TestCliPlanes::fuelArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("slot 30") << QStringList{"30", "50"};
    QTest::newRow("slot text") << QStringList{"x", "50"};
    QTest::newRow("percent 0") << QStringList{"1", "0"};
    QTest::newRow("percent 52") << QStringList{"1", "52"};
    QTest::newRow("percent 105") << QStringList{"1", "105"};
    QTest::newRow("one argument") << QStringList{"1"};
}

void TestCliPlanes::fuelArguments() {
    QFETCH(QStringList, args);
    TestFolders f;
    QCOMPARE(run(f, QStringList{"fuel"} + args).status, 2);
}

QTEST_GUILESS_MAIN(TestCliPlanes)
#include "tst_cli_planes.moc"

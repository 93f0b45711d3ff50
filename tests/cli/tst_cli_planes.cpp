// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "FileOps.h"
#include "TestFolders.h"

#include <QTest>

using PlaneFlagsRow = std::tuple<const char *, QStringList, int, int, int, bool>;

class TestCliPlanes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void planesPlaneAndFuel() {
        TestFolders f(TestFolders::Demo);
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

    void planeFlags() {
        // offset: in the record; readOnly: planes.dat cannot be written: exit 1, told
        const PlaneFlagsRow rows[] = {
            {"four engined clears twin engined", QStringList{"3", "type", "5", "on"}, 8, 0x15, 0x25,
             false},
            {"already set: nothing clicked", QStringList{"3", "type", "4", "on"}, 8, 0x15, 0x15,
             false},
            {"nose wheel off", QStringList{"29", "nation", "7", "off"}, 9, 0x81, 0x01, false},
            {"read-only planes.dat", QStringList{"29", "nation", "7", "off"}, 9, 0x81, 0x81, true},
        };
        for (auto [tag, args, offset, before, after, readOnly] : rows) {
            TestFolders f;
            QByteArray dat(30 * 216, '\x5A');
            const int at = args.at(0).toInt() * 216 + offset;
            dat[at] = char(before);
            TestFolders::write(f.game(), "planes.dat", dat);
            // The same VEK folder as last time: no sweep of the game folder's .dat files.
            f.rememberVek();
            const QString path = f.game() + QStringLiteral("/planes.dat");
            if (readOnly)
                QVERIFY(FileOps::setReadOnly(path, true));
            const CliRun r = run(f, QStringList{"plane-flags"} + args);
            if (readOnly)
                FileOps::setReadOnly(path, false);
            QVERIFY2(r.status == (readOnly ? 1 : 0), r.err.constData());
            QCOMPARE(r.err.contains("read-only"), readOnly);
            dat[at] = char(after);
            QCOMPARE(TestFolders::read(f.game(), "planes.dat"), dat);
        }
    }

private:
    CliRun run(const TestFolders &f, const QStringList &commands) {
        return CliRun::on(f.game(), f.vek(), commands, lockDir_.filePath("lock"));
    }
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliPlanes)
#include "tst_cli_planes.moc"

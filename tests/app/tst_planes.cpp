// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoMenuFile.h"
#include "DemoPlanesDat.h"
#include "DemoVekFolder.h"
#include "FileBytes.h"
#include "FileChanges.h"
#include "FileOps.h"
#include "GridRows.h"
#include "OpenSelector.h"
#include "Planes.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "StringFile.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

namespace {

const QString kSet = QStringLiteral("F-Late war fighters");

/// The demo game folder and VEK folder, opened as on a second run (no clean-up), with the
/// demo's aircraft set loaded.
struct Fixture {
    TestFolders f{TestFolders::Demo};
    ScriptedPrompt prompt;
    std::unique_ptr<Selector> s;

    Selector &open() {
        s = openSelector(f, prompt);
        return *s;
    }

    Selector &openWithSet() {
        clickRow(open(), kSet);
        return *s;
    }

    int row(const QString &folder) const { return slotRow(*s, folder); }

    QString setPath(const QString &sub = QString()) const {
        return f.vek() + "/" + kSet + (sub.isEmpty() ? QString() : "/" + sub);
    }

    QMap<QString, QByteArray> gameFiles() const { return filesOf(f.game()); }

    QList<QByteArray> names() const {
        QList<QByteArray> list;
        QByteArray raw;
        QString error;
        StringFile::ReadStringFile(QDir(f.game()).filePath("pnames.str"), &list, &raw, &error);
        return list;
    }
};

DemoVekFolder::AltPlane demoPlane(const QString &folder) {
    for (const DemoVekFolder::AltPlane &p : DemoVekFolder::altPlanes())
        if (p.folder == folder)
            return p;
    return {};
}

} // namespace

class TestPlanes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadingTheSetListsItsAlternatives() {
        Fixture fx;
        Selector &s = fx.openWithSet();
        QVERIFY(s.Frame6);
        QStringList folders, codes;
        for (const SlotGrid::Row &r : s.G1.rows) {
            folders << r.folder;
            codes << r.code;
        }
        QStringList expected;
        for (const DemoVekFolder::AltPlane &p : DemoVekFolder::altPlanes())
            expected << p.folder;
        QCOMPARE(folders, expected);
        const DemoVekFolder::AltPlane mustang = demoPlane("P-Mustang III");
        const SlotGrid::Row &row = s.G1.row(fx.row("P-Mustang III"));
        QCOMPARE(row.name, QString::fromLatin1(mustang.nameLine)); // as read, blanks and all
        QCOMPARE(row.slotText, QString::number(mustang.slot));
        QCOMPARE(row.code, QStringLiteral("P51B"));
        QCOMPARE(s.Fuel.rows.size(), 30);
        QCOMPARE(s.Fuel.rows.at(0).name, QStringLiteral("P-38H"));
        QCOMPARE(s.Fuel.rows.at(29).name, QStringLiteral("V -1"));
        QCOMPARE(s.Fuel.rows.at(7).position, 7 * 216 + 41);
        // The set's own planes.dat, variant 1 in the demo kit.
        QCOMPARE(s.Fuel.rows.at(7).full, DemoPlanesDat::fuel(7, 1));
        QVERIFY(fx.prompt.shown.isEmpty());
    }

    void gridShowsOnlyTheLoadedSetsAircraft() {
        // A second set whose one aircraft folder is spelt in lower case replaces the demo's.
        Fixture fx;
        const QString other = fx.f.vek() + "/F-Lower case set";
        const QDir mustang(fx.setPath("P-Mustang III"));
        QVERIFY(QDir().mkpath(other + "/p-mustang III"));
        for (const QString &n : mustang.entryList(QDir::Files))
            QVERIFY(QFile::copy(mustang.filePath(n), other + "/p-mustang III/" + n));
        for (const char *n : {"planes.dat", "pnames.str", "loadout.dat"})
            QVERIFY(QFile::copy(fx.setPath(n), other + "/" + n));
        Selector &s = fx.openWithSet();
        QVERIFY(fx.row("P-Mustang III") > 0);
        QVERIFY(clickRow(s, "F-Lower case set"));
        QVERIFY(s.Frame6);
        QCOMPARE(s.G1.rowCount(), 2);
        QCOMPARE(s.G1.row(1).folder, QStringLiteral("p-mustang III"));
        QVERIFY(s.G1.folderPath(1).startsWith(other + "/"));
        QVERIFY(s.planes().click(1));
        QVERIFY(fx.names().contains(demoPlane("P-Mustang III").nameLine.trimmed()));
        QVERIFY(fx.prompt.shown.isEmpty());
    }

    void swapChangesExactlyTheSlotsBytes() {
        Fixture fx;
        Selector &s = fx.openWithSet();
        const QMap<QString, QByteArray> before = fx.gameFiles();
        const QList<QByteArray> namesBefore = fx.names();
        const DemoVekFolder::AltPlane mustang = demoPlane("P-Mustang III");
        QVERIFY(s.planes().click(fx.row("P-Mustang III")));
        const QMap<QString, QByteArray> after = fx.gameFiles();

        // The British and German menus are written again too, with the same bytes: their names
        // did not change (their bytes are checked below).
        QStringList expectChanged = {"picplna.mnu", "planes.dat", "pnames.str", "loadout.dat",
                                     mustang.flightFile};
        expectChanged.sort();
        QCOMPARE(changedFiles(before, after), expectChanged);

        // planes.dat: the slot's span, nothing else.
        const QByteArray oldDat = before.value("planes.dat"), newDat = after.value("planes.dat");
        QCOMPARE(newDat.size(), oldDat.size());
        const int base = mustang.slot * 216 + 4;
        QCOMPARE(newDat.left(base), oldDat.left(base));
        QCOMPARE(newDat.mid(base + 168), oldDat.mid(base + 168));
        QCOMPARE(newDat.at(base), char(mustang.slot));
        QCOMPARE(quint8(newDat.at(base + 36)) | quint8(newDat.at(base + 37)) << 8, mustang.fuel);

        // pnames.str: one entry, trimmed.
        QList<QByteArray> names = namesBefore;
        names[mustang.slot] = "Mustang III";
        QCOMPARE(fx.names(), names);

        // The menus, built independently from the new names.
        QStringList slotNames;
        for (const QByteArray &n : names)
            slotNames << QString::fromLatin1(n);
        QCOMPARE(after.value("picplna.mnu"),
                 DemoMenuFile::bytes(DemoMenuFile::Side::American, slotNames));
        QCOMPARE(after.value("picplnb.mnu"),
                 DemoMenuFile::bytes(DemoMenuFile::Side::British, slotNames));
        QCOMPARE(after.value("picplng.mnu"),
                 DemoMenuFile::bytes(DemoMenuFile::Side::German, slotNames));

        // loadout.dat: the patched bytes only.
        QByteArray loadout = before.value("loadout.dat");
        for (const auto &patch : mustang.loadout)
            loadout[patch.first - 1] = char(patch.second);
        QCOMPARE(after.value("loadout.dat"), loadout);
        QCOMPARE(after.value(mustang.flightFile),
                 TestFolders::read(fx.setPath("P-Mustang III"), mustang.flightFile));
        QVERIFY(fx.prompt.shown.isEmpty());
    }

    void markMovesWithinTheSlotAndSurvivesARestart() {
        Fixture fx;
        Selector &s = fx.openWithSet();
        const int iii = fx.row("P-Mustang IV"), iv = fx.row("P-Mustang IV Long Range");
        const int other = fx.row("P-Fw 190A-9");
        QCOMPARE(s.G1.row(iii).slot, s.G1.row(iv).slot);
        QVERIFY(s.planes().click(other));
        QVERIFY(s.planes().click(iii));
        QVERIFY(s.planes().click(iv));
        QVERIFY(!s.G1.row(iii).marked);
        QCOMPARE(s.G1.row(iii).colour, SlotGrid::DefaultCellColour);
        QVERIFY(s.G1.row(iv).marked);
        QCOMPARE(s.G1.row(iv).colour, SlotGrid::MarkedColour);
        QVERIFY(s.G1.row(other).marked);
        QCOMPARE(s.List1Index, s.G1.row(iv).slot + 1);
        QCOMPARE(TestFolders::read(fx.f.vek(), "FoldersLoaded.txt"),
                 (kSet + "\r\nP-Fw 190A-9\r\nP-Mustang IV Long Range\r\n\r\n").toLatin1());
        QVERIFY(!s.planes().click(0)); // the header does nothing

        Selector &again = fx.open();
        QVERIFY(again.Frame6);
        QVERIFY(again.G1.row(fx.row("P-Mustang IV Long Range")).marked);
        QVERIFY(again.G1.row(fx.row("P-Fw 190A-9")).marked);
        QVERIFY(!again.G1.row(fx.row("P-Mustang IV")).marked);
        // Unloading the set empties the grid and forgets the swaps.
        QVERIFY(clickRow(again, kSet));
        QVERIFY(again.G1.rows.isEmpty());
        QVERIFY(!again.Frame6);
        QCOMPARE(TestFolders::read(fx.f.vek(), "FoldersLoaded.txt"), QByteArray("\r\n"));
    }

    // One fault planted before the click: mustang3.vek's (blank-free) line `line` set to
    // `value` (line -1: the file cut to 168 lines), or `fault` in another file.

    void badContentWritesNothing() {
        const std::tuple<const char *, const char *, int, QByteArray, const char *> rows[] = {
            {"167 values", "", -1, "", "lines"},
            {"value 256", "", 39, "256", "line 40"},
            {"a line of 100,000 bytes", "", 39, QByteArray(100000, '7') + "x", "line 40"},
            {"slot 30", "", 1, "30", "slot number 30"},
            {"blank name", "", 0, "   ", "blank"},
            {"no pnames.str", "nonames", 0, "Mustang III", "pnames.str"},
            {"pnames.str of 20 names", "fewnames", 0, "Mustang III", "20 names"},
            {"pnames.str too big", "bignames", 0, "Mustang III", "beyond 32767"},
            {"lox beyond loadout.dat", "lox", 0, "Mustang III", "loadout.dat"},
            {"read-only planes.dat", "readonly", 0, "Mustang III", "read-only"},
            {"a name the ledgers cannot hold", "cyrillic", 0, "Mustang III", "Rename"}};
        for (const auto &[tag, fault_, line, value, told_] : rows) {
            const CaseName inCase(tag);
            const QString fault = QString(fault_);
            const QString told = QString(told_);
            Fixture fx;
            // FoldersLoaded.txt would record it as "P-????????? III" and forget it at the next
            // start.
            const QString plane = fault == "cyrillic" ? QStringLiteral("P-Мустанг III")
                                                      : QStringLiteral("P-Mustang III");
            if (plane != QLatin1String("P-Mustang III"))
                QVERIFY(QDir().rename(fx.setPath("P-Mustang III"), fx.setPath(plane)));
            Selector &s = fx.openWithSet();
            const QString folder = fx.setPath(plane);
            QList<QByteArray> lines = TestFolders::read(folder, "mustang3.vek").split('\n');
            for (QByteArray &l : lines)
                l = l.trimmed();
            lines.removeAll(QByteArray());
            lines[0] = "Mustang III";
            if (line < 0)
                lines = lines.mid(0, 168);
            else
                lines[line] = value;
            TestFolders::write(folder, "mustang3.vek", lines.join("\r\n") + "\r\n");
            if (fault == "nonames")
                QFile::remove(QDir(fx.f.game()).filePath("pnames.str"));
            QByteArray names;
            if (fault == "fewnames" || fault == "bignames")
                QVERIFY(StringFile::build(fault == "fewnames" ? fx.names().mid(0, 20) : fx.names(),
                                          &names));
            if (fault == "fewnames")
                TestFolders::write(fx.f.game(), "pnames.str", names);
            if (fault ==
                "bignames") // readable, but past the last offset a rebuilt file can address
                TestFolders::write(fx.f.game(), "pnames.str",
                                   names + (QByteArray(200, 'n') + '\0').repeated(200));
            if (fault == "lox")
                TestFolders::write(folder, "mustang3.lox", "1\r\n5\r\n999999\r\n1\r\n");
            if (fault == "readonly")
                FileOps::setReadOnly(QDir(fx.f.game()).filePath("planes.dat"), true);
            fx.prompt.shown.clear();
            const QMap<QString, QByteArray> before = fx.gameFiles();
            QVERIFY(fx.row(plane) > 0);
            QVERIFY(!s.planes().click(fx.row(plane)));
            QCOMPARE(fx.gameFiles(), before);
            QCOMPARE(fx.prompt.shown.size(), 1);
            // A message quotes a short piece of a bad line, never the line.
            const QString shown = fx.prompt.shown.at(0).text;
            QVERIFY2(shown.contains(told) && shown.size() < 500, qPrintable(shown.left(500)));
            QVERIFY(!s.G1.row(fx.row(plane)).marked);
        }
    }

    void fuelClickWritesThatLoad() {
        Fixture fx;
        Selector &s = fx.openWithSet();
        const QByteArray before = TestFolders::read(fx.f.game(), "planes.dat");
        const int slot = 5;
        const int full = s.Fuel.rows.at(slot).full;
        QVERIFY(s.planes().fuelClick(slot + 1, 12)); // 50%
        QCOMPARE(FuelGrid::header(12), QStringLiteral("50%"));
        const int half = full * 10 / 20;
        QByteArray expected = before;
        expected[slot * 216 + 40] = char(half & 0xFF);
        expected[slot * 216 + 41] = char(half >> 8);
        QCOMPARE(TestFolders::read(fx.f.game(), "planes.dat"), expected);
        QCOMPARE(s.Fuel.rows.at(slot).chosenColumn, 12);
        QVERIFY(!s.planes().fuelClick(slot + 1, 1));
        QVERIFY(!s.planes().fuelClick(0, 5));
    }

    void missingPlanesDatLeavesTheFuelGridEmpty() {
        Fixture fx;
        QFile::remove(fx.setPath("planes.dat"));
        Selector &s = fx.openWithSet();
        QVERIFY(s.Fuel.rows.isEmpty());
        QVERIFY(!s.G1.rows.isEmpty());
        QCOMPARE(fx.prompt.shown.size(), 1);
        QVERIFY(fx.prompt.shown.at(0).text.contains("planes.dat"));
    }

    void gameFilesAreWrittenUnderTheirPresentNames() {
        Fixture fx;
        // The set brings lower-case copies; here the game's files are upper case instead.
        QFile::remove(fx.setPath("planes.dat"));
        QFile::remove(fx.setPath("pnames.str"));
        QDir game(fx.f.game());
        QVERIFY(game.rename("planes.dat", "PLANES.DAT"));
        QVERIFY(game.rename("pnames.str", "PNames.STR"));
        QVERIFY(game.rename("picplna.mnu", "PICPLNA.MNU"));
        Selector &s = fx.openWithSet();
        fx.prompt.shown.clear();
        QVERIFY(s.planes().click(fx.row("P-Fw 190A-9")));
        const QStringList files = game.entryList(QDir::Files);
        for (const char *n : {"planes.dat", "pnames.str", "Pnames.str", "picplna.mnu"})
            QVERIFY2(!files.contains(QString::fromLatin1(n)), n);
        QVERIFY(files.contains("PLANES.DAT"));
        QCOMPARE(TestFolders::read(fx.f.game(), "PLANES.DAT").at(22 * 216 + 4), char(22));
        QVERIFY(TestFolders::read(fx.f.game(), "PNames.STR").contains("Fw 190A-9"));
        QVERIFY(TestFolders::read(fx.f.game(), "PICPLNA.MNU").startsWith("\x0e\x0c"));
    }

    void hoverAndFilter() {
        Fixture fx;
        Selector &s = fx.openWithSet();
        QCOMPARE(s.List1.size(), 31);
        QCOMPARE(s.List1.at(0), QStringLiteral("ALL"));
        QCOMPARE(s.List1.at(1), QStringLiteral("A-00: P38H"));
        QCOMPARE(s.List1.at(30), QStringLiteral("A-29: V1V1"));
        const int row = fx.row("P-Fw 190A-9");
        s.planes().hover(row);
        QVERIFY(s.planes().Label4.startsWith("Fw 190A-9\r\nTakes the place of the Fw 190A-8.\r\n"));
        s.planes().hover(0);
        QVERIFY(s.planes().Label4.contains("\r\n")); // the set's own description
        s.planes().filter(23);
        for (int r = 1; r < s.G1.rowCount(); ++r)
            QCOMPARE(s.G1.row(r).height > 0, s.G1.row(r).slot == 22);
        s.planes().filter(0);
        for (int r = 1; r < s.G1.rowCount(); ++r)
            QVERIFY(s.G1.row(r).height > 0);
    }
};

QTEST_GUILESS_MAIN(TestPlanes)
#include "tst_planes.moc"

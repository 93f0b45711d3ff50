// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoMenuFile.h"
#include "FileBytes.h"
#include "FileOps.h"
#include "PickMenu.h"
#include "PlanesDat.h"
#include "Rows.h"
#include "Text8.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Names = QList<QByteArray>;

// A table whose every byte differs from its neighbours, so a shifted or misplaced write shows.
QByteArray planesTable(qsizetype size = 30 * 216) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 37 + 11) % 251);
    return bytes;
}

// 1-based positions where two files differ, as first and last.
QPair<qint64, qint64> changedRange(const QByteArray &before, const QByteArray &after) {
    qint64 first = 0, last = 0;
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before.at(i) != after.at(i)) {
            if (!first)
                first = i + 1;
            last = i + 1;
        }
    }
    return {first, last};
}

// The names file as the menus see it: entry s names slot s.
Names slotNames() {
    Names names;
    for (int s = 0; s < 30; ++s)
        names << "Slot " + QByteArray::number(s);
    return names;
}

} // namespace

class TestAircraftFormats : public QObject {
    Q_OBJECT

private slots:
    // ---- planes.dat ---------------------------------------------------------------------------

    void spanWrite() {

        const std::tuple<int, qint64, qint64> rows[] = {
            {0, qint64(5), qint64(172)},      // slot 0
            {29, qint64(6269), qint64(6436)}, // slot 29
        };
        for (auto [slot, first, last] : rows) {

            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("planes.dat"));
            // A few bytes beyond the 30th record: they belong to the game and must survive too.
            const QByteArray before = planesTable(30 * 216 + 5);
            QVERIFY(writeFile(path, before));

            // Every new byte differs from the old one, so each written position shows as changed.
            QByteArray span(168, '\0');
            for (int k = 0; k < 168; ++k)
                span[k] = static_cast<char>(~before.at(first - 1 + k));
            QString error;
            QVERIFY2(PlanesDat::writeSpan(path, slot, span, &error), qPrintable(error));

            const QByteArray after = contentOf(path);
            QCOMPARE(after.size(), before.size());
            QCOMPARE(changedRange(before, after), qMakePair(first, last));
            QCOMPARE(after.mid(first - 1, 168), span);

            QList<PlanesDat::PlaneByte> read;
            QVERIFY2(PlanesDat::readSpan(path, slot, &read, &error), qPrintable(error));
            QCOMPARE(read.size(), 168);
            for (int k = 0; k < 168; ++k)
                QCOMPARE(read.at(k), PlanesDat::PlaneByte(first + k, quint8(span.at(k))));
        }
    }

    void writeBytesInListOrder() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("planes.dat"));
        const QByteArray before = planesTable();
        QVERIFY(writeFile(path, before));

        // Span bytes of several slots, the file's first and last byte, one position twice: the
        // later value wins, and the file does not grow.
        const QList<PlanesDat::PlaneByte> bytes{{5, 0xAA},    {172, 0xBB},  {2813, 0x01},
                                                {2813, 0x02}, {6436, 0xFF}, {1, 0x11},
                                                {6480, 0x22}};
        QString error;
        QVERIFY2(PlanesDat::writeBytes(path, bytes, &error), qPrintable(error));

        QByteArray expected = before;
        expected[4] = char(0xAA);
        expected[171] = char(0xBB);
        expected[2812] = char(0x02);
        expected[6435] = char(0xFF);
        expected[0] = char(0x11);
        expected[6479] = char(0x22);
        QCOMPARE(contentOf(path).toHex(), expected.toHex());
    }

    void fuel() {

        const std::tuple<int, QByteArray, int> rows[] = {
            {29, bytesOf({0xF4, 0x01}), 500},   // 500, last slot
            {3, bytesOf({0xFF, 0x7F}), 32767},  // largest signed
            {3, bytesOf({0x00, 0x80}), 32768},  // high byte 128 reads unsigned
            {12, bytesOf({0xFF, 0xFF}), 65535}, // all ones
        };
        for (auto [slot, stored, value] : rows) {

            // The game's file in upper case, asked for in lower case: read and written under the
            // name present, never as a second file.
            QTemporaryDir dir;
            const QString upper = dir.filePath(QStringLiteral("PLANES.DAT"));
            const QString path = dir.filePath(QStringLiteral("planes.dat"));
            const qint64 offset = slot * 216 + 40;
            QByteArray table = planesTable();
            table.replace(offset, 2, stored);
            QVERIFY(writeFile(upper, table));

            int fuel = -1;
            QString error;
            QVERIFY2(PlanesDat::readFuel(path, slot, &fuel, &error), qPrintable(error));
            QCOMPARE(fuel, value);

            // Written back over other bytes, the value lands as the same two bytes and nowhere
            // else.
            QByteArray scrambled = table;
            scrambled[offset] = char(0x5A);
            scrambled[offset + 1] = char(0xA5);
            QVERIFY(writeFile(upper, scrambled));
            QVERIFY2(PlanesDat::writeFuel(path, slot, value, &error), qPrintable(error));
            QCOMPARE(contentOf(upper).toHex(), table.toHex());
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                     QStringList{QStringLiteral("PLANES.DAT")});
        }
    }

    // Each flag byte as the boxes of its group that it ticks, and built back from them.
    void flags() {
        using L = QStringList;
        const std::tuple<bool, int, QStringList> rows[] = {
            {true, 0x15, L{"Fighter", "Flyable", "Twin engined"}},
            {true, 0x00, L{}},
            {true, 0xE8, L{"Jet", "Four engined", "Rocket (V1)", "German"}},
            {true, 0x02, L{"Bomber"}},
            {false, 0x92, L{"American", "Gear Back", "Nose wheel"}},
            {false, 0xFF,
             L{"British", "American", "Inline engine", "Not used", "Gear Back", "Gear Inwards",
               "Gear Outwards", "Nose wheel"}},
        };
        for (const auto &[typeByte, flags, set] : rows) {
            const QStringList &captions =
                typeByte ? PlanesDat::TypeFlagCaptions : PlanesDat::NationGearFlagCaptions;
            const std::array<bool, 8> bits = PlanesDat::flagBits(quint8(flags));
            QStringList shown;
            for (int i = 0; i < 8; ++i)
                if (bits[i])
                    shown << captions.at(i);
            QCOMPARE(shown, set);
            QCOMPARE(int(PlanesDat::flagByte(bits)), flags);
        }
    }

    void refusalsWriteNothing() {
        // The short file ends inside slot 29's span, one byte before its last span byte. Every
        // write goes through one patch of the file: its read-only, missing and short refusals are
        // rows of the span.
        const std::tuple<const char *, const char *, const char *, int, int> rows[] = {
            {"span of slot 30", "write span", "full", 30, 168},
            {"span of slot -1", "write span", "full", -1, 168},
            {"span too short", "write span", "full", 3, 167},
            {"span too long", "write span", "full", 3, 169},
            {"span beyond a short file", "write span", "short", 29, 168},
            {"span to a read-only file", "write span", "read-only", 0, 168},
            {"span to a missing file", "write span", "missing", 0, 168},
            {"read span of slot 30", "read span", "full", 30, 0},
            {"read span beyond a short file", "read span", "short", 29, 0},
            {"read span of a missing file", "read span", "missing", 0, 0},
            {"fuel of slot 30", "write fuel", "full", 30, 100},
            {"fuel above 65535", "write fuel", "full", 2, 65536},
            {"negative fuel", "write fuel", "full", 2, -1},
            {"read fuel of slot 30", "read fuel", "full", 30, 0},
            {"byte after the end", "write bytes", "full", 0, 6481},
            {"byte at position 0", "write bytes", "full", 0, 0},
        };
        // state: of planes.dat: full, short, read-only or missing; arg: fuel value, span length, or
        // position
        for (const auto &[tag, op_, state_, slot, arg] : rows) {
            const CaseName inCase(tag);
            const QString op = QString(op_);
            const QString state = QString(state_);

            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("planes.dat"));
            const QByteArray before = planesTable(state == "short" ? 6435 : 6480);
            if (state != "missing")
                QVERIFY(writeFile(path, before));
            if (state == "read-only")
                QVERIFY(FileOps::setReadOnly(path, true));

            QString error;
            QList<PlanesDat::PlaneByte> span;
            int fuel = 0;
            bool ok = true;
            if (op == "read span")
                ok = PlanesDat::readSpan(path, slot, &span, &error);
            else if (op == "write span")
                ok = PlanesDat::writeSpan(path, slot, QByteArray(arg, '\x7E'), &error);
            else if (op == "write bytes") // a valid byte first: the bad one after it stops the list
                ok = PlanesDat::writeBytes(path, {{5, 0x7E}, {arg, 0x7E}}, &error);
            else if (op == "read fuel")
                ok = PlanesDat::readFuel(path, slot, &fuel, &error);
            else
                ok = PlanesDat::writeFuel(path, slot, arg, &error);
            QVERIFY(!ok);
            QVERIFY2(error.contains(QStringLiteral("planes.dat")), qPrintable(error));
            if (state == "missing")
                QVERIFY(!QFile::exists(path));
            else
                QCOMPARE(contentOf(path).toHex(), before.toHex());
        }
    }

    // ---- plane-pick menus ---------------------------------------------------------------------

    // The demo kit writes the stock menus with a writer of its own (its own layout tables and
    // encoder), so a byte-for-byte match checks every side's header, slot order, hot areas, side
    // entries and EXIT entry against a second implementation.
    void menus() {
        using S = PickMenu::Side;
        // The side, its names-file entries (index = slot), and what every entry must carry
        // instead (empty: as given).
        const std::tuple<S, Names, QByteArray> rows[] = {
            {S::American, slotNames(), {}},
            {S::British, slotNames(), {}},
            {S::German, slotNames(), {}},
            {S::German, Names(30, "Bf 109 \xC4\xE9"), {}},
            {S::British, Names(30, QByteArray(254, 'n')), {}},
            {S::German, Names(30, QByteArray(300, 'n')), QByteArray(254, 'n')},
            {S::American, Names(30, QByteArray("P-51\0junk", 9)), "P-51"},
        };
        for (const auto &[side, given, cut] : rows) {
            const auto kitSide = DemoMenuFile::Side(int(side));
            QCOMPARE(PickMenu::fileName(side), DemoMenuFile::fileName(kitSide));
            QCOMPARE(PickMenu::menuSlots(side), DemoMenuFile::menuSlots(kitSide));
            QStringList expectedNames;
            for (const QByteArray &n : given)
                expectedNames << Text8::toUnicode(cut.isEmpty() ? n : cut);
            const QByteArray menu = PickMenu::build(side, PickMenu::namesFor(side, given));
            QCOMPARE(menu.toHex(' '), DemoMenuFile::bytes(kitSide, expectedNames).toHex(' '));
        }
    }

    void britishMenuByHand() {
        const Names names{"Typh", "", "Spitfire 1", "H", "Tempest", "Sp14"};
        const auto text = [](const char *s) { return QByteArray(s) + '\0'; };
        const auto le16 = [](int v) { return bytesOf({v & 0xFF, v >> 8}); };
        // The hot areas in menu order: each a name and its place and size on the picture.
        const struct {
            const char *name;
            int x, y, w, h;
        } areas[] = {
            {"Typh", 18, 46, 185, 138},        // slot 13
            {"", 214, 0, 197, 158},            // slot 11, an empty name
            {"Spitfire 1", 412, 46, 199, 139}, // slot 10
            {"H", 128, 181, 180, 130},         // slot 9
            {"Tempest", 6, 331, 205, 147},     // slot 14
            {"Sp14", 293, 272, 198, 142},      // slot 12
            {"GERMANY", 328, 416, 93, 30},     // to the German menu
            {"USA", 375, 422, 90, 58},         // to the American menu
        };
        QByteArray expected = bytesOf({14, 12, 0, 0, 0}) + text("picplnb.pic") +
                              bytesOf({13, 0, 0, 0, 0, 128, 2, 224, 1, 9, 0, 0, 0, 53, 0});
        int entry = 0;
        for (const auto &a : areas)
            expected += bytesOf({6, ++entry, 0, int(qstrlen(a.name)) + 1, 0, 0, 0}) + text(a.name) +
                        le16(a.x) + le16(a.y) + le16(a.w) + le16(a.h) + bytesOf({1, 0, 0, 0});
        // 9: EXIT at 514, 368, 75 x 81
        expected += bytesOf({3, 9, 0, 39, 29, 5, 0, 0, 0}) + text("EXIT") +
                    bytesOf({2, 2, 112, 1, 75, 0, 81, 0, 175, 0, 0, 0}) + bytesOf({3, 0, 0});

        // What the menu file gets is this build: writeAllReplacesPresentFiles.
        QCOMPARE(PickMenu::build(PickMenu::Side::British, names).toHex(' '), expected.toHex(' '));
    }

    void writeAllReplacesPresentFiles() {
        QTemporaryDir dir;
        // The game's files as an installer might have named them, one longer than any menu.
        const QString american = dir.filePath(QStringLiteral("PICPLNA.MNU"));
        const QString british = dir.filePath(QStringLiteral("Picplnb.mnu"));
        QVERIFY(writeFile(american, QByteArray(5000, '\x55')));
        QVERIFY(writeFile(british, QByteArray(10, '\x55')));

        QString error;
        QVERIFY2(PickMenu::writeAll(dir.path(), slotNames(), &error), qPrintable(error));
        QStringList files = QDir(dir.path()).entryList(QDir::Files);
        files.sort();
        QCOMPARE(files, (QStringList{"PICPLNA.MNU", "Picplnb.mnu", "picplng.mnu"}));

        for (const auto &[path, side] :
             {std::pair{american, PickMenu::Side::American},
              std::pair{british, PickMenu::Side::British},
              std::pair{dir.filePath(QStringLiteral("picplng.mnu")), PickMenu::Side::German}})
            QCOMPARE(contentOf(path), PickMenu::build(side, PickMenu::namesFor(side, slotNames())));
    }

    void writeAllRefusals() {

        const std::tuple<int, QString> rows[] = {
            {24, QString()},                     // names end before slot 24
            {30, QStringLiteral("picplna.mnu")}, // American menu read-only
        };
        for (auto [entries, readOnlyFile] : rows) {

            QTemporaryDir dir;
            const QStringList files{"picplng.mnu", "PICPLNB.MNU", "picplna.mnu"};
            for (const QString &f : files)
                QVERIFY(writeFile(dir.filePath(f), f.toLatin1()));
            if (!readOnlyFile.isEmpty())
                QVERIFY(FileOps::setReadOnly(dir.filePath(readOnlyFile), true));

            QString error;
            QVERIFY(!PickMenu::writeAll(dir.path(), slotNames().mid(0, entries), &error));
            QVERIFY(!error.isEmpty());
            if (!readOnlyFile.isEmpty())
                QVERIFY2(error.contains(readOnlyFile), qPrintable(error));
            // Not even the German menu, which comes first, has been written.
            for (const QString &f : files)
                QCOMPARE(contentOf(dir.filePath(f)), f.toLatin1());
        }
    }
};

QTEST_GUILESS_MAIN(TestAircraftFormats)
#include "tst_aircraft_formats.moc"

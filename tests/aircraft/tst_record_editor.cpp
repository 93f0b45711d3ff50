// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoPlanesDat.h"
#include "FileOps.h"
#include "RecordEditor.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "TestFolders.h"

#include <QTest>

namespace {

// A click on box `bit` of flag group `group` (1: type, 2: nation and gear) of `slot`, whose
// flag byte is `before`: the byte `after` it. `changedRow` is -1, or a span row (1 to 168)
// that another writer changes after the record is shown: the click must keep that change, and
// work on the flag byte as the file holds it.
struct FlagCase {
    const char *tag;
    int slot, group, before, bit;
    bool ticked;
    int after, changedRow;
};

// planes.dat as `file` holds it (empty: none): what slot 25 shows, and what the player is told.
struct QuietCase {
    const char *tag;
    QByteArray file;
    bool show, readOnly;
    int rowsShown;
    const char *told;
};

} // namespace

class TestRecordEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void clickWritesOnlyTheFlagByte() {
        const FlagCase rows[] = {
            {"twin engined over four engined", 29, 1, 0x25, 4, true, 0x15, -1},
            {"gear outwards clears gear inwards, keeps the rest", 12, 2, 0xA3, 6, true, 0xC3, -1},
            {"gear inwards clears gear outwards", 3, 2, 0x40, 5, true, 0x20, -1},
            {"clearing a box leaves the others", 7, 1, 0x15, 0, false, 0x14, -1},
            // Both boxes of a pair as read from the file stay until the player clears one.
            {"a pair read from the file, one cleared", 5, 1, 0x30, 4, false, 0x20, -1},
            {"another bit beside a broken pair", 5, 2, 0x60, 7, true, 0xE0, -1},
            {"a byte swapped in after the record was shown", 22, 1, 0x01, 1, true, 0x03, 40},
            {"the flag byte swapped in after the record was shown", 22, 2, 0x01, 7, true, 0x82, 6},
        };
        for (const auto &[tag, slot, group, before, bit, ticked, after, changedRow] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            QByteArray dat = DemoPlanesDat::file(0);
            const int offset = slot * 216 + (group == 1 ? 8 : 9);
            dat[offset] = char(before);
            TestFolders::write(f.game(), QStringLiteral("PLANES.DAT"), dat);
            ScriptedPrompt prompt;
            RecordEditor editor(f.game(), prompt);

            QVERIFY(editor.showSlot(slot));
            QCOMPARE(editor.rows.size(), 168);
            QCOMPARE(editor.rows.first().position, slot * 216 + 5);
            QCOMPARE(editor.rows.last().position, slot * 216 + 172);
            for (int i = 0; i < 8; ++i)
                QCOMPARE(editor.checks(group)[i], bool(before >> i & 1));
            if (changedRow > 0) {
                // Row 6 is the nation byte: the new record has only "American" there.
                const int at = slot * 216 + 3 + changedRow;
                dat[at] = changedRow == 6 ? char(0x02) : char(dat.at(at) ^ 0x5A);
                TestFolders::write(f.game(), QStringLiteral("PLANES.DAT"), dat);
            }

            QVERIFY(editor.clickCheck(group, bit, ticked));
            dat[offset] = char(after);
            QCOMPARE(TestFolders::read(f.game(), QStringLiteral("PLANES.DAT")), dat);
            QCOMPARE(editor.rows.at(offset - slot * 216 - 4).read, after);
            QCOMPARE((group == 1 ? editor.F1 : editor.F2), QString::number(after));
            for (int i = 0; i < 8; ++i)
                QCOMPARE(editor.checks(group)[i], bool(after >> i & 1));
            QVERIFY(prompt.shown.isEmpty());
        }
    }

    void nothingIsWritten() {
        const QByteArray dat = DemoPlanesDat::file(0);
        const QuietCase rows[] = {
            {"no slot chosen", dat, false, false, 0, ""},
            {"missing planes.dat", QByteArray(), true, false, 0, "does not exist"},
            {"too short for the slot", dat.left(20 * 216), true, false, 0, "too few"},
            {"read-only", dat, true, true, 168, "read-only"},
        };
        for (const auto &[tag, file, show, readOnly, rowsShown, told] : rows) {
            const CaseName inCase(tag);
            TestFolders f;
            const QString path = QDir(f.game()).filePath(QStringLiteral("planes.dat"));
            if (!file.isEmpty())
                TestFolders::write(f.game(), QStringLiteral("planes.dat"), file);
            if (readOnly)
                QVERIFY(FileOps::setReadOnly(path, true));
            ScriptedPrompt prompt;
            RecordEditor editor(f.game(), prompt);
            if (show)
                QCOMPARE(editor.showSlot(25), rowsShown > 0);
            QCOMPARE(editor.rows.size(), rowsShown);
            // The player is told before any click could write.
            QCOMPARE(prompt.shown.size(), *told ? 1 : 0);
            if (*told)
                QVERIFY2(prompt.shown.first().text.contains(told),
                         qPrintable(prompt.shown.first().text));

            QVERIFY(!editor.clickCheck(1, 0, !editor.Check1[0]));
            QCOMPARE(TestFolders::read(f.game(), QStringLiteral("planes.dat")),
                     file.isEmpty() ? QByteArray("<missing>") : file);
            QCOMPARE(prompt.shown.size(), *told ? 1 : 0);
            if (readOnly)
                FileOps::setReadOnly(path, false);
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordEditor)
#include "tst_record_editor.moc"

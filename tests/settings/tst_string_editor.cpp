// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoSlots.h"
#include "DemoStringFile.h"
#include "FileOps.h"
#include "ScriptedPrompt.h"
#include "StringEditor.h"
#include "StringFile.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>
#include <QtEndian>

namespace {
using Strings = QList<QByteArray>;

QByteArray fileOf(const Strings &strings) {
    QByteArray bytes;
    StringFile::build(strings, &bytes);
    return bytes;
}

quint32 entry(const QByteArray &file, int i) {
    return qFromLittleEndian<quint32>(file.constData() + 8 + 4 * i);
}
} // namespace

class TestStringEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:

    void loadThenMakeGivesTheFileBack() {
        const std::tuple<QString, QByteArray> rows[] = {
            {"pnames.str", fileOf({"ab", "c", "def"})}, // three strings
            {"PNAMES.STR",
             DemoStringFile::bytes(DemoSlots::names())}, // the game's names, upper-case file name
            {"Pnames.Str", fileOf({"\xC4rger", "Cam\xE9l\xE9on", "x"})}, // 8-bit names, mixed case
        };
        for (auto [name, file] : rows) {
            TestFolders f;
            TestFolders::write(f.game(), name, file);
            ScriptedPrompt prompt;
            StringEditor editor(f.game(), prompt);
            QVERIFY(editor.Command1());
            QCOMPARE(editor.SFG1, file);
            QCOMPARE(editor.LeftCol, 8 + 4 * int(editor.SFG2.size()));
            QVERIFY(editor.Command5());
            QCOMPARE(TestFolders::read(f.game(), name), file);
            // Written under the name present, never as a second file differing in case.
            QCOMPARE(QDir(f.game()).entryList({"*.str"}, QDir::Files, QDir::IgnoreCase),
                     QStringList{name});
            QVERIFY(prompt.shown.isEmpty());
        }
    }

    void replaceMovesOnlyLaterEntries() {
        TestFolders f;
        Strings names;
        for (const QString &n : DemoSlots::names())
            names << n.toLatin1();
        const QByteArray before = fileOf(names);
        TestFolders::write(f.game(), "pnames.str", before);
        ScriptedPrompt prompt;
        StringEditor editor(f.game(), prompt);
        QVERIFY(editor.Command1());
        editor.rightClick(5);
        QCOMPARE(editor.SRText, names.at(5));
        editor.SRText = "Mustang Mk III";
        QVERIFY(editor.Command9());
        QVERIFY(editor.Command5());

        const QByteArray after = TestFolders::read(f.game(), "pnames.str");
        Strings read;
        QVERIFY(StringFile::ReadStringFile(QDir(f.game()).filePath("pnames.str"), &read, nullptr,
                                           nullptr));
        Strings expected = names;
        expected[5] = "Mustang Mk III";
        QCOMPARE(read, expected);
        const int delta = int(expected.at(5).size() - names.at(5).size());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(entry(after, i), entry(before, i) + (i > 5 ? delta : 0));
        QCOMPARE(after.size(), before.size() + delta);
    }

    void writes() {
        const QByteArray file = fileOf({"ab", "c", "def"});
        QByteArray key = file, enter = file, edited = file;
        key[20] = 'X';
        enter[21] = '\0';
        edited[20] = 'Q';
        edited[23] = '\0';
        // expected: empty: the file as it was
        const std::tuple<QString, bool, bool, QByteArray> rows[] = {
            {"key 20 X", false, true, key},       // a key writes its byte
            {"key 21 enter", false, true, enter}, // Enter writes 0
            {"view 20 Q, view 23 0, save", false, true,
             edited},                                     // save writes the view, empty cells as 0
            {"key 20 X", true, false, QByteArray()},      // a read-only file is kept
            {"unload, save", false, false, QByteArray()}, // save before load
            {"long, make", false, false, QByteArray()},   // make beyond offset 32767
            // The file replaced under another case by one that cannot be read: the failed Load
            // leaves nothing that Save or Make could write as a second file beside it.
            {"garbage, load, save", false, false,
             QByteArray("<missing>")}, // save after a failed load
            {"garbage, load, make", false, false,
             QByteArray("<missing>")}, // make after a failed load
            {"garbage, save", false, false,
             QByteArray("<missing>")}, // save with the file renamed since load
            // Replace refuses what the file cannot hold instead of writing "?" for it.
            {"type 1 \u00e9t\u20ac, make", false, true,
             fileOf({"ab", "\xe9t\x80", "def"})},          // a letter of the code page
            {"type 1 \u03a9", false, false, QByteArray()}, // a Greek letter
        };
        for (auto [action, readOnly, done, expected] : rows) {
            TestFolders f;
            const QByteArray file = fileOf({"ab", "c", "def"});
            TestFolders::write(f.game(), "pnames.str", file);
            const QString path = QDir(f.game()).filePath("pnames.str");
            if (readOnly)
                QVERIFY(FileOps::setReadOnly(path, true));
            ScriptedPrompt prompt;
            StringEditor editor(f.game(), prompt);
            QVERIFY(editor.Command1());
            StringEditor fresh(f.game(), prompt);
            StringEditor *e = &editor;
            bool ok = true;
            for (const QString &step : action.split(", ")) {
                const QStringList w = step.split(' ');
                if (w.at(0) == "key")
                    ok = e->keyPress(w.at(1).toInt(),
                                     w.at(2) == "enter" ? 13 : w.at(2).at(0).unicode());
                else if (w.at(0) == "view")
                    e->SFG1[w.at(1).toInt()] = w.at(2) == "0" ? '\0' : w.at(2).at(0).toLatin1();
                else if (w.at(0) == "save")
                    ok = e->Command3();
                else if (w.at(0) == "unload")
                    e = &fresh;
                else if (w.at(0) == "long")
                    e->SFG2 = Strings(400, QByteArray(100, 'x'));
                else if (w.at(0) == "make")
                    ok = e->Command5();
                else if (w.at(0) == "type") {
                    e->rightClick(w.at(1).toInt());
                    e->setText(w.at(2));
                    ok = e->Command9();
                } else if (w.at(0) == "load")
                    ok = e->Command1();
                else if (w.at(0) == "garbage") {
                    QVERIFY(QFile::remove(path));
                    TestFolders::write(f.game(), "PNAMES.STR", "not a string file");
                }
            }
            QCOMPARE(ok, done);
            QCOMPARE(prompt.shown.isEmpty(), done);
            QCOMPARE(QDir(f.game()).entryList({"*.str"}, QDir::Files, QDir::IgnoreCase).size(), 1);
            QCOMPARE(TestFolders::read(f.game(), "pnames.str"),
                     expected.isEmpty() ? file : expected);
            if (readOnly)
                FileOps::setReadOnly(path, false);
        }
    }
};

QTEST_GUILESS_MAIN(TestStringEditor)
#include "tst_string_editor.moc"

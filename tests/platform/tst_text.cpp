// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBytes.h"
#include "Rows.h"
#include "Text8.h"
#include "TextFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

using Lines = QList<QByteArray>;

struct LinesCase {
    const char *tag;
    QByteArray input;
    Lines expected;
    QByteArray written;
};

} // namespace

class TestText : public QObject {
    Q_OBJECT

private slots:
    // Each row is a file as found on disk and the lines a reader must see (the first of them
    // when only that is read); writing those lines back must give the same file with CR LF line
    // ends.

    void lines() {
        const LinesCase rows[] = {
            {"CR LF", "a\r\nbc\r\n", {"a", "bc"}, "a\r\nbc\r\n"},
            {"LF", "a\nbc\n", {"a", "bc"}, "a\r\nbc\r\n"},
            {"mixed", "a\r\nb\nc\r\n", {"a", "b", "c"}, "a\r\nb\r\nc\r\n"},
            {"one line without line end", "only", {"only"}, "only\r\n"},
            {"last line without line end", "a\r\nlast", {"a", "last"}, "a\r\nlast\r\n"},
            {"last line ends in a lone CR", "a\r\nlast\r", {"a", "last"}, "a\r\nlast\r\n"},
            {"empty lines in the middle", "a\r\n\r\n\r\nb\r\n", Lines{"a", "", "", "b"},
             "a\r\n\r\n\r\nb\r\n"},
            {"empty last line kept", "a\r\n\r\n", {"a", ""}, "a\r\n\r\n"},
            {"empty file", QByteArray(), Lines(), QByteArray()},
            {"one empty line", "\r\n", {""}, "\r\n"},
            {"empty first line", "\r\nsecond", {"", "second"}, "\r\nsecond\r\n"},
            {"CR inside a line is kept", "a\rb\r\n", {"a\rb"}, "a\rb\r\n"},
            {"8-bit bytes kept", "\x80\x81\xe9\r\n\xff\xa0\n", Lines{"\x80\x81\xe9", "\xff\xa0"},
             "\x80\x81\xe9\r\n\xff\xa0\r\n"},
            {"NUL bytes kept", QByteArray("a\0b\n", 4), Lines{QByteArray("a\0b", 3)},
             QByteArray("a\0b\r\n", 5)},
        };
        for (const auto &[tag, input, expected, written] : rows) {
            const CaseName inCase(tag);
            QTemporaryDir dir;
            QVERIFY(dir.isValid());
            const QString in = dir.filePath(QStringLiteral("in.txt"));
            const QString out = dir.filePath(QStringLiteral("out.txt"));
            QVERIFY(writeFile(in, input));

            QCOMPARE(TextFile::splitLines(input), expected);
            QCOMPARE(TextFile::firstLine(in), expected.value(0));
            Lines read;
            QString error;
            QVERIFY2(TextFile::readLines(in, &read, &error), qPrintable(error));
            QCOMPARE(read, expected);

            QVERIFY2(TextFile::writeLines(out, read, &error), qPrintable(error));
            QCOMPARE(contentOf(out), written);
            // Written output reads back as the same lines: a load and a later unload agree.
            QVERIFY2(TextFile::readLines(out, &read, &error), qPrintable(error));
            QCOMPARE(read, expected);
        }
    }

    // The first line alone (LastVEKDir is read so) is none of a missing file, and a whole read
    // of one fails, naming it.
    void missingFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("LastVEKDir"));
        QCOMPARE(TextFile::firstLine(path), QByteArray());
        Lines lines;
        QString error;
        QVERIFY(!TextFile::readLines(path, &lines, &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }

    void text8AllBytesRoundTrip() {
        const QByteArray all = allByteValues();
        const QString text = Text8::toUnicode(all);
        QCOMPARE(text.size(), 256);
        // Each byte is its own character: two bytes sharing one would not both come back.
        QCOMPARE(Text8::fromUnicode(text), all);
    }

    // Bytes and the characters they stand for, both ways; a character the code page lacks is
    // written as "?" and does not come back.
    // Windows-1252 both ways, and "?" for what it cannot spell. Bytes and code points: NUL, A,
    // DEL, euro, S caron, left single quote, trade mark, Y diaeresis, NBSP, e acute, y diaeresis.
    void text8Mapping() {
        const std::pair<int, char16_t> defined[] = {{0x00, 0x0000}, {0x41, 0x0041}, {0x7f, 0x007f},
                                                    {0x80, 0x20ac}, {0x8a, 0x0160}, {0x91, 0x2018},
                                                    {0x99, 0x2122}, {0x9f, 0x0178}, {0xa0, 0x00a0},
                                                    {0xe9, 0x00e9}, {0xff, 0x00ff}};
        QList<std::tuple<QString, QByteArray, bool>> rows; // the text, its bytes, read back alike
        for (const auto &[byte, codePoint] : defined)
            rows.append({QString(QChar(codePoint)), QByteArray(1, char(byte)), true});
        // The five bytes Windows-1252 leaves open pass through as C1 controls.
        for (int b : {0x81, 0x8d, 0x8f, 0x90, 0x9d})
            rows.append({QString(QChar(b)), QByteArray(1, char(b)), true});
        // CJK, Latin Extended-A outside the code page, C1 controls at defined positions (U+0080
        // is not the euro sign), and a character outside the BMP as one character.
        rows.append({QStringLiteral("a\u65e5b"), "a?b", false});
        rows.append({QStringLiteral("\u0100"), "?", false});
        rows.append({QStringLiteral("\u0080\u009f"), "??", false});
        rows.append({QStringLiteral("a\U0001F600b"), "a?b", false});
        for (const auto &[text, bytes, readBack] : rows) {
            QCOMPARE(Text8::fromUnicode(text), bytes);
            if (readBack)
                QCOMPARE(Text8::toUnicode(bytes), text);
        }
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"

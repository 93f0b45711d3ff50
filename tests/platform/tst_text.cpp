#include "FileBytes.h"
#include "Text8.h"
#include "TextFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Lines = QList<QByteArray>;

} // namespace

class TestText : public QObject {
    Q_OBJECT

private slots:
    // Each row is a file as found on disk and the lines a reader must see; writing those lines
    // back must give the same file with CR LF line ends.
    void lines_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<Lines>("expected");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("CR LF") << QByteArray("a\r\nbc\r\n") << Lines{"a", "bc"}
                               << QByteArray("a\r\nbc\r\n");
        QTest::newRow("LF") << QByteArray("a\nbc\n") << Lines{"a", "bc"}
                            << QByteArray("a\r\nbc\r\n");
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\r\n") << Lines{"a", "b", "c"}
                               << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("last line without line end")
            << QByteArray("a\r\nlast") << Lines{"a", "last"} << QByteArray("a\r\nlast\r\n");
        QTest::newRow("last line ends in a lone CR")
            << QByteArray("a\r\nlast\r") << Lines{"a", "last"} << QByteArray("a\r\nlast\r\n");
        QTest::newRow("empty lines in the middle, CR LF")
            << QByteArray("a\r\n\r\n\r\nb\r\n") << Lines{"a", "", "", "b"}
            << QByteArray("a\r\n\r\n\r\nb\r\n");
        QTest::newRow("empty lines in the middle, LF")
            << QByteArray("a\n\n\nb\n") << Lines{"a", "", "", "b"}
            << QByteArray("a\r\n\r\n\r\nb\r\n");
        QTest::newRow("empty last line kept")
            << QByteArray("a\r\n\r\n") << Lines{"a", ""} << QByteArray("a\r\n\r\n");
        QTest::newRow("empty file") << QByteArray() << Lines{} << QByteArray();
        QTest::newRow("one empty line") << QByteArray("\r\n") << Lines{""} << QByteArray("\r\n");
        QTest::newRow("CR inside a line is kept")
            << QByteArray("a\rb\r\n") << Lines{"a\rb"} << QByteArray("a\rb\r\n");
        QTest::newRow("8-bit bytes kept")
            << QByteArray("\x80\x81\xe9\r\n\xff\xa0\n") << Lines{"\x80\x81\xe9", "\xff\xa0"}
            << QByteArray("\x80\x81\xe9\r\n\xff\xa0\r\n");
        QTest::newRow("NUL bytes kept")
            << QByteArray("a\0b\n", 4) << Lines{QByteArray("a\0b", 3)} << QByteArray("a\0b\r\n", 5);
    }

    void lines() {
        QFETCH(QByteArray, input);
        QFETCH(Lines, expected);
        QFETCH(QByteArray, written);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString in = dir.filePath(QStringLiteral("in.txt"));
        const QString out = dir.filePath(QStringLiteral("out.txt"));
        QVERIFY(writeFile(in, input));

        QCOMPARE(TextFile::splitLines(input), expected);
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

    void firstLine_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("expected");

        QTest::newRow("CR LF") << true << QByteArray("C:\\VEK\r\nmore\r\n")
                               << QByteArray("C:\\VEK");
        QTest::newRow("LF") << true << QByteArray("first\nsecond\n") << QByteArray("first");
        QTest::newRow("no line end") << true << QByteArray("only") << QByteArray("only");
        QTest::newRow("empty first line") << true << QByteArray("\r\nsecond") << QByteArray();
        QTest::newRow("8-bit bytes")
            << true << QByteArray("\xe9t\xe9\r\n") << QByteArray("\xe9t\xe9");
        QTest::newRow("empty file") << true << QByteArray() << QByteArray();
        QTest::newRow("missing file") << false << QByteArray() << QByteArray();
    }

    void firstLine() {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, expected);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("LastVEKDir"));
        if (present)
            QVERIFY(writeFile(path, content));
        QCOMPARE(TextFile::firstLine(path), expected);
        // A whole read of a missing file fails, naming it.
        Lines lines;
        QString error;
        QCOMPARE(TextFile::readLines(path, &lines, &error), present);
        if (!present)
            QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }

    void text8AllBytesRoundTrip() {
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);

        const QString text = Text8::toUnicode(all);
        QCOMPARE(text.size(), 256);
        // Each byte is its own character: two bytes sharing one would lose one of them on the way
        // back.
        for (int i = 0; i < 256; ++i) {
            for (int j = i + 1; j < 256; ++j) {
                if (text.at(i) == text.at(j))
                    QFAIL(qPrintable(
                        QStringLiteral("bytes %1 and %2 share a character").arg(i).arg(j)));
            }
        }
        QCOMPARE(Text8::fromUnicode(text), all);
    }

    // Bytes and the characters they stand for, both ways; a character the code page lacks is
    // written as "?" and does not come back.
    void text8Mapping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("readBack");

        const auto both = [](const char *tag, int byte, char16_t codePoint) {
            QTest::newRow(tag) << QString(QChar(codePoint)) << QByteArray(1, char(byte)) << true;
        };
        both("NUL", 0x00, 0x0000);
        both("ASCII", 0x41, 0x0041);
        both("DEL", 0x7f, 0x007f);
        both("euro", 0x80, 0x20ac);
        both("S caron", 0x8a, 0x0160);
        both("left single quote", 0x91, 0x2018);
        both("trade mark", 0x99, 0x2122);
        both("Y diaeresis", 0x9f, 0x0178);
        both("NBSP", 0xa0, 0x00a0);
        both("e acute", 0xe9, 0x00e9);
        both("y diaeresis", 0xff, 0x00ff);
        // The five bytes Windows-1252 leaves open pass through as C1 controls.
        for (int b : {0x81, 0x8d, 0x8f, 0x90, 0x9d})
            QTest::addRow("undefined 0x%x", b)
                << QString(QChar(b)) << QByteArray(1, char(b)) << true;

        QTest::newRow("CJK") << QStringLiteral("a\u65e5b") << QByteArray("a?b") << false;
        QTest::newRow("Latin Extended-A outside the code page")
            << QStringLiteral("\u0100") << QByteArray("?") << false;
        // U+0080 is not the euro sign; only the undefined positions pass C1 controls through.
        QTest::newRow("C1 control at a defined position")
            << QStringLiteral("\u0080\u009f") << QByteArray("??") << false;
        QTest::newRow("character outside the BMP is one character")
            << QStringLiteral("a\U0001F600b") << QByteArray("a?b") << false;
    }

    void text8Mapping() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, readBack);
        QCOMPARE(Text8::fromUnicode(text), bytes);
        if (readBack)
            QCOMPARE(Text8::toUnicode(bytes), text);
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileBytes.h"
#include "FileOps.h"
#include "Rows.h"
#include "StringFile.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {

using Strings = QList<QByteArray>;

// A list the reading rule gives back unchanged: no empty string after the first.
Strings randomList(QRandomGenerator &rng) {
    Strings list;
    const int count = 1 + int(rng.bounded(40));
    for (int i = 0; i < count; ++i) {
        const int length = (i == 0 ? 0 : 1) + int(rng.bounded(24));
        QByteArray s;
        for (int k = 0; k < length; ++k) {
            // Half the bytes from the 8-bit upper half, where a signed char would bite.
            const int b =
                rng.bounded(2) ? 0x80 + int(rng.bounded(0x80)) : 1 + int(rng.bounded(0x7F));
            s += static_cast<char>(b);
        }
        list.append(s);
    }
    return list;
}

} // namespace

using WriteStringRow = std::tuple<const char *, QString, bool, Strings, bool>;

class TestStringFile : public QObject {
    Q_OBJECT

private slots:
    // Files and the strings a reader sees in them. Where `written` is set the writer must give
    // exactly these bytes for those strings.
    // Files the writer makes, read back (three strings, one empty, empty then x, 8-bit bytes,
    // positions past 255 that need the second table byte with a size past 255 too), then files
    // only read.
    void layout() {
        const QByteArray long300(300, 'L');
        QList<std::tuple<QByteArray, Strings, bool>> rows{
            {bytesOf({29, 0,  0, 0, 3, 0,    0,    0, 12,   0, 0,    0,    15,   0, 0,
                      0,  17, 0, 0, 0, 0x61, 0x62, 0, 0x63, 0, 0x64, 0x65, 0x66, 0}),
             {"ab", "c", "def"},
             true},
            {bytesOf({13, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0}), {""}, true},
            {bytesOf({19, 0, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 9, 0, 0, 0, 0, 0x78, 0}),
             {"", "x"},
             true},
            {bytesOf({15, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0xE9, 0xFF, 0}), {"\xE9\xFF"}, true},
            {bytesOf({0x3F, 0x01, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 0x35, 0x01, 0, 0}) + long300 +
                 '\0' + "q" + '\0',
             {long300, "q"},
             true}};

        // Header of a two-entry table; what matters to the reader is entry 0 (8) alone.
        const QByteArray two = bytesOf({0, 0, 0, 0, 2, 0, 0, 0, 8, 0, 0, 0, 10, 0, 0, 0});
        const std::pair<const char *, std::pair<QByteArray, Strings>> read[] = {
            {"zero run is one separator", {two + bytesOf({0x61, 0, 0, 0x62, 0}), {"a", "b"}}},
            {"empty first string", {two + bytesOf({0, 0x78, 0}), {"", "x"}}},
            {"zeros before the first string", {two + bytesOf({0, 0, 0, 0x78, 0}), {"", "x"}}},
            {"last string unterminated",
             {two + bytesOf({0x61, 0x62, 0, 0x63, 0x64}), {"ab", "cd"}}},
            {"trailing zeros add nothing", {two + bytesOf({0x61, 0, 0x62, 0, 0, 0}), {"a", "b"}}},
            {"data is all zeros", {bytesOf({0, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0}), {""}}},
            {"data empty at the end of the file",
             {bytesOf({12, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0}), {""}}},
            // The reader takes the two low bytes of entry 0 and nothing else: not the count, not
            // the upper bytes, not the other entries.
            {"upper bytes of entry 0 ignored",
             {bytesOf({0, 0, 0, 0, 9, 0, 0, 0, 4, 0, 7, 7, 0x6B, 0}), {"k"}}},
            {"count and later entries ignored",
             {bytesOf({0, 0, 0, 0, 1, 0, 0, 0, 8, 0, 0, 0, 99, 0, 0, 0, 0x6B, 0, 0x6C, 0, 0x6D}),
              {"k", "l", "m"}}},
            {"data offset past 255",
             {bytesOf({0, 0, 0, 0, 1, 0, 0, 0, 0x00, 0x01, 0, 0}) + QByteArray(252, '\x01') +
                  bytesOf({0xC4, 0xE9, 0}),
              {"\xC4\xE9"}}},
        };
        for (const auto &[tag, row] : read)
            rows.append({row.first, row.second, false});
        for (const auto &[bytes, strings, written] : rows) {
            QString reason;
            if (written) {
                QByteArray built;
                QVERIFY2(StringFile::build(strings, &built, &reason), qPrintable(reason));
                QCOMPARE(built.toHex(' '), bytes.toHex(' '));
            }
            Strings read{"stale"};
            QVERIFY2(StringFile::parse(bytes, &read, &reason), qPrintable(reason));
            QCOMPARE(read, strings);
        }
    }

    void notAStringFile() {

        const std::tuple<QByteArray> rows[] = {
            {QByteArray()},                                        // empty file
            {bytesOf({9, 0, 0, 0, 1, 0, 0, 0, 4})},                // nine bytes
            {bytesOf({10, 0, 0, 0, 1, 0, 0, 0, 3, 0})},            // data offset one past the end
            {bytesOf({0, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0, 0})}, // data offset far beyond
        };
        for (auto [bytes] : rows) {
            Strings strings;
            QString reason;
            QVERIFY(!StringFile::parse(bytes, &strings, &reason));
            QVERIFY(!reason.isEmpty());

            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("broken.str"));
            QVERIFY(writeFile(path, bytes));
            QString error;
            QByteArray raw;
            QVERIFY(!StringFile::ReadStringFile(path, &strings, &raw, &error));
            QVERIFY2(error.contains(QStringLiteral("broken.str")), qPrintable(error));

            QVERIFY(!StringFile::ReadStringFile(dir.filePath(QStringLiteral("absent.str")),
                                                &strings, &raw, &error));
            QVERIFY2(error.contains(QStringLiteral("absent.str")), qPrintable(error));
        }
    }

    // A write over a present one-entry file, always asked for as "Pnames.str": it lands in the file
    // present under whatever case, or, refused, leaves that file as it was.
    void writeStringFile_data() {

        const QString lower = QStringLiteral("pnames.str");
        // Two strings: the table takes 8 bytes, so the second starts at 17 + the first's length.
        const WriteStringRow rows[] = {
            {"last string starts at 32767", lower, false, Strings{QByteArray(32750, 'a'), "end"},
             true},
            {"last string would start at 32768", lower, false,
             Strings{QByteArray(32751, 'a'), "end"}, false},
            {"a long last string is fine", lower, false, Strings{"a", QByteArray(40000, 'z')},
             true},
            {"zero byte inside a string", lower, false, Strings{"ok", QByteArray("a\0b", 3)},
             false},
            {"no strings at all", lower, false, Strings{}, false},
            {"present file keeps its case", QStringLiteral("PNAMES.STR"), false,
             Strings{"P-38H", "Mustang III"}, true},
            {"read-only file is kept", lower, true, Strings{"new"}, false},
        };
        addRows(rows);
    }

    void writeStringFile() {
        QFETCH(WriteStringRow, row);
        auto [tag, present, readOnly, strings, storable] = row;

        QTemporaryDir dir;
        const QString path = dir.filePath(present);
        const QByteArray before = bytesOf({13, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0});
        QVERIFY(writeFile(path, before));
        if (readOnly)
            QVERIFY(FileOps::setReadOnly(path, true));

        QString error;
        QCOMPARE(StringFile::WriteStringFile(dir.filePath(QStringLiteral("Pnames.str")), strings,
                                             &error),
                 storable);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{present});
        if (!storable) {
            QVERIFY2(error.contains(QStringLiteral("pnames.str"), Qt::CaseInsensitive),
                     qPrintable(error));
            QCOMPARE(contentOf(path), before);
            return;
        }
        const QByteArray written = contentOf(path);
        QCOMPARE(qFromLittleEndian<quint32>(written.constData()), quint32(written.size()));
        QByteArray expected;
        QVERIFY(StringFile::build(strings, &expected));
        QVERIFY(written == expected); // QCOMPARE would print 40 kB on failure
        Strings back;
        QVERIFY(StringFile::ReadStringFile(dir.filePath(QStringLiteral("pnames.str")), &back,
                                           nullptr, &error));
        QCOMPARE(back, strings);
    }

    void roundTripThroughFiles() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pnames.str"));
        QRandomGenerator rng(4300);
        for (int run = 0; run < 300; ++run) {
            const Strings list = randomList(rng);
            QString error;
            QVERIFY2(StringFile::WriteStringFile(path, list, &error), qPrintable(error));
            Strings back;
            QByteArray raw;
            QVERIFY2(StringFile::ReadStringFile(path, &back, &raw, &error), qPrintable(error));
            QCOMPARE(back, list);
            QCOMPARE(raw, contentOf(path));
            // The header and table must describe the data, not only the reader's view of it.
            QCOMPARE(qFromLittleEndian<quint32>(raw.constData()), quint32(raw.size()));
            QCOMPARE(qFromLittleEndian<quint32>(raw.constData() + 4), quint32(list.size()));
            for (qsizetype i = 0; i < list.size(); ++i) {
                const quint32 entry = qFromLittleEndian<quint32>(raw.constData() + 8 + 4 * i);
                QCOMPARE(raw.mid(8 + entry, list.at(i).size() + 1), list.at(i) + '\0');
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestStringFile)
#include "tst_stringfile.moc"

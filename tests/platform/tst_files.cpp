// SPDX-License-Identifier: GPL-3.0-or-later
#include "BytePatch.h"
#include "FileBytes.h"
#include "FileCompare.h"
#include "FileCopy.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileRemoval.h"
#include "Launcher.h"
#include "Rows.h"
#include "TestFolders.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

#ifdef VEK_LINUX_ROOMS
constexpr bool kCopiesAhead = true;
#else
constexpr bool kCopiesAhead = false;
#endif

// Larger than the copy's block so that the block loop runs more than once and ends on a
// partial block.
QByteArray severalBlocks() {
    QByteArray bytes(3 * (1 << 20) + 7, '\0');
    QRandomGenerator rng(20240611);
    for (char &c : bytes)
        c = static_cast<char>(rng.bounded(256));
    return bytes;
}

// How a failing call is provoked. The tests run as root, where permission bits stop nothing,
// so failures come from the read-only attribute ("read-only"), a missing folder ("missing
// folder"), or a folder in the way ("folder").
// The three calls that write a file the game reads.
enum class Write { Atomic, CopyReplace, Patch };

// A folder asked for below the test folder; `setup` puts a "dir" or a "file" there first.
struct EnsureCase {
    const char *tag, *path, *setup;
    bool existed, created, folderAfter;
};

// Files made plain, read-only and as folders; the names asked to delete; those handed to
// `before`, in order; those expected in the failures, in order; what the folder holds
// afterwards; the file before which the caller stops (-1: none). Lists are written "a;b;c".
struct RemoveCase {
    const char *tag, *files, *readOnly, *folders, *names, *announced, *refused, *remaining;
    int stopAt = -1;
};

// Bytes are written as text with "." for a zero byte; a file before of "-": none.
struct PatchCase {
    const char *tag, *before;
    qint64 position;
    const char *value, *after;
};

struct ReadByteCase {
    const char *tag;
    QByteArray content; // "<none>": no file
    qint64 position;
    bool ok;
    int value;
};

// The second file is the first (of `size` bytes) with the byte at `flip` changed (-1: none)
// and `extra` bytes added; `missing` leaves it out.
struct SameCase {
    const char *tag;
    int size, flip, extra;
    bool missing;
    FileCompare::Result result;
};

} // namespace

Q_DECLARE_METATYPE(Write)
Q_DECLARE_METATYPE(EnsureCase)
Q_DECLARE_METATYPE(RemoveCase)
Q_DECLARE_METATYPE(PatchCase)
Q_DECLARE_METATYPE(ReadByteCase)
Q_DECLARE_METATYPE(SameCase)

class TestFiles : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp_;
    QDir dir_;
    QString path(const QString &name) const { return dir_.filePath(name); }

private slots:
    // Every test works in a fresh folder of its own.
    void init() {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
        dir_ = QDir(tmp_->path());
    }

    void ensureFolder_data() {
        const EnsureCase rows[] = {
            {"missing: created", "new", "", false, true, true},
            {"present: left alone", "new", "dir", true, false, true},
            {"a file in the way", "new", "file", false, false, false},
        };
        addRows(rows);
    }

    void ensureFolder() {
        QFETCH(EnsureCase, row);
        const QString target = dir_.filePath(row.path), setup = row.setup;
        if (setup == QLatin1String("dir"))
            QVERIFY(QDir().mkdir(target));
        else if (setup == QLatin1String("file"))
            QVERIFY(writeFile(target, "x"));
        bool wasCreated = !row.created;
        QCOMPARE(FileOps::EnsureFolder(target, &wasCreated), row.existed);
        QCOMPARE(wasCreated, row.created);
        QCOMPARE(QFileInfo(target).isDir(), row.folderAfter);
        if (setup == QLatin1String("file"))
            QCOMPARE(contentOf(target), QByteArray("x"));
    }

    // Both ways of replacing a whole file: from bytes in memory and as a copy of another file.
    void replaceWhole_data() {
        QTest::addColumn<Write>("write");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        const QByteArray digits("0123456789");
        const struct {
            const char *tag;
            bool present;
            QByteArray before, after;
        } rows[] = {
            {"shorter over longer", true, digits, "ab"},
            {"every byte value over a longer file", true, QByteArray(356, 'z'), allByteValues()},
            {"several blocks to a new file", false, {}, severalBlocks()},
        };
        for (const auto &r : rows) {
            QTest::addRow("write, %s", r.tag) << Write::Atomic << r.present << r.before << r.after;
            QTest::addRow("copy, %s", r.tag)
                << Write::CopyReplace << r.present << r.before << r.after;
        }
    }

    void replaceWhole() {
        QFETCH(Write, write);
        QFETCH(bool, present);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);

        const QString path = this->path(QStringLiteral("eaw.ini"));
        const QString from = this->path(QStringLiteral("from.bin"));
        if (present)
            QVERIFY(writeFile(path, before));
        // A reader of the old file keeps seeing it whole: the new content arrives as a new file
        // renamed over the old one, never by rewriting the old one in place.
        QFile held(path);
        if (present)
            QVERIFY(held.open(QIODevice::ReadOnly | QIODevice::Unbuffered));

        QString error;
        if (write == Write::Atomic) {
            QVERIFY2(FileOps::writeAtomic(path, after, &error), qPrintable(error));
        } else {
            QVERIFY(writeFile(from, after));
            QVERIFY2(FileOps::copyReplace(from, path, &error), qPrintable(error));
            QCOMPARE(contentOf(from).size(), after.size());
        }
        QVERIFY(contentOf(path) == after); // QCOMPARE would print megabytes on failure
#ifdef Q_OS_UNIX
        if (present)
            QCOMPARE(held.readAll(), before);
#endif
        // Nothing of the temporary file may stay behind in a game folder.
        QStringList expected{"eaw.ini"};
        if (write == Write::CopyReplace)
            expected << "from.bin";
        QCOMPARE(FileList::files(dir_.path()), expected);
    }

    // Sources a copy cannot read; the destination must come out of each untouched.
    void copyReplaceFailedSource_data() {
        QTest::addColumn<QString>("bad");
        QTest::newRow("missing source") << "missing";
        QTest::newRow("folder as source") << "folder";
        // Opens, then fails on the first read: the failure comes after the destination is open.
        QTest::newRow("source failing while read") << "unreadable";
    }

    void copyReplaceFailedSource() {
        QFETCH(QString, bad);
        QString from = path(QStringLiteral("from.bin"));
        const QString to = path(QStringLiteral("to.bin"));
        if (bad == "folder")
            QVERIFY(QDir().mkdir(from));
        if (bad == "unreadable") {
#ifdef Q_OS_LINUX
            // Reading a process's memory at address 0 fails with an I/O error.
            from = QStringLiteral("/proc/self/mem");
#else
            QSKIP("needs a file that opens but cannot be read");
#endif
        }
        QVERIFY(writeFile(to, "keep me"));

        QString error;
        QVERIFY(!FileOps::copyReplace(from, to, &error));
        QVERIFY2(error.contains(QDir::toNativeSeparators(from)), qPrintable(error));
        QCOMPARE(contentOf(to), QByteArray("keep me"));
        QCOMPARE(FileList::files(dir_.path()), QStringList{"to.bin"});
    }

    // A write the target refuses, or a patch at no position, names the file and leaves it as it
    // was, with nothing of a temporary file next to it.
    void refused_data() {
        QTest::addColumn<Write>("write");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<qint64>("position"); // of the patch
        const std::pair<Write, const char *> writes[] = {
            {Write::Atomic, "write"}, {Write::CopyReplace, "copy"}, {Write::Patch, "patch"}};
        for (const auto &[write, op] : writes)
            for (const char *obstacle : {"read-only", "missing folder", "folder"})
                QTest::addRow("%s, %s", op, obstacle) << write << QString(obstacle) << qint64(2);
        // A bad position is refused for its own sake: the file is writable.
        QTest::newRow("patch, position 0") << Write::Patch << "writable" << qint64(0);
    }

    void refused() {
        QFETCH(Write, write);
        QFETCH(QString, obstacle);
        QFETCH(qint64, position);
        const QByteArray before("ABCDE");
        const bool file = obstacle == "read-only" || obstacle == "writable";
        const QString target =
            path(obstacle == "missing folder" ? "absent/target.dat" : "target.dat");
        if (file)
            QVERIFY(writeFile(target, before) &&
                    FileOps::setReadOnly(target, obstacle == "read-only"));
        if (obstacle == "folder")
            QVERIFY(QDir().mkdir(target));
        const QString from = path(QStringLiteral("from.bin"));
        QVERIFY(writeFile(from, "new"));

        QString error;
        bool ok = true;
        switch (write) {
        case Write::Atomic:
            ok = FileOps::writeAtomic(target, "new", &error);
            break;
        case Write::CopyReplace:
            ok = FileOps::copyReplace(from, target, &error);
            break;
        case Write::Patch:
            ok = BytePatch::writeByte(target, position, 'x', &error);
            break;
        }
        QVERIFY(!ok);
        QVERIFY2(error.contains(QDir::toNativeSeparators(target)), qPrintable(error));
        // The target is as it was: same bytes, same attribute, and no folder conjured up for it.
        if (file)
            QCOMPARE(contentOf(target), before);
        QCOMPARE(FileOps::isReadOnly(target), obstacle == "read-only");
        QCOMPARE(QFileInfo(target).isDir(), obstacle == "folder");
        QVERIFY(!QFileInfo::exists(path("absent")));
        QStringList expected{"from.bin"};
        if (file)
            expected << "target.dat";
        QCOMPARE(FileList::files(dir_.path()), expected);
    }

    // A whole-file write cut short leaves the new file under "name.XXXXXX": only those of the
    // names asked for, with six letters and digits not all of one case, go.
    void removeCutWrites_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("left");
        using L = QStringList;
        QTest::newRow("beside the file") << L{"LastVEKDir", "LastVEKDir.a1B2c3"} << L{"LastVEKDir"};
        QTest::newRow("a first write, in another case") << L{"lastvekdir.Q7x9Zk"} << L{};
        QTest::newRow("digits alone") << L{"eaw.ini.123456"} << L{};
        QTest::newRow("words of one case stay")
            << L{"eaw.ini.backup", "eaw.ini.BEFORE"} << L{"eaw.ini.BEFORE", "eaw.ini.backup"};
        QTest::newRow("other names stay") << L{"notes.txt.a1B2c3"} << L{"notes.txt.a1B2c3"};
        QTest::newRow("the mover's cut copies, only by their own pattern")
            << L{".vek-copy-4242-17.tmp", ".vek-copy-x-1.tmp", ".vek-copy-1-2.tmp.keep"}
            << L{".vek-copy-1-2.tmp.keep", ".vek-copy-x-1.tmp"};
        QTest::newRow("five or seven, or not letters and digits")
            << L{"eaw.ini.a1B2c", "eaw.ini.a1B2c3d", "eaw.ini.a1-2c3"}
            << L{"eaw.ini.a1-2c3", "eaw.ini.a1B2c", "eaw.ini.a1B2c3d"};
    }

    void removeCutWrites() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, left);
        for (const QString &f : files)
            QVERIFY(writeFile(path(f), "x"));
        QStringList problems;
        const QStringList removed =
            FileOps::removeCutWrites(dir_.path(), {"LastVEKDir", "eaw.ini"}, &problems);
        QCOMPARE(problems, QStringList());
        QStringList now = FileList::files(dir_.path());
        now.sort();
        QCOMPARE(now, left);
        QCOMPARE(removed.size(), files.size() - left.size());
    }

    // A file goes, read-only or not, and one already gone is no failure; a folder is no file:
    // refused, named, and left.
    void remove_data() {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"file", "read-only", "absent", "folder"})
            QTest::newRow(kind) << QString(kind);
    }

    void remove() {
        QFETCH(QString, kind);
        const QString path = this->path(QStringLiteral("victim"));
        if (kind == "file" || kind == "read-only")
            QVERIFY(writeFile(path, "x") && FileOps::setReadOnly(path, kind == "read-only"));
        if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        const bool ok = kind != "folder";
        QString error;
        QCOMPARE(FileOps::remove(path, &error), ok);
        QCOMPARE(QFileInfo::exists(path), !ok);
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)) != ok, qPrintable(error));
    }

    // Copies made ahead of their names: each becomes its target at its turn, with the bytes
    // the source has then; nothing is left in the folder of one never named.
    void copyAhead_data() {
        QTest::addColumn<QString>("trouble");  // done to a.dat's source after the copies ahead
        QTest::addColumn<bool>("copied");      // whether a.dat's copy succeeds
        QTest::addColumn<QByteArray>("bytes"); // what game/A.DAT holds afterwards
        QTest::newRow("over an existing file") << "existing" << true << QByteArray("source a");
        QTest::newRow("source rewritten since") << "rewritten" << true << QByteArray("rewrite!");
        QTest::newRow("source deleted since") << "deleted" << false << QByteArray("<missing>");
        // Its bytes unchanged, a renamed source's copy stands: the copy made ahead is named
        // (the usual copy, the only one where nothing is copied ahead, does not find it).
        QTest::newRow("source renamed since")
            << "renamed" << kCopiesAhead
            << (kCopiesAhead ? QByteArray("source a") : QByteArray("<missing>"));
        QTest::newRow("while recording: none made")
            << "recording" << true << QByteArray("source a");
    }

    void copyAhead() {
        QFETCH(QString, trouble);
        QFETCH(bool, copied);
        QFETCH(QByteArray, bytes);
        QVERIFY(dir_.mkpath("src") && dir_.mkpath("game"));
        for (const char *name : {"a.dat", "b.dat", "c.dat"})
            QVERIFY(writeFile(path("src/") + name, QByteArray("source ") + name[0]));
        if (trouble == "existing")
            QVERIFY(writeFile(path("game/A.DAT"), "old"));
        const bool recording = trouble == "recording";
        if (recording)
            FileHook::setSink([](const FileOperation &) {});
        {
            FileCopy::Ahead ahead(path("game"));
            // Only the Linux room copies ahead; elsewhere every copy goes in its turn.
            QCOMPARE(ahead.add(path("src/a.dat")), kCopiesAhead && !recording);
            QCOMPARE(ahead.add(path("src/b.dat")), kCopiesAhead && !recording);
            if (trouble == "rewritten") {
                // The same size, so only the modification time tells the rewrite: set, not
                // waited for, since the file system's clock may not move between two writes.
                QVERIFY(writeFile(path("src/a.dat"), "rewrite!"));
                QFile rewritten(path("src/a.dat"));
                QVERIFY(rewritten.open(QIODevice::ReadWrite));
                QVERIFY(rewritten.setFileTime(QFileInfo(rewritten).lastModified().addSecs(1),
                                              QFileDevice::FileModificationTime));
            } else if (trouble == "deleted") {
                QVERIFY(QFile::remove(path("src/a.dat")));
            } else if (trouble == "renamed") {
                QVERIFY(QFile::rename(path("src/a.dat"), path("src/moved.dat")));
            }
            QString error;
            QCOMPARE(FileCopy::copyReplace(path("src/a.dat"), path("game/A.DAT"), &error, false,
                                           FileCopy::Way::Best, &ahead),
                     copied);
            QCOMPARE(error.isEmpty(), copied);
            QCOMPARE(contentOf(path("game/A.DAT")),
                     trouble == "existing" && !copied ? QByteArray("old") : bytes);
            // Out of turn, c.dat is copied the usual way; b.dat waits, and is dropped unnamed.
            QVERIFY(FileCopy::copyReplace(path("src/c.dat"), path("game/c.dat"), &error, false,
                                          FileCopy::Way::Best, &ahead));
        }
        FileHook::setSink({});
        QStringList expected{"c.dat"};
        if (copied)
            expected.prepend("A.DAT");
        QCOMPARE(QDir(path("game")).entryList(QDir::Files | QDir::Hidden), expected);
        QCOMPARE(contentOf(path("game/c.dat")), QByteArray("source c"));
    }

    void removeNamed_data() {
        const RemoveCase rows[] = {
            {"plain, absent and non-ASCII names", "a.dat;Ünïcode.DAT;keep.dat", "", "",
             "a.dat;gone.dat;Ünïcode.DAT", "a.dat;Ünïcode.DAT", "", "keep.dat"},
            // All or nothing: one file that cannot go keeps the others; a folder is no file.
            {"read-only refused, nothing deleted, a folder is no file", "a.dat;c.dat", "b.dat", "d",
             "a.dat;b.dat;c.dat;d", "", "b.dat", "a.dat;b.dat;c.dat;d"},
            {"folder that is not there", "", "", "", "a.dat", "", "", ""},
            {"stopped before the third: the rest stay", "a.dat;b.dat;c.dat;d.dat", "", "",
             "a.dat;b.dat;c.dat;d.dat", "a.dat;b.dat", "", "c.dat;d.dat", 2},
            // By case: the one file of another case goes, under its own name; names equal but
            // for case delete it once; a name present under two cases is left alone, and named
            // (and then, as a read-only file does, keeps every other).
            {"by case", "Planes.DAT;sky.pic;SKY.PIC;Abc.txt;zz.dat", "", "",
             "PLANES.dat;planes.dat;abc.TXT", "Planes.DAT;Abc.txt", "", "SKY.PIC;sky.pic;zz.dat"},
            {"by case, a name in two cases keeps them all", "Planes.DAT;sky.pic;SKY.PIC;zz.dat",
             "RO.dat", "", "planes.dat;sky.pic;ro.DAT", "", "sky.pic;RO.dat",
             "Planes.DAT;RO.dat;SKY.PIC;sky.pic;zz.dat"},
        };
        addRows(rows);
    }

    void removeNamed() {
        QFETCH(RemoveCase, row);
        const QStringList files = listOf(row.files), readOnly = listOf(row.readOnly),
                          folders = listOf(row.folders), asked = listOf(row.names),
                          announced = listOf(row.announced), refused = listOf(row.refused),
                          remaining = listOf(row.remaining);
        const int stopAt = row.stopAt;
        // Each row both ways: the folder held open, and each delete by path as while recording.
        for (const bool recorded : {false, true}) {
            const bool absent = files.isEmpty() && readOnly.isEmpty() && folders.isEmpty();
            const QString folder = absent ? path(QStringLiteral("absent")) : dir_.path();
            for (const QString &f : files + readOnly)
                QVERIFY(writeFile(path(f), "x"));
            for (const QString &f : readOnly)
                QVERIFY(FileOps::setReadOnly(path(f), true));
            for (const QString &f : folders)
                QVERIFY(QDir().mkpath(path(f)));

            QStringList deleted;
            if (recorded)
                FileHook::setSink([&deleted](const FileOperation &op) {
                    if (op.kind == FileOperation::Kind::Delete)
                        deleted << QFileInfo(op.path).fileName();
                });
            QStringList seen, failures;
            QString error;
            const bool read = FileRemoval::removeNamed(folder, asked, &failures, &error,
                                                       [&seen, stopAt](const QString &name) {
                                                           if (seen.size() == stopAt)
                                                               return false;
                                                           seen << name;
                                                           return true;
                                                       });
            FileHook::setSink({});
            QCOMPARE(read, !absent);
            QVERIFY2(absent == error.contains(QDir::toNativeSeparators(folder)), qPrintable(error));
            QCOMPARE(seen, announced);
            // Recorded, every delete is seen by its path: what went, refusals aside.
            QStringList went = announced;
            for (const QString &r : refused)
                went.removeAll(r);
            if (recorded)
                QCOMPARE(deleted, went);
            QCOMPARE(failures.size(), refused.size());
            for (qsizetype i = 0; i < refused.size(); ++i)
                QVERIFY2(failures.at(i).contains(QDir::toNativeSeparators(path(refused.at(i)))),
                         qPrintable(failures.at(i)));
            QStringList left = dir_.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
            left.sort();
            QStringList expected = remaining;
            expected.sort();
            QCOMPARE(left, expected);
            for (const QString &f : readOnly)
                QVERIFY(FileOps::setReadOnly(path(f), false));
            for (const QString &f : left)
                QVERIFY(QFileInfo(path(f)).isDir() ? QDir(path(f)).removeRecursively()
                                                   : QFile::remove(path(f)));
        }
    }

    // The read-only attribute comes and goes, and setNormal clears it leaving the file readable
    // (a file that is not there has none: the refused rows of a missing folder).
    void attributes() {
        const QString path = this->path(QStringLiteral("planes.dat"));
        QVERIFY(writeFile(path, "x") && !FileOps::isReadOnly(path));
        for (const bool normal : {false, true}) {
            QVERIFY(FileOps::setReadOnly(path, true) && FileOps::isReadOnly(path));
            QVERIFY(normal ? FileOps::setNormal(path) : FileOps::setReadOnly(path, false));
            QVERIFY(!FileOps::isReadOnly(path));
        }
        QVERIFY(QFileInfo(path).isReadable());
    }

    void patch_data() {
        const PatchCase rows[] = {
            {"inside", "ABCDE", 3, "x", "ABxDE"},
            {"exactly at the end", "ABCDE", 6, "x", "ABCDEx"},
            {"beyond the end: zero fill", "ABCDE", 9, "x", "ABCDE...x"},
            {"high byte value", "ABCDE", 2, "\xff",
             "A\xff"
             "CDE"},
            {"missing file is created", "-", 3, "x", "..x"},
            {"several bytes across the end", "ABCDE", 4, "xyz", "ABCxyz"},
            {"several bytes beyond the end", "ABCDE", 7, "xy", "ABCDE.xy"},
        };
        addRows(rows);
    }

    void patch() {
        QFETCH(PatchCase, row);
        const auto b = [](const char *text) { return QByteArray(text).replace('.', '\0'); };
        const bool present = row.before[0] != '-';
        const QByteArray value = b(row.value), after = b(row.after);
        const qint64 position = row.position;
        const QString path = this->path(QStringLiteral("flt.cdf"));
        if (present)
            QVERIFY(writeFile(path, b(row.before)));
        // A patch must reach the file others have open, not a fresh copy renamed over it: the
        // game's files may be hard-linked or held open, and a rewrite would also cost a whole-file
        // copy.
        QFile held(path);
        if (present)
            QVERIFY(held.open(QIODevice::ReadOnly | QIODevice::Unbuffered));

        QString error;
        const bool ok =
            value.size() == 1
                ? BytePatch::writeByte(path, position, static_cast<unsigned char>(value[0]), &error)
                : BytePatch::writeBytes(path, position, value, &error);
        QVERIFY2(ok, qPrintable(error));
        QCOMPARE(contentOf(path), after);
        if (present) {
            QVERIFY(held.seek(0));
            QCOMPARE(held.readAll(), after);
        }
    }

    void readByte_data() {
        const QByteArray data("A\xfe"
                              "C");
        const ReadByteCase rows[] = {
            {"first", data, 1, true, 'A'},     {"high byte", data, 2, true, 0xfe},
            {"last", data, 3, true, 'C'},      {"past the end", data, 4, false, 0},
            {"position 0", data, 0, false, 0}, {"missing file", "<none>", 1, false, 0},
        };
        addRows(rows);
    }

    void readByte() {
        QFETCH(ReadByteCase, row);
        const auto &[tag, content, position, ok, value] = row;
        const QString path = this->path(QStringLiteral("flt.cdf"));
        if (content != "<none>")
            QVERIFY(writeFile(path, content));

        unsigned char read = 0x55;
        QString error;
        QCOMPARE(BytePatch::readByte(path, position, &read, &error), ok);
        if (ok)
            QCOMPARE(int(read), value);
        else
            QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }

    void sameBytes_data() {
        const auto same = FileCompare::Result::Same, differs = FileCompare::Result::Differs;
        const int block = 256 * 1024, big = 3 * block + 7;
        const SameCase rows[] = {
            {"three blocks and a bit", big, -1, 0, false, same},
            {"last byte", big, 3 * block + 6, 0, false, differs},
            {"one byte longer", 100, -1, 1, false, differs},
            {"missing", 100, -1, 0, true, FileCompare::Result::Failed},
        };
        addRows(rows);
    }

    void sameBytes() {
        QFETCH(SameCase, row);
        const auto &[tag, size, flip, extra, missing, result] = row;
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator rng(7);
        for (char &c : bytes)
            c = char(rng.bounded(256));
        const QString a = path("a.dat");
        const QString b = path("b.dat");
        QVERIFY(writeFile(a, bytes));
        if (flip >= 0)
            bytes[flip] = char(bytes[flip] ^ 0x01);
        if (!missing)
            QVERIFY(writeFile(b, bytes + QByteArray(extra, 'x')));
        QString error;
        QCOMPARE(FileCompare::sameBytes(a, b, &error), result);
        // Either way round, and a failure names the file.
        QCOMPARE(FileCompare::sameBytes(b, a, &error), result);
        QCOMPARE(error.contains(QDir::toNativeSeparators(b)), missing);
    }

    // What the launch's message says the game needs is read from the program's PE header.
    void programMachine_data() {
        QTest::addColumn<QByteArray>("program");
        QTest::addColumn<int>("machine");
        const int x86 = int(Launcher::Machine::X86);
        const int unknown = int(Launcher::Machine::Unknown);
        const QByteArray i386 = TestFolders::peProgram(0x14c);
        QTest::newRow("32-bit") << i386 << x86;
        QTest::newRow("64-bit") << TestFolders::peProgram(0x8664) << int(Launcher::Machine::X64);
        QTest::newRow("another processor") << TestFolders::peProgram(0x1c4) << unknown;
        // The header's pointer is a 32-bit little-endian word: here 0x104.
        QByteArray far = i386;
        far.replace(0x80, 6, QByteArray(6, '\0'));
        far[0x3C] = char(0x04);
        far[0x3D] = char(0x01);
        far.replace(0x104, 6, QByteArray("PE\0\0\x4c\x01", 6));
        QTest::newRow("header far in") << far << x86;
        QTest::newRow("cut before the header") << i386.left(0x84) << unknown;
        QTest::newRow("no PE signature") << QByteArray(i386).replace(0x80, 2, "NE") << unknown;
        QTest::newRow("not MZ") << QByteArray(i386).replace(0, 2, "ZM") << unknown;
        QTest::newRow("shorter than the MZ header") << i386.left(0x3F) << unknown;
    }

    void programMachine() {
        QFETCH(QByteArray, program);
        QFETCH(int, machine);
        const QString file = path(QStringLiteral("eaw.exe"));
        QVERIFY(writeFile(file, program));
        QCOMPARE(int(Launcher::machine(file)), machine);
    }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"

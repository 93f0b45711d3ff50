// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileIdentity.h"
#include "LoadFiles.h"
#include "LoadOrder.h"
#include "LoadedFiles.h"
#include "OpenSelector.h"
#include "ProgressHook.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "Skins.h"
#include "TestFolders.h"

#include <QDir>
#include <QTest>

namespace {

using Place = LoadOrder::Place;

/// Three content folders and a skin, loaded in this order, sharing two files: "shared.dat"
/// (A-One, G-Extra2, the skin) and "trio.dat" (A-One, G-Extra2, G-Maps). Every file holds its
/// folder's name and its own, so a copy from the wrong folder shows.
struct Fixture {
    TestFolders f;
    ScriptedPrompt prompt;
    std::unique_ptr<Selector> s;

    Fixture() {
        add("A-One", {"one.dat", "shared.dat", "trio.dat"});
        add("G-Extra2", {"extra.dat", "shared.dat", "trio.dat"});
        add("G-Maps", {"maps.dat", "trio.dat"});
        add("G-Sky", {"sky.dat", "trio.dat"});
        add("Skinfolder/A-05 Red", {"red.tpc", "shared.dat"});
        s = openSelector(f, prompt);
        for (const char *name : {"A-One", "G-Extra2", "G-Maps"})
            s->loadFiles().click(s->Unigrid.find(name));
        s->skins().activate(s->SK1.find("A-05 Red"));
    }
    void add(const QString &folder, const QStringList &files) const {
        for (const QString &file : files)
            TestFolders::write(f.vek() + "/" + folder, file, bytes(folder, file));
    }
    static QByteArray bytes(const QString &folder, const QString &file) {
        return (folder.section('/', -1) + ":" + file).toLatin1();
    }
    /// "NAME,PLACE[,OTHER]" moves; "win,FILE,NAME" and "lose,FILE,NAME"; "unload,NAME" clicks
    /// its row; "restart" opens the selector again. Answers what the engine call answered.
    bool step(const QString &step) {
        const QStringList a = step.split(',');
        if (a.at(0) == "restart") {
            s.reset();
            s = openSelector(f, prompt);
            return true;
        }
        if (a.at(0) == "unload")
            return s->loadFiles().click(s->Unigrid.find(a.at(1)));
        if (a.at(0) == "win" || a.at(0) == "lose")
            return a.at(0) == "win" ? s->loadOrder().makeWin(a.at(1), a.at(2))
                                    : s->loadOrder().makeLose(a.at(1), a.at(2));
        static const QHash<QString, Place> places = {{"last", Place::Last},
                                                     {"first", Place::First},
                                                     {"after", Place::After},
                                                     {"before", Place::Before}};
        return s->loadOrder().move(a.at(0), places.value(a.at(1)), a.value(2));
    }
    QString order() {
        QStringList names;
        for (const LoadOrder::Row &r : s->loadOrder().rows())
            names << r.name;
        return names.join(',');
    }
    /// Every content file in the game folder: its bytes and its inode. A second name of each
    /// is kept aside, so no later copy can be given a number a replaced file had.
    QHash<QString, QPair<QByteArray, quint64>> snapshot() {
        QHash<QString, QPair<QByteArray, quint64>> out;
        const QString held = f.root() + "/held" + QString::number(++snapshots_);
        QDir().mkpath(held);
        for (const QString &n : QDir(f.game()).entryList({"*.dat", "*.tpc"}, QDir::Files)) {
            out.insert(
                n, {TestFolders::read(f.game(), n), FileIdentity::of(f.game() + "/" + n).inode});
            FileIdentity::hardLink(f.game() + "/" + n, held + "/" + n);
        }
        return out;
    }
    int snapshots_ = 0;
};

const char *kStart = "A-One,G-Extra2,G-Maps,A-05 Red";

using Snapshot = QHash<QString, QPair<QByteArray, quint64>>;

/// The files that are new, gone, or another inode in `after`.
QStringList newInodes(const Snapshot &before, const Snapshot &after) {
    QStringList out;
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()) || before.value(it.key()).second != it->second)
            out << it.key();
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (!after.contains(it.key()))
            out << it.key();
    out.sort();
    return out;
}

} // namespace

class TestLoadOrder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void moves_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("owners"); // "file:owner|..."
        QTest::addColumn<QString>("copied"); // the game files with a new inode
        QTest::addColumn<QString>("status");
        const char *rows[][7] = {
            {"first", "A-05 Red,first", "1", "A-05 Red,A-One,G-Extra2,G-Maps",
             "shared.dat:G-Extra2|trio.dat:G-Maps", "shared.dat",
             "G-Extra2 now wins 1 file over the skin A-05 Red."},
            {"after, no owner changes", "A-One,after,G-Extra2", "1",
             "G-Extra2,A-One,G-Maps,A-05 Red", "shared.dat:A-05 Red|trio.dat:G-Maps", "",
             "A-One now wins no file it did not win before."},
            {"back and forth: several winners", "A-One,last|A-One,first", "1", kStart,
             "shared.dat:A-05 Red|trio.dat:G-Maps", "shared.dat|trio.dat",
             "A-One now loses 2 files to G-Maps and the skin A-05 Red."},
            {"already there", "A-05 Red,last", "1", kStart, "shared.dat:A-05 Red|trio.dat:G-Maps",
             "", "The skin A-05 Red keeps its place in the load order."},
            {"a restart keeps the order", "A-One,last|restart", "1",
             "G-Extra2,G-Maps,A-05 Red,A-One", "shared.dat:A-One|trio.dat:A-One",
             "shared.dat|trio.dat", ""},
            {"unload after a move: the next owner in the order",
             "A-05 Red,first|G-Maps,before,A-One|unload,G-Extra2", "1", "A-05 Red,G-Maps,A-One",
             "shared.dat:A-One|trio.dat:A-One", "shared.dat|trio.dat|extra.dat", ""},
            {"make win: right after the owner", "win,trio.dat,A-One", "1",
             "G-Extra2,G-Maps,A-One,A-05 Red", "shared.dat:A-05 Red|trio.dat:A-One", "trio.dat",
             "A-One now wins 1 file over G-Maps."},
            {"make lose: right before the next owner", "lose,shared.dat,A-05 Red", "1",
             "A-One,A-05 Red,G-Extra2,G-Maps", "shared.dat:G-Extra2|trio.dat:G-Maps", "shared.dat",
             "G-Extra2 now wins 1 file over the skin A-05 Red."},
            {"refused: not loaded", "G-Sky,last", "0", kStart,
             "shared.dat:A-05 Red|trio.dat:G-Maps", "", ""},
            {"refused: other not loaded", "A-One,after,G-Sky", "0", kStart,
             "shared.dat:A-05 Red|trio.dat:G-Maps", "", ""},
            {"refused: after itself", "A-One,before,a-one", "0", kStart,
             "shared.dat:A-05 Red|trio.dat:G-Maps", "", ""},
            {"refused: a file it does not carry", "win,maps.dat,A-One", "0", kStart,
             "shared.dat:A-05 Red|trio.dat:G-Maps", "", ""},
        };
        for (const auto &[tag, steps, ok, order, owners, copied, status] : rows)
            QTest::newRow(tag) << steps << (ok[0] == '1') << order << owners << copied << status;
    }

    void moves() {
        QFETCH(QString, steps);
        QFETCH(bool, ok);
        Fixture c;
        QCOMPARE(c.order(), kStart);
        const auto before = c.snapshot();
        const QString statusBefore = c.s->Status;
        c.prompt.shown.clear();
        bool last = true;
        for (const QString &step : steps.split('|'))
            last = c.step(step);
        QCOMPARE(last, ok);
        QTEST(c.order(), "order");
        QFETCH(QString, owners);
        for (const QString &o : owners.split('|'))
            QCOMPARE(TestFolders::read(c.f.game(), o.section(':', 0, 0)),
                     Fixture::bytes(o.section(':', 1), o.section(':', 0, 0)));
        // Only the files whose owner changed are new copies; every other file is untouched.
        const auto after = c.snapshot();
        QFETCH(QString, copied);
        QStringList expected = copied.isEmpty() ? QStringList() : copied.split('|');
        expected.sort();
        QCOMPARE(newInodes(before, after), expected);
        QVERIFY(c.s->loadedFiles().check());
        QFETCH(QString, status);
        if (!ok) {
            QCOMPARE(c.prompt.shown.size(), 1);
            QVERIFY(c.prompt.allText().contains("Nothing was changed"));
            QCOMPARE(c.s->Status, statusBefore);
        } else if (!status.isEmpty()) {
            QCOMPARE(c.s->Status, status);
        }
    }

    // A move cut short by Cancel or a failed copy is undone: the order, and every file's bytes.
    void undone_data() {
        QTest::addColumn<int>("stopAt"); // the files done when Cancel comes; -1: none
        QTest::addColumn<QString>("readOnly");
        QTest::newRow("cancel after the first copy") << 1 << "";
        QTest::newRow("the second copy fails") << -1 << "shared.dat";
    }

    void undone() {
        QFETCH(int, stopAt);
        QFETCH(QString, readOnly);
        Fixture c;
        ProgressHook progress([stopAt](qsizetype done, const QString &) { return done != stopAt; });
        c.s->setProgress(&progress);
        if (!readOnly.isEmpty())
            QVERIFY(QFile::setPermissions(c.f.game() + "/" + readOnly, QFileDevice::ReadOwner));
        const auto before = c.snapshot();
        QVERIFY(!c.s->loadOrder().move("A-One", Place::Last));
        QCOMPARE(c.order(), kStart);
        const auto after = c.snapshot();
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(after.value(it.key()).first, it->first);
        QCOMPARE(after.size(), before.size());
        // The first copy was made and taken back.
        QCOMPARE(newInodes(before, after), QStringList{"trio.dat"});
        QVERIFY(c.prompt.allText().contains("Moving \"A-One\" in the load order"));
        c.s->setProgress(nullptr);
        QVERIFY(c.s->loadedFiles().check());
    }
};

QTEST_GUILESS_MAIN(TestLoadOrder)
#include "tst_load_order.moc"

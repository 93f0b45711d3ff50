// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliRun.h"
#include "DemoGameFolder.h"
#include "DemoVekFolder.h"
#include "InstanceGuard.h"
#include "Rows.h"
#include "TestFolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

// Everything a dry run must leave alone: each entry's kind, bytes, permissions and time of
// last change, by path below the root.
struct Entry {
    bool folder = false;
    QByteArray bytes;
    int permissions = 0;
    qint64 modified = 0;
    bool operator==(const Entry &) const = default;
};
using Snapshot = QMap<QString, Entry>;

Snapshot snapshot(const QString &root) {
    Snapshot shot;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        Entry e;
        e.folder = fi.isDir();
        e.permissions = int(fi.permissions().toInt());
        if (!e.folder) {
            QFile f(fi.filePath());
            if (f.open(QIODevice::ReadOnly))
                e.bytes = f.readAll();
            e.modified = fi.lastModified().toMSecsSinceEpoch();
        }
        shot.insert(QDir(root).relativeFilePath(fi.filePath()), e);
    }
    return shot;
}

// The paths of `root` whose entry the real run added, removed or changed (its time aside).
QStringList changed(const Snapshot &before, const Snapshot &after, const QString &root) {
    QStringList paths;
    for (const QString &key : QSet<QString>(before.keyBegin(), before.keyEnd()) +
                                  QSet<QString>(after.keyBegin(), after.keyEnd())) {
        Entry was = before.value(key), now = after.value(key);
        was.modified = now.modified = 0;
        if (!before.contains(key) || !after.contains(key) || was != now)
            paths << root + '/' + key;
    }
    return paths;
}

// The folder a sweep moves files into is named after the second it ran in: the dry run's and
// the real run's differ only there.
QStringList linesOf(const QByteArray &bytes) {
    static const QRegularExpression stamp(QStringLiteral("/swept/\\d{4}-\\d\\d-\\d\\d "
                                                         "\\d\\d\\.\\d\\d\\.\\d\\d"));
    return QString::fromUtf8(bytes)
        .replace(stamp, QStringLiteral("/swept/<time>"))
        .split('\n', Qt::SkipEmptyParts);
}

// A command line held against its dry run, after a set-up run for real and a game file
// deleted (`damage`); the run must print a line of the kind `mustShow`. Command lines have their
// words parted by "|", as names hold blanks; `nested`: the VEK folder inside the game folder.
struct DryRunCase {
    const char *tag, *setUp, *damage, *command, *mustShow;
    int status = 0;
    const char *environment = "";
    bool nested = false;
};

} // namespace

/// A dry run changes nothing in either folder, and prints what the same command line then
/// does for real, line for line.
class TestCliDryRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dryRunForetellsTheRealRun_data() {
        const char *loadF = "toggle|F-Late war fighters";
        const char *clouds = "toggle|G-Better clouds";
        const char *desert = "toggle|A-Desert Air Force";
        const char *britain = "toggle|M-Battle of Britain";
        const char *overlord = "toggle|M-Operation Overlord";
        const char *escort = "script-run|Late war escort";
        const DryRunCase rows[] = {
            {"start-up alone", "", "", "status", "mkdir"},
            {"load", "", "", desert, "copy"},
            {"unload", clouds, "", clouds, "delete"},
            {"load in place of the same letter", desert, "", "toggle|A-Eastern Front", "delete"},
            {"load over another folder's files, kept until it is over", clouds, "",
             "toggle|T-Channel coast", "link"},
            {"mission, saves travelling", britain, "", overlord, "move"},
            {"skin", "", "", "skin|A-05 Red Tails", "copy"},
            {"aircraft swap", loadF, "", "plane|P-Ta 152H", "rewrite"},
            {"fuel", loadF, "", "fuel|0|50", "patch"},
            {"resolution", "", "", "resolution|1024x768", "rewrite"},
            {"restore-ini", "squads|4", "", "restore-ini", "replace"},
            {"feature", "", "", "feature|2", "rewrite"},
            {"cheatcheck", "", "", "cheatcheck|on", "rewrite"},
            {"reset", "toggle|A-Desert Air Force|+|skin|A-05 Red Tails", "", "reset", "delete"},
            {"script-save", clouds, "", "script-save|Mine", "rewrite"},
            {"script-run", "", "", escort, "copy"},
            // Run again, the script takes its set out; its aircraft went with their set and are
            // no fault of the script.
            {"script-run again", escort, "", escort, "delete"},
            {"music", "", "", "music|MUSIC#Jazz", "move"},
            {"delmsn", "", "", "delmsn", "delete"},
            {"night", "", "", "night|1.2|on", "patch"},
            {"plane-flags", loadF, "", "plane-flags|3|type|5|on", "patch"},
            {"repair", "toggle|G-Hud tweaks", "hud.spt", "repair", "copy"},
            {"exit answered OK", "cheatcheck|on", "", "--answer|ok|resolution|800x600|+|exit",
             "attributes"},
            {"launch", "", "", "launch", "launch", 0, "VEK_LAUNCHER=/bin/true"},
            {"chain, each command on what the one before wrote", "", "",
             "toggle|F-Late war fighters|+|plane|P-Mustang III|+|fuel|0|50|+|toggle|F-Late war "
             "fighters",
             "patch"},
            {"a failing command ends both runs alike", "", "",
             "toggle|A-Desert Air Force|+|toggle|No such", "copy", 1},
            {"copied, not linked", "", "", loadF, "copy", 0, "VEK_DRY_RUN_COPY=1"},
            {"VEK folder inside the game folder", britain, "", overlord, "move", 0, "", true},
        };
        addRows(rows);
    }

    void dryRunForetellsTheRealRun() {
        QFETCH(DryRunCase, row);
        const auto words = [](const char *line) {
            return QString::fromUtf8(line).split('|', Qt::SkipEmptyParts);
        };
        const QStringList setUp = words(row.setUp), command = words(row.command),
                          environment = words(row.environment);
        const QString damage = QString::fromUtf8(row.damage), mustShow = row.mustShow;
        const bool nested = row.nested;
        const int status = row.status;

        TestFolders f(TestFolders::WithoutGameFiles);
        const QString game = f.game();
        const QString vek = nested ? game + "/VEK" : f.vek();
        QString error;
        QVERIFY2(DemoGameFolder::build(game, &error), qPrintable(error));
        QVERIFY2(DemoVekFolder::build(vek, &error), qPrintable(error));
        if (nested)
            QDir(f.vek()).removeRecursively();
        // The second run on the folders needs no --vek: the twin must be found through LastVEKDir.
        const QStringList folders{"--game", game, "--vek", vek};
        if (!setUp.isEmpty()) {
            const CliRun r = CliRun::run(folders + setUp, lockDir_.filePath("lock"));
            QVERIFY2(r.status == 0, r.err);
        }
        if (!damage.isEmpty())
            QVERIFY(QFile::remove(game + '/' + damage));
        const QStringList args =
            (setUp.isEmpty() ? folders : QStringList{"--game", game}) + command;
        const QString realRoot = f.root();
        const Snapshot before = snapshot(realRoot);
        // What a killed dry run left beside the folders (its process id no longer runs).
        const QString leftover = f.root() + "/.vekselector-dry-run-2147483646-AbCdEf";
        TestFolders::write(leftover + "/EAW", "eaw.ini", "left over");
        const CliRun dry = CliRun::run(QStringList{"--dry-run"} + args, lockDir_.filePath("lock"),
                                       QString(), environment);
        QCOMPARE(dry.status, status);
#ifdef VEK_POSIX_ROOMS
        QVERIFY(!QFileInfo::exists(leftover));
#else
        // The portable room cannot tell that a process has ended, and sweeps nothing.
        QVERIFY(QFileInfo::exists(leftover));
        QVERIFY(QDir(leftover).removeRecursively());
#endif
        const Snapshot untouched = snapshot(realRoot);
        QCOMPARE(untouched.keys(), before.keys());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QVERIFY2(untouched.value(it.key()) == it.value(), qPrintable(it.key()));

        const QString trace = lockDir_.filePath("trace");
        const CliRun real = CliRun::run(args, lockDir_.filePath("lock"), QString(),
                                        environment + QStringList{"VEK_TRACE=" + trace});
        QCOMPARE(real.status, status);
        QFile traceFile(trace);
        QVERIFY(traceFile.open(QIODevice::ReadOnly));
        const QStringList done = linesOf(traceFile.readAll());
        QCOMPARE(linesOf(dry.out), done);
        QVERIFY2(done.join('\n').contains(QRegularExpression("(^|\n)" + mustShow + "\t")),
                 qPrintable(done.join('\n')));
        // The messages name the real folders, never the twin.
        QVERIFY2(!dry.err.contains("vekselector-dry-run-"), dry.err);

        // Every entry the real run changed is named by a line, or lies in a folder named by one
        // (a folder renamed): the trace misses nothing.
        const QString joined = '\t' + done.join('\t') + '\t';
        for (const QString &path : changed(before, snapshot(realRoot), realRoot)) {
            // The history's store is the real run's own record; a dry run keeps none.
            if (path.contains(QLatin1String("/.vek-history")))
                continue;
            bool named = false;
            for (QString p = path; !named && p.size() > realRoot.size(); p = QFileInfo(p).path())
                named = joined.contains('\t' + QDir::toNativeSeparators(p) + '\t');
            QVERIFY2(named, qPrintable("not foretold: " + path));
        }
    }

    // The user's instance lock keeps a second window out, not a run: a dry run beside another
    // selector goes on and still writes nothing.
    void runsBesideAnotherInstance() {
        TestFolders f;
        TestFolders::write(f.vek(), "linkscreen");
        const QString lock = lockDir_.filePath("held");
        qputenv("VEK_INSTANCE_LOCK", QFile::encodeName(lock));
        InstanceGuard running;
        QVERIFY(running.tryAcquire());
        const Snapshot before = snapshot(f.root());
        const CliRun r =
            CliRun::run({"--dry-run", "--game", f.game(), "--vek", f.vek(), "status"}, lock);
        QCOMPARE(r.status, 0);
        QCOMPARE(snapshot(f.root()), before);
    }

private:
    QTemporaryDir lockDir_;
};

QTEST_GUILESS_MAIN(TestCliDryRun)
#include "tst_cli_dryrun.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and unloading a large content folder into a large game folder, against the system's
// own cp and rm on the same files. Run through bench/run; usage: vek_bench_mover WORKDIR
// [--repeat N] [--files N] [--megabytes N] [--game-files N] [--replacing]. WORKDIR must be empty or
// absent; the content folder and all game folders are made in it, on its file system.

#include "FileMover.h"
#include "Journal.h"
#include "KeptFiles.h"
#include "Progress.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "BenchCommon.h"

namespace {

using namespace bench;

// A game folder of `files` entries, each a hard link to the file of that name in `model`
// (made once): the mover and the tools only list the game files, and twenty-four folders of
// 20,000 new files each took most of a minute to make on a slow disk.
void makeGame(const QString &folder, const QString &model, int files) {
    const QByteArray bytes(100, 'g');
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("game%1.bin").arg(i, 5, 10, QLatin1Char('0'));
        const QString original = QDir(model).filePath(name);
        if (!QFileInfo::exists(original))
            writeFile(original, bytes);
        if (::link(QFile::encodeName(original).constData(),
                   QFile::encodeName(QDir(folder).filePath(name)).constData()) != 0)
            die(QStringLiteral("cannot link %1 into %2").arg(name, folder));
    }
}

// With --replacing, the game folder already holds a small file of its own under every content
// name, so that every file the load copies replaces one. Real files, not links: cp writes into
// the file it replaces, and would otherwise write into every game folder at once.
void addReplaced(const QString &folder, const QStringList &names) {
    const QByteArray bytes(100, 'o');
    for (const QString &name : names)
        writeFile(QDir(folder).filePath(name), bytes);
}

// Wall-clock time, and the processor time spent by this process and its children (cp, rm),
// which the load of a shared machine disturbs far less.
// The tools get bare names and run in the folder of the files: 60,000 whole paths would pass
// the limit of a command line.
void runTool(const QString &program, const QStringList &args, const QString &folder) {
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        die(QStringLiteral("%1 failed: %2")
                .arg(program, QString::fromLocal8Bit(p.readAllStandardError())));
}

// What the window's progress dialog does for every file, minus the painting: a look at the
// clock, and every 50 ms the texts of the dialog and a round of event handling.
class WindowLikeProgress : public Progress {
public:
    QString label, counts;
    int updates = 0;

protected:
    void beginning(qsizetype) override { since_.start(); }
    bool proceed(qsizetype done, const QString &file) override {
        if (done == 0 || since_.hasExpired(50)) {
            label = file;
            counts = QStringLiteral("%1 of %2 files").arg(done).arg(filesTotal());
            QCoreApplication::processEvents();
            ++updates;
            since_.start();
        }
        return true;
    }

private:
    QElapsedTimer since_;
};

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const Options o = parse(app.arguments());
    const QDir work(o.work);
    const QString content = work.filePath(QStringLiteral("VEK/A-Bench"));
    if (!QDir().mkpath(content) || !QDir(content).isEmpty())
        die(QStringLiteral("%1 must be a new, empty folder").arg(content));

    // Every load goes into a game folder of its own that nothing was ever deleted from. A file
    // system without a journal (as ext4 can be) passes over inodes freed in the last minute
    // when it makes a file, at a cost per new file that grows with what was deleted lately;
    // loading into a folder just emptied would time that history rather than the copy. The
    // two sides' folders are made in turns, so neither always gets the earlier place on disk.
    QElapsedTimer phase;
    phase.start();
    QStringList phases;
    const auto phaseDone = [&](const char *name) {
        phases << QStringLiteral("%1 %2 s").arg(QLatin1String(name)).arg(phase.restart() / 1000);
    };
    std::printf("setting up: %d content files (%lld MiB), %d game folders of %d files...\n",
                o.files, o.megabytes, 8 * o.repeat, o.gameFiles);
    std::fflush(stdout);
    const QStringList names = makeContent(content, o.files, o.megabytes << 20);
    const QString model = work.filePath(QStringLiteral("game-model"));
    if (!QDir().mkpath(model))
        die(QStringLiteral("cannot make %1").arg(model));
    QStringList ours, theirs;
    for (int r = 0; r < 2 * o.repeat; ++r) {
        const QString a = work.filePath(QStringLiteral("EAW-selector-%1").arg(r));
        const QString b = work.filePath(QStringLiteral("EAW-cp-%1").arg(r));
        for (const QString &game : r % 2 ? QStringList{b, a} : QStringList{a, b}) {
            if (!QDir().mkpath(game))
                die(QStringLiteral("cannot make %1").arg(game));
            makeGame(game, model, o.gameFiles);
            if (o.replacing)
                addReplaced(game, names);
        }
        ours << a;
        theirs << b;
    }

    // The load once more with a progress listener on, paired with cp rounds of its own, into
    // game folders of their own.
    QStringList followed, followedCp;
    for (int r = 0; r < 2 * o.repeat; ++r) {
        for (const QString &side : {QStringLiteral("progress"), QStringLiteral("progress-cp")}) {
            const QString game = work.filePath(QStringLiteral("EAW-%1-%2").arg(side).arg(r));
            if (!QDir().mkpath(game))
                die(QStringLiteral("cannot make %1").arg(game));
            makeGame(game, model, o.gameFiles);
            if (o.replacing)
                addReplaced(game, names);
            (side == QLatin1String("progress") ? followed : followedCp) << game;
        }
    }

    phaseDone("set-up");

    QString caption;
    const auto progress = [&caption](const QString &c) { caption = c; };
    // The selector's side is the whole operation as a player's click makes it: the journal's
    // record (the folder's names, written and synced in the VEK folder), the move, and the
    // record's removal.
    const QString vek = work.filePath(QStringLiteral("VEK"));
    const auto journalled = [&](bool in, const auto &move) {
        QString error;
        Journal::Record record;
        record.operation =
            in ? QStringLiteral("loading \"A-Bench\"") : QStringLiteral("unloading \"A-Bench\"");
        record.moves << Journal::Move{in,      QStringLiteral("A-Bench"), Journal::ContentRule,
                                      content, Journal::filesOf(content), {}};
        if (!Journal::write(vek, work.path(), record, &error) ||
            !move(record.moves.first().files, &error) || !Journal::remove(vek, &error))
            die(error);
    };
    const auto moveIn = [&](const QString &game) {
        return [&, game]() {
            // The game files it replaces are kept until the move is over, as a click keeps them.
            journalled(true, [&](const QStringList &, QString *error) {
                KeptFiles kept;
                return FileMover::MoveIn(content, game, progress, error, FileMover::skipped,
                                         nullptr, &kept) &&
                       kept.drop().isEmpty();
            });
        };
    };
    const auto moveOut = [&](const QString &game) {
        return [&, game]() {
            // As the window program does: the unload deletes by the names the record holds.
            journalled(false, [&](const QStringList &listed, QString *error) {
                return FileMover::MoveOut(content, game, progress, error, {}, nullptr, &listed);
            });
        };
    };
    const auto cp = [&](const QString &game) {
        QStringList args{QStringLiteral("-t"), game, QStringLiteral("--")};
        args += names;
        return [args, &content]() { runTool(QStringLiteral("cp"), args, content); };
    };
    const auto rm = [&](const QString &game) {
        QStringList args{QStringLiteral("-f"), QStringLiteral("--")};
        args += names;
        return [args, game]() { runTool(QStringLiteral("rm"), args, game); };
    };

    // One unmeasured load on each side reads the content files into the cache for both alike
    // (drop_caches is not available to make both cold) and runs each side's code once.
    for (const QString &side : {QStringLiteral("warm-selector"), QStringLiteral("warm-cp")}) {
        const QString game = work.filePath(side);
        if (!QDir().mkpath(game))
            die(QStringLiteral("cannot make %1").arg(game));
        side.endsWith(QLatin1String("cp")) ? cp(game)() : moveIn(game)();
    }

    // A round is four steps in the order A B B A, A being cp in even rounds and the selector
    // in odd ones, and each side's figure for the round is the sum of its two steps. The
    // second step of a round is not the first one's equal: it starts right after a sync of
    // 200 MiB just written, and the cost of that (the disk still busy, fresh pages for the
    // cache) falls on whoever goes second. With one step per side, in alternating order, that
    // showed as every other round being slow for one side; in A B B A each side has one step
    // in each place, so a round compares like with like.
    const auto abba = [&](Series &ours_, const auto &ourStep, const QStringList &ours,
                          Series &theirs_, const auto &theirStep, const QStringList &theirs) {
        for (int r = 0; r < o.repeat; ++r) {
            const int a = 2 * r, b = 2 * r + 1;
            Time mine, tool;
            const auto step = [&](bool selector, const QString &game, bool first) {
                const Time t =
                    selector ? measureSynced(ourStep(game)) : measureSynced(theirStep(game));
                (selector ? mine : tool) += t;
                Series &side = selector ? ours_ : theirs_;
                (first ? side.firstPlace : side.secondPlace).push_back(t.wall);
            };
            const bool selectorFirst = r % 2 == 1;
            step(selectorFirst, selectorFirst ? ours[a] : theirs[a], true);
            step(!selectorFirst, selectorFirst ? theirs[a] : ours[a], false);
            step(!selectorFirst, selectorFirst ? theirs[b] : ours[b], true);
            step(selectorFirst, selectorFirst ? ours[b] : theirs[b], false);
            ours_.add(mine);
            theirs_.add(tool);
        }
    };
    Series in, copy;
    abba(in, moveIn, ours, copy, cp, theirs);
    phaseDone("loads");
    WindowLikeProgress listener;
    const auto followedIn = [&](const QString &game) {
        return [&, game]() {
            journalled(true, [&](const QStringList &listed, QString *error) {
                listener.begin(listed.size());
                KeptFiles kept;
                const bool ok = FileMover::MoveIn(content, game, progress, error,
                                                  FileMover::skipped, &listener, &kept) &&
                                kept.drop().isEmpty();
                listener.end();
                return ok;
            });
        };
    };
    Series inFollowed, copyFollowed;
    abba(inFollowed, followedIn, followed, copyFollowed, cp, followedCp);
    phaseDone("loads with progress");
    // Unloading files that have been written to disk, as they are when the player unloads a
    // folder loaded some time ago.
    Series out, remove;
    abba(out, moveOut, ours, remove, rm, theirs);
    phaseDone("unloads");
    // Unloading right after the load, while the files are still only in the cache: the
    // deletes cost the file system least, so the selector's own work weighs most.
    Series outHot, removeHot;
    for (int r = 0; r < o.repeat; ++r) {
        const auto tool = [&]() {
            ::sync();
            cp(theirs[r])();
            removeHot.add(measure(rm(theirs[r])));
        };
        const auto selector = [&]() {
            ::sync();
            moveIn(ours[r])();
            outHot.add(measure(moveOut(ours[r])));
        };
        if (r % 2 == 0) {
            tool();
            selector();
        } else {
            selector();
            tool();
        }
    }
    phaseDone("unloads after loads");
    for (int r = 0; r < 2 * o.repeat; ++r) {
        if (QDir(ours[r]).count() != QDir(theirs[r]).count())
            die(QStringLiteral("%1 and %2 differ after the runs").arg(ours[r], theirs[r]));
    }

    reportRounds("load", "MoveIn", in, "cp", copy, 1.0);
    reportRounds("load with progress on", "MoveIn", inFollowed, "cp", copyFollowed, 1.2);
    reportRounds("unload", "MoveOut", out, "rm", remove, 1.1);
    reportRounds("unload right after the load", "MoveOut", outHot, "rm", removeHot, 1.1);
    std::printf("(time taken: %s)\n", qPrintable(phases.join(QStringLiteral(", "))));
    return 0;
}

// Loading and unloading a large content folder into a large game folder, against the system's
// own cp and rm on the same files. Run through bench/run; usage: vek_bench_mover WORKDIR
// [--repeat N] [--files N] [--megabytes N] [--game-files N]. WORKDIR must be empty or absent;
// the content folder and all game folders are made in it, on its file system.

#include "FileMover.h"
#include "Journal.h"

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

namespace {

struct Options {
    QString work;
    int repeat = 6;
    int files = 2000;
    qint64 megabytes = 200;
    int gameFiles = 20000;
};

[[noreturn]] void die(const QString &text) {
    std::fprintf(stderr, "vek_bench_mover: %s\n", qPrintable(text));
    std::exit(2);
}

Options parse(const QStringList &args) {
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const auto number = [&]() {
            bool ok = false;
            const int n = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || n <= 0)
                die(QStringLiteral("%1 needs a positive number").arg(a));
            return n;
        };
        if (a == QLatin1String("--repeat"))
            o.repeat = number();
        else if (a == QLatin1String("--files"))
            o.files = number();
        else if (a == QLatin1String("--megabytes"))
            o.megabytes = number();
        else if (a == QLatin1String("--game-files"))
            o.gameFiles = number();
        else if (o.work.isEmpty() && !a.startsWith(QLatin1Char('-')))
            o.work = a;
        else
            die(QStringLiteral("unknown argument %1").arg(a));
    }
    // Whole pairs of rounds: see pairedRatio.
    o.repeat += o.repeat % 2;
    if (o.work.isEmpty())
        die(QStringLiteral("usage: vek_bench_mover WORKDIR [--repeat N] [--files N] "
                           "[--megabytes N] [--game-files N]"));
    return o;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        die(QStringLiteral("cannot write %1").arg(path));
}

// Sizes spread from a few hundred bytes to several times the mean, as content folders mix
// small text files with large data files, scaled so that the total is exact.
QStringList makeContent(const QString &folder, int files, qint64 total) {
    QRandomGenerator rng(2024);
    std::vector<double> weights(static_cast<size_t>(files));
    double sum = 0;
    for (double &w : weights) {
        w = 0.05 + rng.generateDouble() * rng.generateDouble() * 4;
        sum += w;
    }
    QByteArray pool(8 << 20, Qt::Uninitialized);
    for (char &c : pool)
        c = char(rng.bounded(256));
    QStringList names;
    qint64 left = total;
    for (int i = 0; i < files; ++i) {
        const qint64 size =
            i + 1 == files ? left : qMin(left, qint64(double(total) * weights[size_t(i)] / sum));
        left -= size;
        const QString name = QStringLiteral("VEKDATA_%1.DAT").arg(i, 4, 10, QLatin1Char('0'));
        QByteArray bytes;
        bytes.reserve(size);
        while (bytes.size() < size)
            bytes.append(pool.constData() + rng.bounded(1 << 20),
                         qMin<qint64>(size - bytes.size(), pool.size() - (1 << 20)));
        writeFile(QDir(folder).filePath(name), bytes);
        names << name;
    }
    return names;
}

void makeGame(const QString &folder, int files) {
    const QByteArray bytes(100, 'g');
    for (int i = 0; i < files; ++i)
        writeFile(
            QDir(folder).filePath(QStringLiteral("game%1.bin").arg(i, 5, 10, QLatin1Char('0'))),
            bytes);
}

// Wall-clock time, and the processor time spent by this process and its children (cp, rm),
// which the load of a shared machine disturbs far less.
struct Time {
    double wall = 0;
    double cpu = 0;
};

double cpuSeconds() {
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage u{};
        ::getrusage(who, &u);
        total += double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
                 double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

Time measure(const std::function<void()> &run) {
    const double cpu = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    run();
    return {double(timer.nsecsElapsed()) / 1e9, cpuSeconds() - cpu};
}

// Dirty pages of the previous step must not be written back while this one is timed.
Time measureSynced(const std::function<void()> &run) {
    ::sync();
    return measure(run);
}

void runTool(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        die(QStringLiteral("%1 failed: %2")
                .arg(program, QString::fromLocal8Bit(p.readAllStandardError())));
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Series {
    std::vector<double> wall;
    std::vector<double> cpu;
    void add(Time t) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
};

QString list(const std::vector<double> &v) {
    QStringList parts;
    for (double s : v)
        parts << QString::number(s, 'f', 3);
    return parts.join(QLatin1Char(' '));
}

// Rounds come in pairs: in one the selector goes first, in the other the system's tool, and
// the pair's ratio is of the two sides' sums, so whatever going first or second costs falls
// on both alike. The median over the pairs is steadier on a shared machine than a ratio of
// medians, since a slow spell then slows both sides of the pair it falls in.
double pairedRatio(const std::vector<double> &a, const std::vector<double> &b) {
    std::vector<double> ratios;
    for (size_t i = 0; i + 1 < a.size() && i + 1 < b.size(); i += 2)
        ratios.push_back((a[i] + a[i + 1]) / (b[i] + b[i + 1]));
    return median(ratios);
}

void report(const char *what, const char *ours, const Series &a, const char *tool, const Series &b,
            double goal) {
    std::printf("%s: %s / %s = %.3f  (goal <= %.2f)\n", what, ours, tool,
                pairedRatio(a.wall, b.wall), goal);
    std::printf("    median %s %.3f s, %s %.3f s; processor time ratio %.3f\n", ours,
                median(a.wall), tool, median(b.wall), pairedRatio(a.cpu, b.cpu));
    std::printf("    %-7s runs: %s\n    %-7s runs: %s\n", ours, qPrintable(list(a.wall)), tool,
                qPrintable(list(b.wall)));
}

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
                o.files, o.megabytes, 2 * o.repeat, o.gameFiles);
    std::fflush(stdout);
    const QStringList names = makeContent(content, o.files, o.megabytes << 20);
    QStringList ours, theirs;
    for (int r = 0; r < o.repeat; ++r) {
        const QString a = work.filePath(QStringLiteral("EAW-selector-%1").arg(r));
        const QString b = work.filePath(QStringLiteral("EAW-cp-%1").arg(r));
        for (const QString &game : r % 2 ? QStringList{b, a} : QStringList{a, b}) {
            if (!QDir().mkpath(game))
                die(QStringLiteral("cannot make %1").arg(game));
            makeGame(game, o.gameFiles);
        }
        ours << a;
        theirs << b;
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
        record.moves << Journal::Move{in, QStringLiteral("A-Bench"), Journal::ContentRule, content,
                                      Journal::filesOf(content)};
        if (!Journal::write(vek, record, &error) || !move(&error) || !Journal::remove(vek, &error))
            die(error);
    };
    const auto moveIn = [&](const QString &game) {
        return [&, game]() {
            journalled(true, [&](QString *error) {
                return FileMover::MoveIn(content, game, progress, error);
            });
        };
    };
    const auto moveOut = [&](const QString &game) {
        return [&, game]() {
            journalled(false, [&](QString *error) {
                return FileMover::MoveOut(content, game, progress, error);
            });
        };
    };
    const auto cp = [&](const QString &game) {
        QStringList args;
        for (const QString &n : names)
            args << QDir(content).filePath(n);
        args << game + QLatin1Char('/');
        return [args]() { runTool(QStringLiteral("cp"), args); };
    };
    const auto rm = [&](const QString &game) {
        QStringList args{QStringLiteral("-f"), QStringLiteral("--")};
        for (const QString &n : names)
            args << QDir(game).filePath(n);
        return [args]() { runTool(QStringLiteral("rm"), args); };
    };

    // One unmeasured load on each side reads the content files into the cache for both alike
    // (drop_caches is not available to make both cold) and runs each side's code once.
    for (const QString &side : {QStringLiteral("warm-selector"), QStringLiteral("warm-cp")}) {
        const QString game = work.filePath(side);
        if (!QDir().mkpath(game))
            die(QStringLiteral("cannot make %1").arg(game));
        side.endsWith(QLatin1String("cp")) ? cp(game)() : moveIn(game)();
    }

    // Who goes first alternates, so that a drift of the machine favours neither side.
    Series in, copy;
    for (int r = 0; r < o.repeat; ++r) {
        if (r % 2 == 0) {
            copy.add(measureSynced(cp(theirs[r])));
            in.add(measureSynced(moveIn(ours[r])));
        } else {
            in.add(measureSynced(moveIn(ours[r])));
            copy.add(measureSynced(cp(theirs[r])));
        }
    }
    phaseDone("loads");
    // Unloading files that have been written to disk, as they are when the player unloads a
    // folder loaded some time ago.
    Series out, remove;
    for (int r = 0; r < o.repeat; ++r) {
        if (r % 2 == 0) {
            remove.add(measureSynced(rm(theirs[r])));
            out.add(measureSynced(moveOut(ours[r])));
        } else {
            out.add(measureSynced(moveOut(ours[r])));
            remove.add(measureSynced(rm(theirs[r])));
        }
    }
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
    for (int r = 0; r < o.repeat; ++r) {
        if (QDir(ours[r]).count() != QDir(theirs[r]).count())
            die(QStringLiteral("%1 and %2 differ after the runs").arg(ours[r], theirs[r]));
    }

    report("load", "MoveIn", in, "cp", copy, 1.05);
    report("unload", "MoveOut", out, "rm", remove, 1.2);
    report("unload right after the load", "MoveOut", outHot, "rm", removeHot, 1.2);
    std::printf("(time taken: %s)\n", qPrintable(phases.join(QStringLiteral(", "))));
    return 0;
}

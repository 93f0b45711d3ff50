// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the scale measurements share: their options, the made-up content, timing with processor
// time, and the paired ratios they print.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

namespace bench {

struct Options {
    QString work;
    int repeat = 6;
    int files = 2000;
    qint64 megabytes = 200;
    int gameFiles = 20000;
    bool replacing = false; ///< the game folders already hold a file of every content name
};

[[noreturn]] inline void die(const QString &text) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(text));
    std::exit(2);
}

/// Reads WORKDIR [--repeat N] [--files N] [--megabytes N] [--game-files N] [--replacing].
inline Options parse(const QStringList &args) {
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
        else if (a == QLatin1String("--replacing"))
            o.replacing = true;
        else if (o.work.isEmpty() && !a.startsWith(QLatin1Char('-')))
            o.work = a;
        else
            die(QStringLiteral("unknown argument %1").arg(a));
    }
    if (o.work.isEmpty())
        die(QStringLiteral("usage: %1 WORKDIR [--repeat N] [--files N] [--megabytes N] "
                           "[--game-files N] [--replacing]")
                .arg(QCoreApplication::applicationName()));
    return o;
}

inline void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        die(QStringLiteral("cannot write %1").arg(path));
}

// Sizes spread from a few hundred bytes to several times the mean, as content folders mix
// small text files with large data files, scaled so that the total is exact.
inline QStringList makeContent(const QString &folder, int files, qint64 total) {
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

struct Time {
    double wall = 0;
    double cpu = 0;
    double readMiB = 0; // read from the device by this process and its children
    Time &operator+=(const Time &t) {
        wall += t.wall;
        cpu += t.cpu;
        readMiB += t.readMiB;
        return *this;
    }
};

inline double readBytes() {
    QFile f(QStringLiteral("/proc/self/io"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith("read_bytes: "))
            return l.mid(12).toDouble();
    return 0;
}

inline double cpuSeconds() {
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage u{};
        ::getrusage(who, &u);
        total += double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
                 double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    }
    return total;
}

inline Time measure(const std::function<void()> &run) {
    const double cpu = cpuSeconds();
    const double read = readBytes();
    QElapsedTimer timer;
    timer.start();
    run();
    const double wall = double(timer.nsecsElapsed()) / 1e9;
    return {wall, cpuSeconds() - cpu, (readBytes() - read) / 1048576.0};
}

// Dirty pages of the previous step must not be written back while this one is timed.
inline Time measureSynced(const std::function<void()> &run) {
    ::sync();
    return measure(run);
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Series {
    std::vector<double> wall;
    std::vector<double> cpu;
    std::vector<double> readMiB;
    // Steps that went first and second in their pair of steps (see bench_mover.cpp).
    std::vector<double> firstPlace, secondPlace;
    void add(Time t) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
        readMiB.push_back(t.readMiB);
    }
};

inline QString list(const std::vector<double> &v) {
    QStringList parts;
    for (double s : v)
        parts << QString::number(s, 'f', 3);
    return parts.join(QLatin1Char(' '));
}

// Rounds come in pairs: in one the selector goes first, in the other the system's tool, and
// the pair's ratio is of the two sides' sums, so whatever going first or second costs falls
// on both alike. The median over the pairs is steadier on a shared machine than a ratio of
// medians, since a slow spell then slows both sides of the pair it falls in.
inline double pairedRatio(const std::vector<double> &a, const std::vector<double> &b) {
    std::vector<double> ratios;
    for (size_t i = 0; i + 1 < a.size() && i + 1 < b.size(); i += 2)
        ratios.push_back((a[i] + a[i + 1]) / (b[i] + b[i + 1]));
    return median(ratios);
}

inline void report(const char *what, const char *ours, const Series &a, const char *tool,
                   const Series &b, double goal) {
    std::printf("%s: %s / %s = %.3f  (goal <= %.2f)\n", what, ours, tool,
                pairedRatio(a.wall, b.wall), goal);
    std::printf("    median %s %.3f s, %s %.3f s; processor time ratio %.3f\n", ours,
                median(a.wall), tool, median(b.wall), pairedRatio(a.cpu, b.cpu));
    std::printf("    %-7s runs: %s\n    %-7s runs: %s\n", ours, qPrintable(list(a.wall)), tool,
                qPrintable(list(b.wall)));
}

// Rounds that each hold both sides in both places (see bench_mover.cpp): the ratio of every
// round is printed, so a round that misses the goal is seen, and the median of them.
inline void reportRounds(const char *what, const char *ours, const Series &a, const char *tool,
                         const Series &b, double goal) {
    std::vector<double> ratios, cpuRatios;
    for (size_t i = 0; i < a.wall.size() && i < b.wall.size(); ++i) {
        ratios.push_back(a.wall[i] / b.wall[i]);
        cpuRatios.push_back(a.cpu[i] / b.cpu[i]);
    }
    const double worst = *std::max_element(ratios.begin(), ratios.end());
    std::printf("%s: %s / %s = %.3f median, %.3f worst round  (goal <= %.2f)\n", what, ours, tool,
                median(ratios), worst, goal);
    std::printf("    round ratios: %s; processor time ratio %.3f\n", qPrintable(list(ratios)),
                median(cpuRatios));
    std::printf("    %-7s rounds: %s s\n    %-7s rounds: %s s\n", ours, qPrintable(list(a.wall)),
                tool, qPrintable(list(b.wall)));
    std::printf("    MiB read from disk, %s: %s; %s: %s\n", ours, qPrintable(list(a.readMiB)), tool,
                qPrintable(list(b.readMiB)));
    if (!a.firstPlace.empty() && !b.firstPlace.empty())
        std::printf("    going second / going first: %s %.3f, %s %.3f\n", ours,
                    median(a.secondPlace) / median(a.firstPlace), tool,
                    median(b.secondPlace) / median(b.firstPlace));
}

} // namespace bench

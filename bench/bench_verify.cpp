// Checking a loaded content folder against the game folder, against the system's cmp on the
// same pairs of files. Run through bench/verify; usage: vek_bench_verify WORKDIR [--repeat N]
// [--files N] [--megabytes N] [--game-files N]. WORKDIR must be empty or absent.

#include "FileCheck.h"
#include "FileMover.h"
#include "Ownership.h"

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
    std::fprintf(stderr, "vek_bench_verify: %s\n", qPrintable(text));
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
    o.repeat += o.repeat % 2;
    if (o.work.isEmpty())
        die(QStringLiteral("usage: vek_bench_verify WORKDIR [--repeat N] [--files N] "
                           "[--megabytes N] [--game-files N]"));
    return o;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        die(QStringLiteral("cannot write %1").arg(path));
}

// Sizes spread from a few hundred bytes to several times the mean, scaled to an exact total.
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
    ::sync();
    const double cpu = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    run();
    return {double(timer.nsecsElapsed()) / 1e9, cpuSeconds() - cpu};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// As in bench_mover: rounds come in pairs with the first side alternating; the ratio of each
// pair's sums, then the median over the pairs.
double pairedRatio(const std::vector<double> &a, const std::vector<double> &b) {
    std::vector<double> ratios;
    for (size_t i = 0; i + 1 < a.size() && i + 1 < b.size(); i += 2)
        ratios.push_back((a[i] + a[i + 1]) / (b[i] + b[i + 1]));
    return median(ratios);
}

struct Series {
    std::vector<double> wall;
    std::vector<double> cpu;
    void add(Time t) {
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
};

// xargs starts one cmp per pair, as a script checking the pairs with cmp would; the same run
// with `true` in its place times those starts alone.
void xargs(const QString &pairs, const QString &program) {
    QProcess p;
    p.setStandardInputFile(pairs);
    p.start(QStringLiteral("xargs"), {QStringLiteral("-0"), QStringLiteral("-n"),
                                      QStringLiteral("2"), program, QStringLiteral("-s")});
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        die(QStringLiteral("xargs %1 failed (status %2): %3")
                .arg(program)
                .arg(p.exitCode())
                .arg(QString::fromLocal8Bit(p.readAllStandardError())));
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const Options o = parse(app.arguments());
    const QDir work(o.work);
    const QString content = work.filePath(QStringLiteral("VEK/A-Bench"));
    const QString game = work.filePath(QStringLiteral("EAW"));
    if (!QDir().mkpath(content) || !QDir(content).isEmpty() || !QDir().mkpath(game))
        die(QStringLiteral("%1 must be a new, empty folder").arg(o.work));
    std::printf("setting up: %d content files (%lld MiB) in a game folder of %d other files...\n",
                o.files, o.megabytes, o.gameFiles);
    std::fflush(stdout);
    const QStringList names = makeContent(content, o.files, o.megabytes << 20);
    const QByteArray small(100, 'g');
    for (int i = 0; i < o.gameFiles; ++i)
        writeFile(QDir(game).filePath(QStringLiteral("game%1.bin").arg(i, 5, 10, QLatin1Char('0'))),
                  small);
    QString error;
    if (!FileMover::MoveIn(content, game, nullptr, &error))
        die(error);

    QByteArray list;
    for (const QString &n : names)
        list += QDir(content).filePath(n).toLocal8Bit() + '\0' +
                QDir(game).filePath(n).toLocal8Bit() + '\0';
    const QString pairs = work.filePath(QStringLiteral("pairs"));
    writeFile(pairs, list);

    const auto verify = [&]() {
        Ownership o;
        QStringList problems;
        o.build({{QStringLiteral("A-Bench"), content, FileMover::skipped, {}}}, &problems);
        const QList<FileCheck::Finding> found = FileCheck::verify(o, game, {}, &problems);
        if (!found.isEmpty() || !problems.isEmpty() || o.files().size() != names.size())
            die(QStringLiteral("verify found something off in a whole copy"));
    };
    const auto cmp = [&]() { xargs(pairs, QStringLiteral("cmp")); };
    const auto starts = [&]() { xargs(pairs, QStringLiteral("true")); };

    // One unmeasured run of each reads both sides into the cache alike.
    verify();
    cmp();
    Series ours, theirs, bare;
    for (int r = 0; r < o.repeat; ++r) {
        if (r % 2 == 0) {
            theirs.add(measure(cmp));
            ours.add(measure(verify));
        } else {
            ours.add(measure(verify));
            theirs.add(measure(cmp));
        }
        bare.add(measure(starts));
    }
    std::vector<double> cmpOnly;
    for (size_t i = 0; i < theirs.wall.size(); ++i)
        cmpOnly.push_back(qMax(1e-6, theirs.wall[i] - bare.wall[i]));
    std::printf("verify: verify / cmp = %.3f  (cmp of each pair, one process per pair)\n",
                pairedRatio(ours.wall, theirs.wall));
    std::printf("    verify / cmp without its process starts = %.3f\n",
                pairedRatio(ours.wall, cmpOnly));
    std::printf("    median verify %.3f s, cmp %.3f s, process starts alone %.3f s; processor "
                "time ratio %.3f\n",
                median(ours.wall), median(theirs.wall), median(bare.wall),
                pairedRatio(ours.cpu, theirs.cpu));
    return 0;
}

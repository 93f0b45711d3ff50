// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "BenchCommon.h"

namespace {

using namespace bench;

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
    Options o = parse(app.arguments());
    o.repeat += o.repeat % 2; // whole pairs of rounds: see pairedRatio
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
            theirs.add(measureSynced(cmp));
            ours.add(measureSynced(verify));
        } else {
            ours.add(measureSynced(verify));
            theirs.add(measureSynced(cmp));
        }
        bare.add(measureSynced(starts));
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

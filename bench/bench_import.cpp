// SPDX-License-Identifier: GPL-3.0-or-later
// Importing a zip into the VEK folder, against the system's bsdtar unpacking the same zip onto
// the same disk. Run through bench/import; usage: vek_bench_import WORKDIR [--repeat N]
// [--files N] [--megabytes N]. WORKDIR must be empty or absent.

#include "ImportArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cstdio>

#include "BenchCommon.h"

namespace {

using namespace bench;

void tool(const QStringList &args, const QString &in) {
    QProcess p;
    p.setWorkingDirectory(in);
    p.start(QStringLiteral("bsdtar"), args);
    if (!p.waitForFinished(-1) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        die(QStringLiteral("bsdtar %1 failed: %2")
                .arg(args.join(QLatin1Char(' ')),
                     QString::fromLocal8Bit(p.readAllStandardError())));
}

void removeAll(const QString &folder) {
    if (!QDir(folder).removeRecursively() || !QDir().mkpath(folder))
        die(QStringLiteral("cannot empty %1").arg(folder));
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    Options o = parse(app.arguments());
    o.repeat += o.repeat % 2; // whole pairs of rounds: see pairedRatio
    const QDir work(o.work);
    const QString source = work.filePath(QStringLiteral("source"));
    const QString content = source + QStringLiteral("/A-Bench");
    const QString vek = work.filePath(QStringLiteral("VEK"));
    const QString out = work.filePath(QStringLiteral("bsdtar"));
    const QString zip = work.filePath(QStringLiteral("bench.zip"));
    if (!QDir().mkpath(content) || !QDir(content).isEmpty() || !QDir().mkpath(vek) ||
        !QDir().mkpath(out))
        die(QStringLiteral("%1 must be a new, empty folder").arg(o.work));
    std::printf("setting up: a zip of %d files (%lld MiB)...\n", o.files, o.megabytes);
    std::fflush(stdout);
    makeContent(content, o.files, o.megabytes << 20);
    tool({QStringLiteral("-a"), QStringLiteral("-cf"), zip, QStringLiteral("A-Bench")}, source);
    removeAll(source);

    const auto import = [&]() {
        const ImportArchive::Outcome r = ImportArchive::run(zip, vek, {});
        if (r.result != ImportArchive::Result::Imported || r.files != o.files)
            die(QStringLiteral("the import failed: %1").arg(r.message));
    };
    const auto bsdtar = [&]() { tool({QStringLiteral("-xf"), zip}, out); };

    // One unmeasured run of each reads the zip into the cache for both.
    import();
    bsdtar();
    Series ours, theirs;
    for (int r = 0; r < o.repeat; ++r) {
        removeAll(vek);
        removeAll(out);
        if (r % 2 == 0) {
            theirs.add(measureSynced(bsdtar));
            ours.add(measureSynced(import));
        } else {
            ours.add(measureSynced(import));
            theirs.add(measureSynced(bsdtar));
        }
    }
    report("import", "import", ours, "bsdtar -xf", theirs, 1.2);
    return 0;
}

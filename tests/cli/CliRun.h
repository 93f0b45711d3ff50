// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

/// One run of the command-line tool, with its own instance lock.
struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;

    /// `environment` adds variables, each "NAME=value"; `program` runs in the tool's stead (a
    /// wrapper that starts it).
    static CliRun run(const QStringList &args, const QString &lockPath,
                      const QString &workDir = QString(), const QStringList &environment = {},
                      const QString &program = QStringLiteral(VEK_CLI)) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VEK_INSTANCE_LOCK"), lockPath);
        for (const QString &v : environment)
            env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        p.setProcessEnvironment(env);
        if (!workDir.isEmpty())
            p.setWorkingDirectory(workDir);
        p.start(program, args);
        CliRun r;
        if (!p.waitForFinished(30000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    /// One run on the game folder `game` and the VEK folder `vek`.
    static CliRun on(const QString &game, const QString &vek, const QStringList &commands,
                     const QString &lockPath, const QStringList &environment = {}) {
        return run(QStringList{"--game", game, "--vek", vek} + commands, lockPath, QString(),
                   environment);
    }

    /// The environment that ends the tool after its `after`-th file operation (0: never), in
    /// its start-up when `inStartUp`, and also at each step inside a write when `withinWrites`.
    static QStringList crashAt(int after, bool inStartUp = false, bool withinWrites = false) {
        QStringList env;
        if (after > 0)
            env << QStringLiteral("VEK_CRASH_AFTER=%1").arg(after);
        if (inStartUp)
            env << QStringLiteral("VEK_CRASH_IN=start");
        if (withinWrites)
            env << QStringLiteral("VEK_CRASH_WITHIN=1");
        return env;
    }

    /// Whether `runOnSmallDisk` can work here: an unprivileged user namespace that may mount.
    static bool smallDisksPossible() {
        QProcess p;
        p.start(QStringLiteral("unshare"),
                {"-Urm", "sh", "-c", "mount -t tmpfs -o size=64k tmpfs /mnt || exit 1"});
        return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    /// One run with the folder `root` on a disk of its own that has only `freeBytes` left:
    /// in a private mount namespace, a small memory file system is mounted over `root` (so
    /// every path stays as it was), the tree copied in and the disk filled up to `freeBytes`.
    /// After the run the tree as the run left it is copied to `result` (the mount goes with
    /// the namespace; `root` itself is never touched).
    static CliRun runOnSmallDisk(const QStringList &args, const QString &lockPath,
                                 const QString &root, qint64 freeBytes, const QString &result) {
        const QString work = QFileInfo(result).absolutePath();
        const QString status = work + QStringLiteral("/status");
        const QString copy = work + QStringLiteral("/tree-in");
        QFile::remove(status);
        QString line = QStringLiteral("\"%1\"").arg(QStringLiteral(VEK_CLI));
        for (const QString &a : args)
            line += QStringLiteral(" '") + QString(a).replace('\'', "'\\''") + '\'';
        // Big enough for the tree and some slack; the filler takes all but `freeBytes`.
        const QString script =
            QStringLiteral("set -e; R='%1'; cp -a \"$R\"/. '%2'/; "
                           "mount -t tmpfs -o size=$(( $(du -sk \"$R\" | cut -f1) + 4096 ))k "
                           "tmpfs \"$R\"; cp -a '%2'/. \"$R\"/; "
                           "avail=$(df -B1 --output=avail \"$R\" | tail -1); "
                           "head -c $((avail - %3)) /dev/zero > \"$R/.filler\" || true; "
                           "set +e; %4; echo $? > '%5'; rm -f \"$R/.filler\"; "
                           "cp -a \"$R\"/. '%6'/")
                .arg(root, copy)
                .arg(freeBytes)
                .arg(line, status, result);
        QDir().mkpath(copy);
        QDir().mkpath(result);
        CliRun r =
            run({"-Urm", "sh", "-c", script}, lockPath, QString(), {}, QStringLiteral("unshare"));
        QFile f(status);
        if (f.open(QIODevice::ReadOnly))
            r.status = f.readAll().trimmed().toInt();
        else
            r.status = -3;
        return r;
    }
};

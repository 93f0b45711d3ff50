#pragma once

#include <QByteArray>
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
};

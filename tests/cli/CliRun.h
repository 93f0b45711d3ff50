#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

/// One run of the command-line tool, with its own instance lock.
struct CliRun {
    int status = -1;
    QByteArray out;
    QByteArray err;

    static CliRun run(const QStringList &args, const QString &lockPath,
                      const QString &workDir = QString()) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VEK_INSTANCE_LOCK"), lockPath);
        p.setProcessEnvironment(env);
        if (!workDir.isEmpty())
            p.setWorkingDirectory(workDir);
        p.start(QStringLiteral(VEK_CLI), args);
        CliRun r;
        if (!p.waitForFinished(30000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }
};

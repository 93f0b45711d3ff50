// SPDX-License-Identifier: GPL-3.0-or-later
#include "Launcher.h"

#include "FileHook.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString Launcher::launcher() {
#ifdef Q_OS_WIN
    return QString();
#else
    const QString custom = qEnvironmentVariable("VEK_LAUNCHER");
    return custom.isEmpty() ? QStringLiteral("wine") : custom;
#endif
}

bool Launcher::start(const QString &program, const QString &workDir, QString *error) {
    if (!QFileInfo(program).isFile()) {
        if (error)
            *error = QStringLiteral("Could not start \"%1\": the file does not exist.")
                         .arg(QDir::toNativeSeparators(program));
        return false;
    }
    FileHook::done(FileOperation::of(FileOperation::Kind::Launch, program));
    // A dry run works on a replica of the game folder, and a game started there would be
    // started for real.
    if (FileHook::isolated())
        return true;
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.setStandardInputFile(QProcess::nullDevice());
    const QString via = launcher();
    if (via.isEmpty()) {
        process.setProgram(program);
    } else {
        process.setProgram(via);
        process.setArguments({program});
    }
    if (!process.startDetached()) {
        if (error)
            *error = via.isEmpty() ? QStringLiteral("Could not start \"%1\".")
                                         .arg(QDir::toNativeSeparators(program))
                                   : QStringLiteral("Could not start \"%1\" through \"%2\": is %2 "
                                                    "installed? (Set VEK_LAUNCHER to use another "
                                                    "program.)")
                                         .arg(QDir::toNativeSeparators(program), via);
        return false;
    }
    return true;
}

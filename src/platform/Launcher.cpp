// SPDX-License-Identifier: GPL-3.0-or-later
#include "Launcher.h"

#include "FileHook.h"
#include "Processes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

quint32 littleEndian(const QByteArray &bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

/// The launcher as a program that can be run: a name is looked for on the search path, a
/// path (one with a separator) taken as it is, relative to the current folder. Empty when
/// there is no such program or it may not be run.
QString findLauncher(const QString &via) {
    if (!via.contains(QLatin1Char('/')) && !via.contains(QDir::separator()))
        return QStandardPaths::findExecutable(via);
    const QFileInfo file(via);
    return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
}

/// What the player should install or try, after what failed, for a game of `machine`
/// started through `via` (empty: started itself, on Windows).
QString advice(const QString &via, Launcher::Machine machine, const QString &program) {
    if (via.isEmpty())
        return QString();
    QString text;
    const QString name = QFileInfo(program).fileName();
    if (machine == Launcher::Machine::X86)
        text += QStringLiteral(" %1 is a 32-bit Windows program: it runs only if 32-bit Wine "
                               "is installed too (on Debian and Ubuntu: sudo dpkg "
                               "--add-architecture i386 && sudo apt update && sudo apt install "
                               "wine32).")
                    .arg(name);
    else if (machine == Launcher::Machine::X64)
        text += QStringLiteral(" %1 is a 64-bit Windows program: it runs only if 64-bit Wine "
                               "is installed (on Debian and Ubuntu: sudo apt install "
                               "wine64).")
                    .arg(name);
    // The launcher's own output goes nowhere (see `start`): the player can see it by hand.
    text += QStringLiteral(" To see the launcher's own message, run \"%1 %2\" in a terminal in "
                           "the game folder.")
                .arg(via, name);
    return text;
}

} // namespace

Launcher::Machine Launcher::machine(const QString &program) {
    QFile file(program);
    if (!file.open(QIODevice::ReadOnly))
        return Machine::Unknown;
    const QByteArray dos = file.read(0x40);
    if (dos.size() < 0x40 || !dos.startsWith("MZ"))
        return Machine::Unknown;
    const quint32 at = littleEndian(dos, 0x3C, 4);
    if (!file.seek(at))
        return Machine::Unknown;
    const QByteArray pe = file.read(6);
    if (pe.size() < 6 || !pe.startsWith(QByteArray("PE\0\0", 4)))
        return Machine::Unknown;
    switch (littleEndian(pe, 4, 2)) {
    case 0x14c:
        return Machine::X86;
    case 0x8664:
        return Machine::X64;
    default:
        return Machine::Unknown;
    }
}

QString Launcher::launcher() {
#ifdef Q_OS_WIN
    return QString();
#else
    const QString custom = qEnvironmentVariable("VEK_LAUNCHER");
    return custom.isEmpty() ? QStringLiteral("wine") : custom;
#endif
}

bool Launcher::start(const QString &program, const QString &workDir, QString *error,
                     const std::function<void()> &started) {
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Could not start \"%1\": %2").arg(native(program), why);
        return false;
    };
    if (!QFileInfo(program).isFile())
        return fail(QStringLiteral("the file does not exist."));
    const QString via = launcher();
    QString run = program;
    if (!via.isEmpty()) {
        run = findLauncher(via);
        if (run.isEmpty()) {
            if (!qEnvironmentVariableIsEmpty("VEK_LAUNCHER"))
                return fail(QStringLiteral("the launcher \"%1\" that VEK_LAUNCHER names is not "
                                           "installed or cannot be run.")
                                .arg(via));
            QString why = QStringLiteral("wine is not installed: install the package wine.");
            if (machine(program) == Machine::X86)
                why += QStringLiteral(" %1 is a 32-bit Windows program: install 32-bit Wine "
                                      "as well (on Debian and Ubuntu: sudo dpkg "
                                      "--add-architecture i386 && sudo apt update && sudo apt "
                                      "install wine wine32).")
                           .arg(QFileInfo(program).fileName());
            return fail(why);
        }
    }
    FileHook::done(FileOperation::of(FileOperation::Kind::Launch, program));
    // A dry run works on a replica of the game folder, and a game started there would be
    // started for real.
    if (FileHook::isolated())
        return true;

    // Never deleted while the game runs: a QProcess destroyed while its program runs kills
    // it. It deletes itself when the game ends while the window program is still open, and is
    // simply left behind by a selector that ends first.
    auto *process = new QProcess;
    process->setWorkingDirectory(workDir);
    // No pipes: Wine writes much to its error output, and a pipe nobody reads any more would
    // block the game once full, or end it when the selector has gone.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    Processes::ownSession(*process);
    process->setProgram(run);
    if (!via.isEmpty())
        process->setArguments({program});
    process->start();
    if (!process->waitForStarted()) {
        const QString reason = process->errorString();
        delete process;
        return fail(via.isEmpty() ? reason + QLatin1Char('.')
                                  : QStringLiteral("\"%1\" did not start (%2).%3")
                                        .arg(via, reason, advice(via, Machine::Unknown, program)));
    }
    if (started)
        started();
    process->waitForFinished(Watch);
    if (process->state() != QProcess::NotRunning) {
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        return true;
    }
    const bool crashed = process->exitStatus() == QProcess::CrashExit;
    const int code = process->exitCode();
    delete process;
    if (!crashed && code == 0)
        return true; // a launcher that hands the game on and ends
    const QString who = via.isEmpty() ? QStringLiteral("it") : QStringLiteral("\"%1\"").arg(via);
    const QString how =
        crashed
            ? QStringLiteral("%1 crashed at once.").arg(who)
            : QStringLiteral("%1 ended at once with exit code %2.").arg(who, QString::number(code));
    return fail(how + advice(via, machine(program), program));
}

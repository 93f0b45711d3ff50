#include "CliCommands.h"
#include "CliOptions.h"
#include "CrashPoint.h"
#include "InstanceGuard.h"
#include "Locator.h"
#include "Selector.h"
#include "StderrPrompt.h"
#include "TerminalProgress.h"
#include "WindowCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

#include <unistd.h>

namespace {

enum Status { Done = 0, Failed = 1, Usage = 2, Duplicate = 3 };

int usage(const QString &message) {
    QTextStream err(stderr);
    err << "vekselector-cli: " << message << "\nTry vekselector-cli --help\n";
    return Usage;
}

} // namespace

int main(int argc, char *argv[]) {
    // The application name stays the program's file name: the instance lock compares it
    // with the owner's process name to recognise a lock left by a crash.
    QCoreApplication app(argc, argv);
    CliOptions options;
    QString error;
    if (!CliOptions::parse(app.arguments().mid(1), &options, &error))
        return usage(error);
    if (options.help) {
        QTextStream(stdout) << CliCommands::help();
        return Done;
    }
    if (options.version) {
        QTextStream(stdout) << "vekselector-cli " VEK_VERSION "\n";
        return Done;
    }
    for (const CliOptions::Invocation &inv : options.commands) {
        const QString problem = CliCommands::validate(inv.name, inv.args);
        if (!problem.isEmpty())
            return usage(problem);
    }

    StderrPrompt prompt(options.answerOk);
    InstanceGuard guard;
    if (!guard.tryAcquire()) {
        Locator::refuseDuplicate(prompt);
        return Duplicate;
    }

    const QString game = QDir::cleanPath(
        QFileInfo(options.game.isEmpty() ? QDir::currentPath() : options.game).absoluteFilePath());
    if (!QFileInfo(game).isDir())
        return usage(QStringLiteral("the game folder \"%1\" does not exist")
                         .arg(QDir::toNativeSeparators(game)));

    Locator locator(prompt);
    const Locator::Start start = locator.start(game);
    if (!options.vek.isEmpty()) {
        const QString vek = QDir::cleanPath(QFileInfo(options.vek).absoluteFilePath());
        if (!QFileInfo(vek).isDir())
            return usage(QStringLiteral("the VEK folder \"%1\" does not exist")
                             .arg(QDir::toNativeSeparators(vek)));
        locator.selectOption(0);
        locator.folderChanged(vek);
        if (!locator.Command1)
            return usage(QStringLiteral("\"%1\" is not a VEK folder: it holds no file named "
                                        "\"linkscreen\"")
                             .arg(QDir::toNativeSeparators(vek)));
    } else if (start != Locator::Start::Automatic) {
        return usage(locator.startProblem.isEmpty()
                         ? QStringLiteral("no --vek given and the game folder remembers no VEK "
                                          "folder in LastVEKDir")
                         : locator.startProblem);
    }

    Selector selector(locator.ok(), prompt);
    selector.load();
    TerminalProgress progress(::isatty(STDERR_FILENO) == 1);
    selector.setProgress(&progress);

    QTextStream out(stdout);
    // The crash test's seam counts the commands' file operations, not the start-up's.
    CrashPoint::startCounting();
    for (const CliOptions::Invocation &inv : options.commands) {
        if (inv.name == QLatin1String("exit")) {
            // Like the window's Exit: the run ends here, unless the player cancelled.
            if (selector.commands().ExitProcedure())
                return Done;
            continue;
        }
        const CliCommands::Command *command = CliCommands::find(inv.name);
        const bool ok = command->run(selector, inv.args, out);
        out.flush();
        if (!ok)
            return Failed;
    }
    return Done;
}

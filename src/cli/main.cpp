// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliCommands.h"
#include "CliOptions.h"
#include "CrashPoint.h"
#include "DryRun.h"
#include "FileHook.h"
#include "History.h"
#include "InstanceGuard.h"
#include "Locator.h"
#include "Selector.h"
#include "SharedListing.h"
#include "StderrPrompt.h"
#include "Terminal.h"
#include "TerminalProgress.h"
#include "WindowCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

enum Status { Done = 0, Failed = 1, Usage = 2, Duplicate = 3, Interrupted = 130 };

// The trace of a real run (VEK_TRACE): the lines a dry run would print, written as the
// changes are made. A seam for the test that holds a dry run against the real thing.
std::unique_ptr<QFile> openTrace(const QString &path) {
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return nullptr;
    QFile *f = file.get();
    FileHook::setSink([f](const FileOperation &op) { f->write((op.line() + '\n').toUtf8()); });
    return file;
}

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
    // One run at a time per game folder: the game folder's lock below. The user's instance
    // lock only spares a second window, so a run on another game folder goes on beside a
    // window or another run (a launcher's, a script's).
    InstanceGuard guard;

    const QString game = QDir::cleanPath(
        QFileInfo(options.game.isEmpty() ? QDir::currentPath() : options.game).absoluteFilePath());
    if (!QFileInfo(game).isDir())
        return usage(QStringLiteral("the game folder \"%1\" does not exist")
                         .arg(QDir::toNativeSeparators(game)));
    // Nothing is touched in a folder without the game's program: the home folder a script
    // runs in is not a game folder, and a start there would sweep the player's own files.
    if (!Locator::isGameFolder(game))
        return usage(QStringLiteral("\"%1\" is not a game folder: it holds no eaw.exe")
                         .arg(QDir::toNativeSeparators(game)));
    // A dry run changes nothing in the game folder, so it neither needs its lock nor waits
    // for a run that holds it; it works on a game folder this user cannot write to, too.
    if (!options.dryRun) {
        switch (guard.lockGameFolder(game)) {
        case InstanceGuard::Outcome::Taken:
            break;
        case InstanceGuard::Outcome::Busy:
            prompt.fail(guard.problem());
            return Duplicate;
        case InstanceGuard::Outcome::Unavailable:
            prompt.fail(guard.problem());
            return Failed;
        }
    }
    QString vek;
    if (!options.vek.isEmpty()) {
        vek = QDir::cleanPath(QFileInfo(options.vek).absoluteFilePath());
        if (!QFileInfo(vek).isDir())
            return usage(QStringLiteral("the VEK folder \"%1\" does not exist")
                             .arg(QDir::toNativeSeparators(vek)));
    }

    QTextStream out(stdout);
    std::unique_ptr<DryRun> dryRun;
    std::unique_ptr<QFile> trace;
    if (options.dryRun) {
        // The whole run, start-up included, goes to a twin of the folders. The remembered VEK
        // folder is twinned too when no --vek names one.
        QString twinned = vek;
        if (twinned.isEmpty()) {
            Locator peek(prompt);
            if (peek.start(game) == Locator::Start::Automatic)
                twinned = QDir::cleanPath(QFileInfo(peek.Label1).absoluteFilePath());
        }
        QString error;
        dryRun = DryRun::start(game, twinned, out, &error);
        if (!dryRun) {
            prompt.fail(error);
            return Failed;
        }
        const Replica &replica = dryRun->replica();
        prompt.setFilter([&replica](const QString &text) { return replica.textToReal(text); });
    } else if (const QString path = qEnvironmentVariable("VEK_TRACE"); !path.isEmpty()) {
        trace = openTrace(path);
        if (!trace)
            return usage(QStringLiteral("VEK_TRACE: \"%1\" cannot be written").arg(path));
    }
    const auto shown = [&](const QString &text) {
        return dryRun ? dryRun->replica().textToReal(text) : text;
    };
    const QString gameUsed = dryRun ? dryRun->replica().toReplica(game) : game;

    Locator locator(prompt);
    const Locator::Start start = locator.start(gameUsed);
    if (!vek.isEmpty()) {
        locator.selectOption(0);
        locator.folderChanged(dryRun ? dryRun->replica().toReplica(vek) : vek);
        if (!locator.Command1)
            return usage(QStringLiteral("\"%1\" is not a VEK folder: it holds no file named "
                                        "\"linkscreen\"")
                             .arg(QDir::toNativeSeparators(vek)));
    } else if (start != Locator::Start::Automatic) {
        return usage(locator.startProblem.isEmpty()
                         ? QStringLiteral("no --vek given and the game folder remembers no VEK "
                                          "folder in LastVEKDir")
                         : shown(locator.startProblem));
    }

    CrashPoint::startCounting(CrashPoint::Phase::StartUp);
    std::optional<History::Early> early(std::in_place);
    Folders folders = locator.ok();
    early.reset();
    folders.AfterCut = guard.tookLeftLock();
    // The twin's game folder stands for the real one, whose options the player chose.
    if (dryRun)
        folders.OptionsFolder = game;
    // A run is short and waits on nobody but its --answer: the folders read by its start serve
    // its commands too, kept true by every change it makes (a launched game, which may write
    // there, ends them).
    const SharedListing::Scope listings;
    Selector selector(folders, prompt);
    selector.load();
    selector.askAfterLoad();
    TerminalProgress progress(Terminal::stderrIsTerminal());
    selector.setProgress(&progress);
    prompt.setBeforeWriting([&progress] { progress.clearLine(); });
    // Messages written while the tool winds down come after the bar is gone.
    const auto unhook = qScopeGuard([&prompt] { prompt.setBeforeWriting({}); });

    // The crash test's seam counts the commands' file operations, not the start-up's.
    CrashPoint::startCounting(CrashPoint::Phase::Commands);
    for (const CliOptions::Invocation &inv : options.commands) {
        // Each command that changes files is one entry of the history.
        std::optional<History::Entry> entry;
        if (CliCommands::recorded(inv.name))
            entry.emplace(selector.history(), CliCommands::sentence(inv.name, inv.args));
        if (inv.name == QLatin1String("exit")) {
            // Like the window's Exit: the run ends here, unless the player cancelled.
            if (selector.commands().ExitProcedure())
                return Done;
            continue;
        }
        const CliCommands::Command *command = CliCommands::find(inv.name);
        const bool ok = command->run(selector, inv.args, out);
        // An autoscript run is one change, whatever its clicks said last.
        if (inv.name == QLatin1String("script-run"))
            selector.history().name(CliCommands::sentence(inv.name, inv.args));
        out.flush();
        // 128 + SIGINT, what a shell reports for a program Ctrl+C ends: a script can tell
        // an interrupted run from a failed one although the operation was undone.
        if (!ok)
            return TerminalProgress::interrupted() ? Interrupted : Failed;
    }
    return Done;
}

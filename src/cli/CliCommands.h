// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

class Selector;

/// The command table of vekselector-cli: each command acts like one control of the main
/// window, through the same engine call the window makes.
class CliCommands {
public:
    struct Command {
        QString name;
        QString args;     ///< as shown in --help
        QString actsLike; ///< as shown in --help
        int minArgs;
        int maxArgs;
        /// Checks the arguments before anything runs; answers a usage error or empty.
        std::function<QString(const QStringList &)> check;
        /// Runs the command; answers false when it failed (its message already shown).
        std::function<bool(Selector &, const QStringList &, QTextStream &out)> run;
    };

    static const QList<Command> &table();
    static const Command *find(const QString &name);

    /// Usage error of one invocation, or empty.
    static QString validate(const QString &name, const QStringList &args);

    static QString help();

    /// What a command that changes files did, in the history's words, for the commands whose
    /// engine call leaves the status line as it was (the option clicks, the music ...).
    static QString sentence(const QString &name, const QStringList &args);
    /// Whether the history records the command as one change (every command but the ones
    /// that only print, and the history's own, which record themselves).
    static bool recorded(const QString &name);
};

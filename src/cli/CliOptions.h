// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The parsed command line of vekselector-cli.
struct CliOptions {
    struct Invocation {
        QString name;
        QStringList args;
    };

    QString game;          ///< --game, empty for the current directory
    QString vek;           ///< --vek, empty for the remembered folder
    bool answerOk = false; ///< --answer
    bool dryRun = false;   ///< --dry-run
    bool help = false;
    bool version = false; ///< --version
    QList<Invocation> commands;

    /// Parses `args` (without the program name). Options come before the first command;
    /// commands are separated by a lone "+". Answers false with `error` set on a usage error.
    /// Command names and argument counts are checked by the command table, not here.
    static bool parse(const QStringList &args, CliOptions *out, QString *error);
};

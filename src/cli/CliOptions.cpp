// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliOptions.h"

bool CliOptions::parse(const QStringList &args, CliOptions *out, QString *error) {
    *out = CliOptions();
    int i = 0;
    auto value = [&](const QString &option, QString *target) {
        if (i + 1 >= args.size()) {
            *error = QStringLiteral("%1 needs a value").arg(option);
            return false;
        }
        *target = args.at(++i);
        return true;
    };
    for (; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out->help = true;
        } else if (a == QLatin1String("--version")) {
            out->version = true;
        } else if (a == QLatin1String("--dry-run")) {
            out->dryRun = true;
        } else if (a == QLatin1String("--game")) {
            if (!value(a, &out->game))
                return false;
        } else if (a == QLatin1String("--vek")) {
            if (!value(a, &out->vek))
                return false;
        } else if (a == QLatin1String("--answer")) {
            QString v;
            if (!value(a, &v))
                return false;
            if (v != QLatin1String("ok") && v != QLatin1String("cancel")) {
                *error = QStringLiteral("--answer takes ok or cancel, not \"%1\"").arg(v);
                return false;
            }
            out->answerOk = v == QLatin1String("ok");
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            break;
        }
    }
    Invocation current;
    for (; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("+")) {
            if (current.name.isEmpty()) {
                *error = QStringLiteral("a \"+\" with no command before it");
                return false;
            }
            out->commands << current;
            current = Invocation();
        } else if (current.name.isEmpty()) {
            current.name = a;
        } else {
            current.args << a;
        }
    }
    if (!current.name.isEmpty())
        out->commands << current;
    else if (!out->commands.isEmpty()) {
        *error = QStringLiteral("a \"+\" with no command after it");
        return false;
    }
    if (out->commands.isEmpty())
        out->commands << Invocation{QStringLiteral("status"), {}};
    return true;
}

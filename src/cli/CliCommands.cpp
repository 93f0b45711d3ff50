#include "CliCommands.h"

#include "Selector.h"

namespace {

bool status(Selector &selector, const QStringList &, QTextStream &out) {
    for (const QString &name : selector.loadedNames())
        out << name << '\n';
    return true;
}

} // namespace

const QList<CliCommands::Command> &CliCommands::table() {
    static const QList<Command> commands = {
        {QStringLiteral("status"), QString(),
         QStringLiteral("prints the loaded list of \"What is loaded!\", one name a line"), 0, 0,
         nullptr, status},
    };
    return commands;
}

const CliCommands::Command *CliCommands::find(const QString &name) {
    for (const Command &c : table())
        if (c.name == name)
            return &c;
    return nullptr;
}

QString CliCommands::validate(const QString &name, const QStringList &args) {
    const Command *c = find(name);
    if (!c)
        return QStringLiteral("unknown command \"%1\"").arg(name);
    if (args.size() < c->minArgs || args.size() > c->maxArgs)
        return QStringLiteral("%1 takes %2")
            .arg(name, c->args.isEmpty() ? QStringLiteral("no arguments") : c->args);
    return c->check ? c->check(args) : QString();
}

QString CliCommands::help() {
    QString text = QStringLiteral(
        "Usage: vekselector-cli [--game DIR] [--vek DIR] [--answer ok|cancel]\n"
        "                       [COMMAND [ARG]...] [+ COMMAND [ARG]...]...\n"
        "\n"
        "  --game DIR            the game folder (default: the current directory)\n"
        "  --vek DIR             the VEK folder, holding \"linkscreen\" (default: the first\n"
        "                        line of LastVEKDir in the game folder)\n"
        "  --answer ok|cancel    how a question is answered (default: cancel)\n"
        "  --help                this text\n"
        "\n"
        "Commands are separated by a lone \"+\"; no command means status.\n"
        "\n"
        "Commands:\n");
    for (const Command &c : table()) {
        const QString head = c.args.isEmpty() ? c.name : c.name + QLatin1Char(' ') + c.args;
        text += QStringLiteral("  %1 %2\n").arg(head, -28).arg(c.actsLike);
    }
    text += QStringLiteral(
        "\nExit status: 0 every command done; 1 a command failed (message on stderr, later\n"
        "commands not run); 2 usage error; 3 another instance is running.\n");
    return text;
}

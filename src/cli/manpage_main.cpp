// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the manual page of vekselector-cli from a hand-written roff template and the
// command table itself, so every command the program knows is in its manual.
//   vekselector-manpage TEMPLATE OUTPUT VERSION DATE
// In the template, @VERSION@ and @DATE@ are replaced, and a line holding only @COMMANDS@
// becomes the command list.
#include "CliCommands.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace {

/// Text as roff shows it literally: backslashes and hyphens escaped (a hyphen the reader
/// may type must stay a plain minus sign), and a line never starting as a request.
QString roff(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\e"));
    text.replace(QLatin1Char('-'), QStringLiteral("\\-"));
    if (text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('\'')))
        text.prepend(QStringLiteral("\\&"));
    return text;
}

/// The arguments of a command: placeholders (NAME, WxH) in italics, words to type in bold.
QString arguments(const QString &args) {
    QString out;
    QString word;
    auto flush = [&] {
        if (word.isEmpty())
            return;
        const bool placeholder = word != word.toLower();
        out += (placeholder ? QStringLiteral("\\fI") : QStringLiteral("\\fB")) + roff(word) +
               QStringLiteral("\\fR");
        word.clear();
    };
    for (const QChar c : args) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('|')) {
            flush();
            out += c;
        } else {
            word += c;
        }
    }
    flush();
    return out;
}

QString commandList() {
    QString text;
    for (const CliCommands::Command &c : CliCommands::table()) {
        text += QStringLiteral(".TP\n\\fB%1\\fR").arg(roff(c.name));
        if (!c.args.isEmpty())
            text += QLatin1Char(' ') + arguments(c.args);
        text += QLatin1Char('\n') + roff(c.actsLike) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 5) {
        err << "usage: vekselector-manpage TEMPLATE OUTPUT VERSION DATE\n";
        return 2;
    }
    QFile in(args.at(1));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        err << "vekselector-manpage: cannot read \"" << args.at(1) << "\": " << in.errorString()
            << '\n';
        return 1;
    }
    QString page;
    bool listed = false;
    for (QString line : QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'))) {
        if (line == QLatin1String("@COMMANDS@")) {
            page += commandList();
            listed = true;
            continue;
        }
        line.replace(QLatin1String("@VERSION@"), args.at(3));
        line.replace(QLatin1String("@DATE@"), args.at(4));
        page += line + QLatin1Char('\n');
    }
    if (!listed) {
        err << "vekselector-manpage: \"" << args.at(1) << "\" has no @COMMANDS@ line\n";
        return 1;
    }
    page.chop(1); // the split made one line more than the file ends with
    QSaveFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.commit()) {
        err << "vekselector-manpage: cannot write \"" << args.at(2) << "\": " << out.errorString()
            << '\n';
        return 1;
    }
    return 0;
}

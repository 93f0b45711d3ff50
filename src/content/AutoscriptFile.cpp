// SPDX-License-Identifier: GPL-3.0-or-later
#include "AutoscriptFile.h"

#include "Text8.h"
#include "TextFile.h"

namespace {

QString lastPart(const QString &entry) {
    const qsizetype cut = qMax(entry.lastIndexOf(QLatin1Char('\\')), entry.lastIndexOf('/'));
    return cut < 0 ? entry : entry.mid(cut + 1);
}

/// The fields of one line, as the delimited-field reading splits it.
QStringList fields(const QString &line) {
    QStringList out;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && (line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t')))
            ++i;
        QString field;
        if (i < n && line.at(i) == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            field = line.mid(i + 1, close < 0 ? -1 : close - i - 1);
            i = close < 0 ? n : close + 1;
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            i = comma < 0 ? n : comma;
        } else {
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            field = line.mid(i, comma < 0 ? -1 : comma - i).trimmed();
            i = comma < 0 ? n : comma;
        }
        out << lastPart(field);
        if (i >= n)
            return out;
        ++i; // the comma
    }
}

} // namespace

QStringList AutoscriptFile::entries(const QByteArray &bytes) {
    QStringList out;
    for (const QByteArray &line : TextFile::splitLines(bytes))
        out += fields(Text8::toUnicode(line));
    return out;
}

QByteArray AutoscriptFile::bytes(const QString &text) {
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return Text8::fromUnicode(normal) + "\r\n";
}

QString AutoscriptFile::badName(const QString &name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("An autoscript needs a name: type one in the box above \"Save "
                              "current settings\".");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" cannot be the name of an autoscript: it names a folder.")
            .arg(name);
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QStringLiteral("\"%1\" cannot be the name of an autoscript: a name may not hold "
                              "\"/\" or \"\\\".")
            .arg(name);
    return QString();
}

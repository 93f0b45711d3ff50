// SPDX-License-Identifier: GPL-3.0-or-later
#include "GroupTable.h"

#include "FileList.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>

void GroupTable::parse(const QList<QByteArray> &lines) {
    descriptions.clear();
    GroupLetters.fill(QString());
    lineCount = int(lines.size());
    for (int k = 0; k < lines.size() && k < MaxGroups; ++k) {
        const QString line = Text8::toUnicode(lines.at(k));
        GroupLetters[k] = line.isEmpty() ? QString() : line.right(1);
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        descriptions << (colon < 0 ? line : line.left(colon));
    }
}

bool GroupTable::read(const QString &modFolder, QString *problem) {
    const QString name = FileList::find(modFolder, QStringLiteral("vek.ini"));
    QList<QByteArray> lines;
    QString error;
    if (name.isEmpty() || !TextFile::readLines(FileList::join(modFolder, name), &lines, &error)) {
        parse({});
        if (problem)
            *problem = name.isEmpty()
                           ? QStringLiteral("The VEK folder \"%1\" has no vek.ini, so no groups "
                                            "can be offered: the group filter shows all folders.")
                                 .arg(QDir::toNativeSeparators(modFolder))
                           : error;
        return false;
    }
    parse(lines);
    if (lineCount > MaxGroups) {
        if (problem)
            *problem = QStringLiteral("vek.ini in \"%1\" has %2 lines; the selector offers the "
                                      "first %3 groups and ignores the rest.")
                           .arg(QDir::toNativeSeparators(modFolder))
                           .arg(lineCount)
                           .arg(MaxGroups);
        return false;
    }
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ledgers.h"

#include "FileList.h"
#include "FileOps.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QStringList>

QString Ledgers::unrecordable(const QString &name) {
    QStringList foreign;
    bool control = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name.at(i).unicode();
        if (u < 0x20 || u == 0x7F) {
            control = true;
            continue;
        }
        // Latin-1 letters are their own bytes; only the rest needs the code page's table.
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            continue;
        // A character beyond the first plane (most emoji, rarer CJK) is two UTF-16 units.
        const qsizetype units =
            QChar::isHighSurrogate(u) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate() ? 2
                                                                                                : 1;
        const QString character = name.mid(i, units);
        i += units - 1;
        if (Text8::toUnicode(Text8::fromUnicode(character)) != character &&
            !foreign.contains(character))
            foreign << character;
    }
    QStringList parts;
    if (!foreign.isEmpty()) {
        constexpr qsizetype kListed = 8;
        QStringList quoted;
        for (qsizetype i = 0; i < qMin(foreign.size(), kListed); ++i)
            quoted << QLatin1Char('"') + foreign.at(i) + QLatin1Char('"');
        if (foreign.size() > kListed)
            quoted << QStringLiteral("and %1 more").arg(foreign.size() - kListed);
        parts << QStringLiteral("%1 %2 that 8-bit text (Windows-1252) cannot hold")
                     .arg(foreign.size() == 1 ? QStringLiteral("the character")
                                              : QStringLiteral("the characters"),
                          quoted.join(QStringLiteral(", ")));
    }
    if (control)
        parts << QStringLiteral("a control character (a line break or a tab) that would split "
                                "its line");
    return parts.join(QStringLiteral(" and "));
}

QString Ledgers::refusedLoad(const QString &what, const QString &path, const QString &why) {
    return QStringLiteral("Could not load %1 \"%2\": its name holds %3, and %4 records names as "
                          "8-bit text, as the game's tools read it, so the folder would not count "
                          "as loaded after a restart. Rename it with Western European letters, "
                          "digits, blanks and punctuation only. Nothing was copied.")
        .arg(what, QDir::toNativeSeparators(path), why, FoldersLoaded);
}

bool Ledgers::ensureExists(const QString &folder, const QString &name, QString *error) {
    if (!FileList::find(folder, name).isEmpty())
        return true;
    return FileOps::writeAtomic(FileList::join(folder, name), QByteArray(), error);
}

QList<QByteArray> Ledgers::readFoldersLoaded(const QString &modFolder) {
    const QString name = FileList::find(modFolder, FoldersLoaded);
    QList<QByteArray> names;
    if (name.isEmpty())
        return names;
    QList<QByteArray> lines;
    if (!TextFile::readLines(FileList::join(modFolder, name), &lines, nullptr))
        return names;
    for (const QByteArray &l : lines)
        if (!l.isEmpty())
            names << l;
    return names;
}

QByteArray Ledgers::foldersLoadedBytes(const QList<QByteArray> &names) {
    return TextFile::joinLines(names) + "\r\n";
}

bool Ledgers::writeFoldersLoaded(const QString &modFolder, const QByteArray &loadedText,
                                 QString *error) {
    return FileOps::writeAtomic(FileList::resolve(modFolder, FoldersLoaded), loadedText + "\r\n",
                                error);
}

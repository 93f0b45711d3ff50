// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ledgers.h"

#include "FileList.h"
#include "FileOps.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QSet>
#include <QStringList>

#include <algorithm>

QString Ledgers::unrecordable(const QString &name) {
    const bool control = std::any_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7F;
    });
    QStringList parts;
    if (const QString phrase = Text8::foreignPhrase(name); !phrase.isEmpty())
        parts << phrase;
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

QString Ledgers::unwritable(const QString &modFolder) {
    for (const QString &name : {FoldersLoaded, LoadOrder, LoadedNames, SkinsLoaded, PlanesLoaded}) {
        QString error;
        if (!FileOps::canRewrite(FileList::resolve(modFolder, name), &error))
            return error;
    }
    return QString();
}

bool Ledgers::ensureExists(const QString &folder, const QString &name, QString *error) {
    if (!FileList::find(folder, name).isEmpty())
        return true;
    return FileOps::writeAtomic(FileList::join(folder, name), QByteArray(), error);
}

QList<QByteArray> Ledgers::readFoldersLoaded(const QString &modFolder,
                                             QList<QByteArray> *repeated) {
    const QString name = FileList::find(modFolder, FoldersLoaded);
    QList<QByteArray> names;
    if (name.isEmpty())
        return names;
    QList<QByteArray> lines;
    if (!TextFile::readLines(FileList::join(modFolder, name), &lines, nullptr))
        return names;
    // From the end, so that each name keeps its last line; one pass, whatever the length.
    QSet<QByteArray> seen;
    QSet<QByteArray> twice;
    for (auto l = lines.crbegin(); l != lines.crend(); ++l) {
        if (l->isEmpty())
            continue;
        if (seen.contains(*l))
            twice.insert(*l);
        else {
            seen.insert(*l);
            names << *l;
        }
    }
    std::reverse(names.begin(), names.end());
    if (repeated)
        for (const QByteArray &n : std::as_const(names))
            if (twice.contains(n))
                repeated->append(n);
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

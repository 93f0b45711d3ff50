#include "Ledgers.h"

#include "FileList.h"
#include "FileOps.h"
#include "TextFile.h"

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

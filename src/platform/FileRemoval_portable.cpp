// SPDX-License-Identifier: GPL-3.0-or-later
// `FileRemoval`'s deletes through Qt alone, where the system offers no short way.
#include "FileRemoval.h"

#include "FileParts.h"

#include "FileHook.h"
#include "FileOps.h"

#include <QFile>
#include <QFileInfo>

using namespace FileParts;

bool FileRemoval::removeFile(const QString &path, QString *error) {
    const QFileInfo fi(path);
    if (!fi.exists() && !fi.isSymLink())
        return true;
    if (fi.isDir() && !fi.isSymLink())
        return fail(error, QStringLiteral("delete"), path, kSourceIsFolder);
    if (!fi.isSymLink() && FileOps::isReadOnly(path))
        return fail(error, QStringLiteral("delete"), path, kReadOnly);
    if (!FileHook::mayChange(path, error))
        return false;
    QFile file(path);
    if (!file.remove() && file.exists())
        return fail(error, QStringLiteral("delete"), path, FileOps::reasonOf(file));
    FileHook::deleted(path);
    return true;
}

QString FileParts::fileRefusal(const QString &path) {
    const QFileInfo fi(path);
    if (fi.isSymLink() || !fi.exists())
        return QString();
    if (fi.isDir())
        return kSourceIsFolder;
    return FileOps::isReadOnly(path) ? kReadOnly : QString();
}

QString FileParts::folderRefusal(const QString &folder) {
    const QFileInfo fi(folder);
    if (!fi.isDir())
        return QString();
    const QString shown = QDir::toNativeSeparators(folder);
    if (FileOps::isReadOnlyFolder(folder))
        return QStringLiteral("the folder \"%1\" holding it is read-only").arg(shown);
    if (!fi.isWritable())
        return QStringLiteral("the folder \"%1\" holding it does not let this user delete its "
                              "files")
            .arg(shown);
    return QString();
}

Removal
FileParts::removeInFolder(const QString &folder, const QStringList &names, QStringList *failures,
                          QString *error, const std::function<bool(const QString &)> &before,
                          const std::function<QString(const QString &, const QString &)> &variant,
                          QList<FileRemoval::Removed> *removed) {
    Q_UNUSED(variant);
    Q_UNUSED(folder);
    Q_UNUSED(names);
    Q_UNUSED(failures);
    Q_UNUSED(error);
    Q_UNUSED(before);
    Q_UNUSED(removed);
    return Removal::NotTaken;
}

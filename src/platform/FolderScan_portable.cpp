// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderScan.h"

#include "FileList.h"
#include "NativePath.h"

#include <QDirIterator>

#include <filesystem>
#include <system_error>

namespace {

// Hidden files are content like any other. Not QDir::System: on Unix it would add links
// that point nowhere, pipes and devices, which the Linux room does not count as files.
constexpr QDir::Filters kEvery = QDir::Hidden | QDir::NoDotAndDotDot;

// Whether the folder opens for reading, asked of the standard library: Qt's iterator lists a
// folder it cannot open as empty, which would tell an unload that none of its files is there.
bool readable(const QString &folder, QString *error) {
    std::error_code ec;
    std::filesystem::directory_iterator open(nativePath(folder), ec);
    if (!ec)
        return true;
    if (error)
        *error = FolderScan::unreadable(folder, ec == std::errc::no_such_file_or_directory
                                                    ? QStringLiteral("it does not exist")
                                                    : QString::fromStdString(ec.message()));
    return false;
}

} // namespace

bool FolderScan::systemNames(const QString &folder, Kind kind, QStringList *names, QString *error) {
    names->clear();
    if (!readable(folder, error))
        return false;
    QDirIterator it(folder, (kind == Kind::Files ? QDir::Files : QDir::Dirs) | kEvery);
    while (it.hasNext()) {
        it.next();
        names->append(it.fileName());
    }
    return true;
}

bool FolderScan::systemCollect(const QString &folder, const QHash<QByteArray, qsizetype> &groupOf,
                               QList<QStringList> *found, QString *error) {
    QStringList all;
    if (!names(folder, Kind::Files, &all, error))
        return false;
    for (const QString &name : std::as_const(all)) {
        const auto group = groupOf.constFind(FileList::fold(name).toUtf8());
        if (group != groupOf.cend())
            (*found)[group.value()].append(name);
    }
    return true;
}

bool FolderScan::systemFoldersWithPrefix(const QString &folder, const QString &prefix,
                                         QStringList *names, QString *error) {
    if (!systemNames(folder, Kind::Folders, names, error))
        return false;
    names->removeIf([&prefix](const QString &n) { return !n.startsWith(prefix); });
    return true;
}

bool FolderScan::systemWithPrefix(const QString &folder, const QString &prefix, QStringList *rests,
                                  QString *error) {
    rests->clear();
    if (!readable(folder, error))
        return false;
    // As the Linux room, anything but a folder: a kept name may be a link that points
    // nowhere.
    QDirIterator it(folder, {prefix + QLatin1Char('*')}, QDir::Files | QDir::System | kEvery);
    while (it.hasNext()) {
        it.next();
        // The pattern matches without regard to case on some systems; the prefix does not.
        if (it.fileName().startsWith(prefix) && it.fileName().size() > prefix.size())
            rests->append(it.fileName().mid(prefix.size()));
    }
    return true;
}

bool FolderScan::systemEntries(const QString &folder, QList<Entry> *entries, QString *error) {
    entries->clear();
    if (!readable(folder, error))
        return false;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | kEvery);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        Entry e;
        e.name = it.fileName();
        e.type = info.isFile() ? Entry::File : info.isDir() ? Entry::Folder : Entry::Other;
        e.link = info.isSymLink();
        e.folderItself = info.isDir(); // as `systemWithPrefix` leaves folders out
        entries->append(e);
    }
    return true;
}

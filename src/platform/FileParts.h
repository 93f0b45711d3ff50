// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the rooms of the file work (`FileCopy`, `FileRemoval`, `FolderListing`) share; not for
// use outside src/platform. The copy, the scans and the removal each have a portable part and
// a Linux part, and CMake builds one of the two (see CMakeLists.txt).

#include "FileRemoval.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <functional>
#include <vector>

namespace FileParts {

inline bool fail(QString *error, const QString &action, const QString &path,
                 const QString &reason) {
    if (error)
        *error = QStringLiteral("Could not %1 \"%2\": %3.")
                     .arg(action, QDir::toNativeSeparators(path), reason);
    return false;
}

inline bool failCopy(QString *error, const QString &from, const QString &to,
                     const QString &reason) {
    if (error)
        *error = QStringLiteral("Could not copy \"%1\" to \"%2\": %3.")
                     .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to), reason);
    return false;
}

/// The system's error number in words; a missing file in the words of the other messages.
inline QString reasonOf(int err) {
    return err == ENOENT ? QStringLiteral("it does not exist") : qt_error_string(err);
}

inline const QString kReadOnly = QStringLiteral("the file is read-only");
inline const QString kFolderInTheWay = QStringLiteral("a folder of that name is in the way");
inline const QString kSourceIsFolder = QStringLiteral("it is a folder, not a file");
inline const QString kNoFolder = QStringLiteral("its folder does not exist");
inline const QString kImmutable =
    QStringLiteral("the system marks it immutable (no user may change or delete it)");
inline const QString kAppendOnly =
    QStringLiteral("the system marks it append-only (no user may delete it)");

/// Why `folder` lets no file of it be deleted or renamed away, in the words that follow
/// "Could not delete FILE: "; empty when it lets them. The folder's own attribute (read-only),
/// its system marks (immutable, append-only) and what the system allows this user.
QString folderRefusal(const QString &folder);

/// Why the entry `path` cannot be deleted as a file (a folder, read-only, marked immutable or
/// append-only, or a status query failed); empty when it can or is not there.
QString fileRefusal(const QString &path);

/// The sentence for a folder that lets none of its files go: the first file it was asked to
/// delete, how many others, and why.
inline QString folderRefused(const QString &file, qsizetype others, const QString &why) {
    return QStringLiteral("Could not delete \"%1\"%2: %3.")
        .arg(QDir::toNativeSeparators(file),
             others > 0 ? QStringLiteral(" (nor the %1 other files to delete there)").arg(others)
                        : QString(),
             why);
}

/// A hidden name beside `to`, unique to this process and call.
QString temporaryBeside(const QString &to);

/// The copy through Qt alone: a hidden temporary file renamed over the target.
bool copyPortable(const QString &from, const QString &to, QString *error, bool normalSource);

/// What `FolderListing::findAll` finds, by group: names equal without regard to case share one
/// group (`groups` holds each name's), and `found` holds each group's files.
bool findGroups(const QString &folder, const QStringList &names, QList<qsizetype> *groups,
                QList<QStringList> *found, QString *error);

/// The file name `i` of `findGroups`'s names stands for: the one file of its group, the first
/// time the group is asked (`done` marks it); none when the group has none or several.
inline const QString *standsFor(qsizetype i, const QList<qsizetype> &groups,
                                const QList<QStringList> &found, std::vector<char> &done) {
    const qsizetype g = groups.at(i);
    if (done[size_t(g)] || found.at(g).size() != 1)
        return nullptr;
    done[size_t(g)] = 1;
    return &found.at(g).first();
}

/// The files name `i` of `findGroups`'s names stands for, the first time its group is asked
/// (`done` marks it): its one file; of a name present under several cases, each file that
/// `variant` answers empty for, every other file named in `failures` with its answer (without
/// `variant`, none goes and the name is told once). Nothing for a name already asked or absent.
inline std::vector<const QString *>
filesFor(qsizetype i, const QStringList &names, const QList<qsizetype> &groups,
         const QList<QStringList> &found, std::vector<char> &done, const QString &folder,
         const std::function<QString(const QString &, const QString &)> &variant,
         QStringList *failures) {
    if (const QString *one = standsFor(i, groups, found, done))
        return {one};
    const qsizetype g = groups.at(i);
    if (done[size_t(g)] || found.at(g).size() < 2)
        return {};
    done[size_t(g)] = 1;
    const QStringList &all = found.at(g);
    if (!variant) {
        QStringList quoted;
        for (const QString &file : all)
            quoted << QLatin1Char('"') + file + QLatin1Char('"');
        failures->append(
            QStringLiteral("Could not delete \"%1\": the folder holds the name as %2, which "
                           "the game takes for one file, and which of them to take out is not "
                           "known.")
                .arg(QDir::toNativeSeparators(QDir(folder).filePath(names.at(i))),
                     quoted.join(QStringLiteral(" and "))));
        return {};
    }
    std::vector<const QString *> going;
    for (const QString &file : all) {
        const QString refused = variant(names.at(i), file);
        if (refused.isEmpty())
            going.push_back(&file);
        else
            failures->append(refused);
    }
    return going;
}

enum class Removal {
    Done,       ///< the deletes were made, or refused as a whole, as `failures` says
    Unreadable, ///< the folder could not be read; nothing was deleted
    NotTaken,   ///< the short way is not open here: delete each file by its path
};

/// `FileRemoval::removeNamed` the short way: every file deleted by its name in the folder held
/// open, with the listing, the status queries and the deletes overlapped.
Removal removeInFolder(const QString &folder, const QStringList &names, QStringList *failures,
                       QString *error, const std::function<bool(const QString &)> &before,
                       const std::function<QString(const QString &, const QString &)> &variant,
                       QList<FileRemoval::Removed> *removed);

} // namespace FileParts

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// One pass over a folder's entries, at the speed of the system's own listing: game folders
/// hold tens of thousands of files and are read several times while the main window loads and
/// once per load and unload, so on Linux the folder is read directly rather than through
/// QDirIterator, which builds a file-information object for every entry. Everywhere else the
/// portable room reads it through Qt with the same answers.
///
/// A link counts as what it points to, as in every other listing of the selector. A folder
/// that cannot be read answers false with `error` naming it and the reason; what was read
/// before a read failed stays in the answer.
///
/// While a `SharedListing::Scope` is open (the main window's load, an operation), every answer
/// comes from the folder's one shared listing instead of reading it again.
class FolderScan {
public:
    enum class Kind { Files, Folders };

    /// One entry as a pass sees it: what it is once a link is followed, whether `withPrefix`
    /// leaves it out as a folder (on Linux the entry itself, not a link to one), and whether
    /// it is a link.
    struct Entry {
        enum Type { File, Folder, Other };
        QString name;
        Type type = Other;
        bool folderItself = false;
        bool link = false;
    };

    /// The names of the files (or folders) of `folder`, unsorted, without "." and "..".
    static bool names(const QString &folder, Kind kind, QStringList *names, QString *error);

    /// The files of `folder` whose name, case-folded and as UTF-8 (`FileList::fold`), is a key
    /// of `groupOf`: each is appended to `found` at the key's value. Only the asked-for names
    /// become strings, so a big folder costs little more than the system's listing.
    static bool collect(const QString &folder, const QHash<QByteArray, qsizetype> &groupOf,
                        QList<QStringList> *found, QString *error);

    /// The names of the entries of `folder` (any but folders) that begin with `prefix` and go
    /// on after it, with the prefix cut off. Only those become strings.
    static bool withPrefix(const QString &folder, const QString &prefix, QStringList *rests,
                           QString *error);

    /// The names of the folders of `folder` that begin with `prefix`. Only those become
    /// strings: a VEK folder may hold ten thousand folders.
    static bool foldersWithPrefix(const QString &folder, const QString &prefix, QStringList *names,
                                  QString *error);

    /// The message for a folder that could not be read.
    static QString unreadable(const QString &folder, const QString &reason);

private:
    friend class SharedListing;
    // The system's own passes (the rooms), behind the answers above.
    static bool systemEntries(const QString &folder, QList<Entry> *entries, QString *error);
    static bool systemNames(const QString &folder, Kind kind, QStringList *names, QString *error);
    static bool systemCollect(const QString &folder, const QHash<QByteArray, qsizetype> &groupOf,
                              QList<QStringList> *found, QString *error);
    static bool systemWithPrefix(const QString &folder, const QString &prefix, QStringList *rests,
                                 QString *error);
    static bool systemFoldersWithPrefix(const QString &folder, const QString &prefix,
                                        QStringList *names, QString *error);
};

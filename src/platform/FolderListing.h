// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Listing by name: a folder's file names read once, and the files that bear asked-for names
// without regard to case, for copying or deleting many files by name in a big folder.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

/// The listings the mover, the ledgers and the recovery look a folder up with. They read the
/// folder through `FolderScan` (the system's own pass where there is one) and match names as
/// the game does, without regard to case.
class FolderListing {
public:
    /// The names of the files of `folder` (what `FileList::files` lists for "*.*"), in no
    /// particular order. This is the listing for copying or deleting many files by name in a
    /// big folder: it reads the folder once at the speed of the system's own listing, where a
    /// sorted listing costs several times more in a game folder of tens of thousands of files.
    /// A folder that cannot be read answers false with `error` naming it and the reason.
    static bool fileNames(const QString &folder, QStringList *names, QString *error);

    /// For each of `names`, the files of `folder` that bear that name compared without regard
    /// to case (none, one, or several differing only in case), in `present`, index by index.
    /// The folder is read once and only the asked-for names are kept, so asking n names of a
    /// folder of m files costs O(n + m) with little more than the system's listing as the
    /// m-part. A folder that cannot be read answers false with `error` naming it.
    static bool findAll(const QString &folder, const QStringList &names,
                        QList<QStringList> *present, QString *error);
    /// The same, with the folder read on a worker thread while this one calls `meanwhile`
    /// again and again, until the reading is done or `meanwhile` answers false. The worker
    /// touches nothing but what it fills in.
    static bool findAll(const QString &folder, const QStringList &names,
                        QList<QStringList> *present, QString *error,
                        const std::function<bool()> &meanwhile);
};

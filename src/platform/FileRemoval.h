// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Removing: where an unload, a recovery or a save exchange deletes a file, one by path or
// many by name in a folder, all or nothing, and whether a file can go at all.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

/// The deletes of the selector's file work. The course and the deletes by path are in
/// FileRemoval.cpp; the system's short way (the folder held open, deletes overlapped) in
/// FileRemoval_linux.cpp, with FileRemoval_portable.cpp where the system has none.
class FileRemoval {
public:
    /// Deletes the file `path`; a read-only file or a folder is refused, and a file that is
    /// already gone counts as deleted. One status query and one unlink, nothing more: an
    /// unload deletes thousands of files.
    static bool removeFile(const QString &path, QString *error);

    /// For a name present under several cases in a folder: empty when the file `file` found
    /// for the name `asked` is to go, else why it stays (the failure told).
    using Variant = std::function<QString(const QString &asked, const QString &file)>;

    /// A file `removeNamed` deleted: the name it was asked for, and its own name in the folder.
    struct Removed {
        QString asked;
        QString file;
    };

    /// Deletes from `folder` the file each of `names` stands for: the one file there that
    /// bears the name compared without regard to case (see `FolderListing::findAll`). A name
    /// present under several cases stands for the files `variant` lets go, and the others are named
    /// in `failures` (without `variant` none goes and they are all named); a name not present
    /// stands for nothing, and names equal but for case for their file once.
    ///
    /// All or nothing: every file is looked at before the first goes, and when one cannot go
    /// (see `removable`: a read-only file or folder, a folder where a file was listed, a file or
    /// folder the system marks unchangeable) or a variant stays, none is deleted and each refusal
    /// is in `failures`. A delete that fails all the same (the folder changed in between) stops
    /// the deletes there, its reason in `failures`. `removed` gets each file deleted, in order,
    /// so that a caller can put them back. Each delete is as `removeFile`'s, in the order of
    /// `names`; `before` is called with the file's name just before it, and when it answers
    /// false the deletes stop there. Answers false, with `error`, only when the folder cannot be
    /// read, and then nothing is deleted.
    ///
    /// The folder is read once, alongside the status queries, and each file is deleted by its
    /// name in the folder held open: an unload deletes thousands of files from a folder of tens
    /// of thousands, and this costs little more than the system's `rm` of the same names. The
    /// look before the deletes is the status query each delete needs anyway, made earlier.
    static bool removeNamed(const QString &folder, const QStringList &names, QStringList *failures,
                            QString *error, const std::function<bool(const QString &)> &before = {},
                            const Variant &variant = {}, QList<Removed> *removed = nullptr);

    /// Whether the file `path` can be deleted or renamed away now, as `removeFile` and the
    /// system would find it: empty when it can (or is not there), else why not ("the file is
    /// read-only", "the folder ... is read-only", a file or folder the system marks immutable or
    /// append-only, a folder the system does not let this user change). Two status queries.
    static QString removable(const QString &path);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileMover.h"

#include "FileCompare.h"
#include "FileCopy.h"
#include "FileList.h"
#include "FileRemoval.h"
#include "FolderListing.h"
#include "KeptFiles.h"
#include "Progress.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

const QString kCopying = QStringLiteral("Please wait- copying: :");
const QString kDeleting = QStringLiteral("Deleting ");

QString cancelled(const QString &folder) {
    return QStringLiteral("Moving the files of \"%1\" was cancelled.")
        .arg(QDir::toNativeSeparators(folder));
}

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Exact string comparison is the rule; a second path to the same folder (a trailing
// separator, a link) is refused too, because moving a folder onto itself would copy files over
// themselves and an unload would delete the folder's own files.
bool sameFolder(const QString &folder, const QString &gameFolder) {
    if (folder == gameFolder)
        return true;
    const QString a = QFileInfo(folder).canonicalFilePath();
    return !a.isEmpty() && a == QFileInfo(gameFolder).canonicalFilePath();
}

// The names under which the game folder holds the names a content folder asks about, from one
// reading of the game folder, which keeps only the asked-for names: a game folder of tens of
// thousands of files costs a pass over its directory and no index of it all.
class GameNames {
public:
    GameNames(const QStringList &asked, const QList<QStringList> &found) {
        present_.reserve(asked.size());
        for (qsizetype i = 0; i < asked.size(); ++i)
            present_.insert(FileList::fold(asked[i]), found[i]);
    }

    /// The name to write `name` under: the exact name when present, else the first case
    /// variant in name order (as `FileList::findIn` chooses), else empty.
    QString target(const QString &name) const {
        const QStringList variants = present_.value(FileList::fold(name));
        if (variants.isEmpty() || variants.contains(name))
            return variants.isEmpty() ? QString() : name;
        QStringList sorted = variants;
        FileList::sortNames(sorted);
        return sorted.first();
    }

    /// The one name present for `name`; empty when absent or present under several cases.
    QString single(const QString &name) const {
        const QStringList variants = present_.value(FileList::fold(name));
        return variants.size() == 1 ? variants.first() : QString();
    }

    void added(const QString &name) { present_[FileList::fold(name)].append(name); }

private:
    QHash<QString, QStringList> present_;
};

/// Takes out what a failed load did: removes the copies it made under new names, and puts the
/// game files it replaced back from `kept` (without it, its copies over them are removed too).
/// `replaced`: a copy went over a kept game file (one kept and then not replaced, because its
/// copy failed, is no replaced file). Answers the sentence to add to its message.
QString undoCopies(const QStringList &written, KeptFiles *kept, bool replaced,
                   const QString &folder) {
    QStringList stuck;
    for (const QString &path : written) {
        QString removeError;
        if (!FileRemoval::removeFile(path, &removeError))
            stuck << removeError;
    }
    const bool putBack = replaced && kept && !kept->isEmpty();
    if (kept && !kept->isEmpty())
        stuck += kept->restore();
    if (written.isEmpty() && !putBack && stuck.isEmpty())
        return QStringLiteral(" No file of \"%1\" had been copied.").arg(shown(folder));
    if (stuck.isEmpty())
        return putBack ? QStringLiteral(" The files already copied from \"%1\" were removed "
                                        "again, and the game files they replaced were put back.")
                             .arg(shown(folder))
                       : QStringLiteral(" The files already copied from \"%1\" were removed again.")
                             .arg(shown(folder));
    return QStringLiteral(" Some files already copied from \"%1\" could not be removed again:\n")
               .arg(shown(folder)) +
           stuck.join(QLatin1Char('\n'));
}

} // namespace

bool FileMover::skipped(const QString &name) {
    const QString upper = name.toUpper();
    if (upper.startsWith(QLatin1String("ECA")))
        return true;
    if (upper == QLatin1String("MYPIC") || upper == QLatin1String("CONTENTS.TXT"))
        return true;
    for (const char *picture : {".JPG", ".PCX", ".BMP", ".GIF"}) {
        if (upper.endsWith(QLatin1String(picture)))
            return true;
    }
    return false;
}

bool FileMover::MoveIn(const QString &folder, const QString &gameFolder, const Caption &caption,
                       QString *error, const Rule &skip, Progress *progress, KeptFiles *kept) {
    if (sameFolder(folder, gameFolder))
        return true;
    QStringList names;
    if (!FolderListing::fileNames(folder, &names, error))
        return false;
    FileList::sortNames(names);
    // What the game folder holds of each name decides the name each copy takes (the case a
    // file already has there). Reading a big game folder takes as long as copying a hundred
    // files or so, and the copies need not wait for it: they are made ahead, in order, and
    // named when their turn comes.
    QList<QStringList> found;
    FileCopy::Ahead ahead(gameFolder);
    qsizetype next = 0;
    const auto copyAhead = [&] {
        while (next < names.size() && skip && skip(names.at(next)))
            ++next;
        return next < names.size() && ahead.add(FileList::join(folder, names.at(next++)));
    };
    if (!FolderListing::findAll(gameFolder, names, &found, error, copyAhead))
        return false;
    GameNames present(names, found);

    // Every path this call wrote, so that a failure can take them all out again: the ledger
    // will not name a folder whose load failed, so none of its files may stay behind. A path
    // that held a game file is kept instead, when the caller keeps them, and goes back.
    QStringList written;
    QSet<QString> writtenSet;
    bool replaced = false;
    for (const QString &name : std::as_const(names)) {
        if (skip && skip(name))
            continue;
        if (caption)
            caption(kCopying + name);
        if (progress && !progress->next(name)) {
            if (error)
                *error = cancelled(folder) + undoCopies(written, kept, replaced, folder);
            return false;
        }
        const QString existing = present.target(name);
        const QString target = FileList::join(gameFolder, existing.isEmpty() ? name : existing);
        const bool first = !writtenSet.contains(target);
        QString reason;
        // A file this call wrote itself (two names equal but for case) is no game file to keep.
        const bool keeps = kept && first && !existing.isEmpty();
        if ((keeps && !kept->keep(target, &reason)) ||
            !FileCopy::copyReplace(FileList::join(folder, name), target, &reason, true,
                                   FileCopy::Way::Best, &ahead, existing.isEmpty())) {
            if (error)
                *error = reason + undoCopies(written, kept, replaced, folder);
            return false;
        }
        replaced = replaced || keeps;
        if (first) {
            writtenSet.insert(target);
            if (!keeps)
                written << target;
        }
        if (existing.isEmpty())
            present.added(name);
    }
    return true;
}

bool FileMover::MoveOut(const QString &folder, const QString &gameFolder, const Caption &caption,
                        QString *error, const Rule &keep, Progress *progress,
                        const QStringList *listed) {
    if (sameFolder(folder, gameFolder))
        return true;
    QStringList names;
    if (listed) {
        names = *listed;
    } else if (!FolderListing::fileNames(folder, &names, error)) {
        return false;
    }
    if (keep)
        names.removeIf(keep);
    // Name order, so that names equal but for case sit side by side: they stand for one game
    // file, which goes once, at the first of them.
    FileList::sortNames(names);
    bool stopped = false;
    QStringList failures;
    // A name the game folder holds in more than one case (a1.dat and A1.DAT) is one file to
    // the game: each of them that holds this folder's bytes is its copy and goes; any other
    // is the game's or the player's, stays, and is named.
    const FileRemoval::Variant ownCopy = [&](const QString &asked, const QString &file) {
        const QString source = FileList::join(folder, asked);
        const QString present = FileList::join(gameFolder, file);
        QString why;
        const FileCompare::Result same = FileCompare::sameBytes(source, present, &why);
        if (same == FileCompare::Result::Same)
            return QString();
        return QStringLiteral("Could not take out \"%1\": the game folder holds this name in "
                              "more than one case, and this file is not the copy of \"%2\" (%3); "
                              "it was left in the game folder.")
            .arg(shown(present), shown(source),
                 same == FileCompare::Result::Differs ? QStringLiteral("its bytes differ") : why);
    };
    QList<FileRemoval::Removed> removed;
    const bool read = FileRemoval::removeNamed(
        gameFolder, names, &failures, error,
        [&](const QString &name) {
            if (caption)
                caption(kDeleting + name);
            if (progress && !progress->next(name)) {
                stopped = true;
                return false;
            }
            return true;
        },
        ownCopy, &removed);
    if (!read)
        return false;
    if (stopped) {
        if (error)
            *error = (QStringList{cancelled(folder)} + failures).join(QLatin1Char('\n'));
        return false;
    }
    if (failures.isEmpty())
        return true;
    if (!error)
        return false;
    if (removed.isEmpty()) {
        *error = QStringLiteral("\"%1\" was not taken out of the game folder: not every file of "
                                "it can be deleted there, and no file was.\n")
                     .arg(shown(folder)) +
                 failures.join(QLatin1Char('\n'));
        return false;
    }
    // A delete the look before them did not foresee (the game folder changed meanwhile): the
    // files already deleted are this folder's copies, and come back from it, so the folder is
    // in the game folder whole, as the ledger says.
    QStringList stuck;
    for (const FileRemoval::Removed &r : std::as_const(removed)) {
        QString why;
        if (!FileCopy::copyReplace(FileList::join(folder, r.asked),
                                   FileList::join(gameFolder, r.file), &why))
            stuck << why;
    }
    *error = QStringLiteral("\"%1\" was not taken out of the game folder: a file of it could not "
                            "be deleted.\n")
                 .arg(shown(folder)) +
             failures.join(QLatin1Char('\n')) +
             (stuck.isEmpty()
                  ? QStringLiteral("\nThe %1 files deleted before it were copied back from "
                                   "\"%2\".")
                        .arg(removed.size())
                        .arg(shown(folder))
                  : QStringLiteral("\nSome files deleted before it could not be copied back:\n") +
                        stuck.join(QLatin1Char('\n')));
    return false;
}

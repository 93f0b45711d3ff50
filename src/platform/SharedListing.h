// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileHook.h"
#include "FolderScan.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

/// One listing per folder for a start or an operation. The main window's load reads the game folder
/// (tens of thousands of files) and the VEK folder (thousands of content folders) from many steps:
/// the recovery's kept files, the cheat byte, the background picture, the music, lookups of names
/// that are absent. While a `Scope` is open each folder is read once and every `FolderScan`
/// answer about it comes from that reading.
///
/// It never goes stale through the selector's own work: every change passes `FileHook`, which
/// tells `changed`. A whole-file write, a copy onto a name, a byte patch or an attribute change of
/// a plain file the listing already holds under that exact name leaves every listing true (the same
/// names, the same kinds); a new plain file (a copy, a second name) joins its folder's listing;
/// any other change drops the listings it may have made untrue (the
/// folder holding the changed name, the name itself and what is below it; every listing while
/// one holds a link), and the next question reads that folder again. Outside a scope nothing is
/// kept and every question reads the folder.
class SharedListing {
public:
    /// Keeps listings until the outermost scope ends. Made by the thread that asks.
    class Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;
    };

    /// One folder as one pass saw it; `ok` false with `error` when it could not be read.
    struct Listing {
        bool ok = false;
        QString error;
        QList<FolderScan::Entry> entries;
        /// Whether an entry is a link (whose target's change this listing cannot follow).
        bool links = false;
        /// The files' names in `FileList::sortNames` order, made on the first ask.
        mutable QStringList sortedFiles;
        mutable bool sorted = false;
        /// Each entry's place by its exact name, made on the first change told.
        mutable QHash<QString, qsizetype> positions;
        /// The entries' names without regard to case (`FileList::fold`), made with `positions`.
        mutable QSet<QString> folded;
        mutable bool positioned = false;
    };

    /// The listing of `folder` while a scope is open (read now if not yet held); null outside
    /// a scope.
    static std::shared_ptr<const Listing> of(const QString &folder);

    /// Forgets every listing (the scope stays open): for a wait on the player, who may change
    /// the folders meanwhile.
    static void drop();

    /// The files `names` of `folder` were deleted together (the one-pass removal, which tells
    /// no change one by one): its listing loses them, every other listing stays.
    static void removed(const QString &folder, const QStringList &names);

    /// A change just made (any thread): keeps or drops the listings as said above.
    static void changed(FileOperation::Kind kind, const QString &path, const QString &other);
};

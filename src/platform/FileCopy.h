// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Copying: the copy that loads content into the game folder, as fast as the system's own
// copy and never a half-written target, and the copies made ahead of their names.

#include "FileIdentity.h"

#include <QString>

#include <memory>

/// The copy that loads content into the game folder: as fast as the system's own copy, and
/// never a half-written target.
///
/// The bytes go into a file of the target's folder that has no name, or a hidden temporary
/// name, until it is whole; only then does it take the target's name. A reader of the game
/// folder sees the old file or the whole new one, and a failure leaves the target as it was.
///
/// Unlike `FileOps::copyReplace` this does not sync the copy to disk: a content folder is
/// copied by the thousand files, a sync per file makes a load many times slower than the
/// system's copy, and a crash that takes a copy loses nothing, since the source stays in the
/// VEK folder and loading again restores it. Copies that must survive a crash because their
/// source goes away (campaign saves) use `FileOps`.
///
/// The copy's course is in FileCopy.cpp, the system's fast ways in FileCopy_linux.cpp (or
/// FileCopy_portable.cpp where the system has none). Deletes are `FileRemoval`'s, listings
/// `FolderListing`'s.
class FileCopy {
public:
    /// How to copy. `Best` is the fastest way the system offers, and falls back by itself
    /// where the file system lacks it; the others are the fallbacks, open to choice so that
    /// each is tested on every platform that has it.
    enum class Way {
        Best,
        NamedTemporary, ///< a hidden temporary file renamed over the target (Linux)
        Portable,       ///< through Qt alone; the only way on other systems
    };

    /// Copies made before the names they are to have are known: each source's bytes wait in
    /// a file of the folder that has no name, and `copyReplace` given this object only names
    /// the next one when it is of the same source. A load does this while it reads the game
    /// folder to learn those names (see `FolderListing::findAll` with `meanwhile`). What is not
    /// named when this object goes vanishes with it, and leaves nothing in the folder. Only where
    /// the system has unnamed files (Linux), and never while a dry run or a trace records (their
    /// record follows the copies in order); elsewhere nothing is copied ahead.
    class Ahead {
    public:
        explicit Ahead(const QString &folder);
        ~Ahead();
        Ahead(const Ahead &) = delete;
        Ahead &operator=(const Ahead &) = delete;

        /// Copies `from` ahead, after those already made; false when it was not (something
        /// out of the ordinary, left to the copy in its turn, which tells why), and from then
        /// on no more are made.
        bool add(const QString &from);
        /// Whether another may be made (each holds a descriptor open until it is named).
        bool room() const;

    private:
        friend class FileCopy;
        struct Copies;
        std::unique_ptr<Copies> copies_;
    };

    /// Copies `from` over `to`. The copy gets normal attributes; with `normalSource` the
    /// source gets them too (set on the already open file, so it costs no second lookup).
    /// Refused: a read-only `to`, a folder at `to`, a source that is not a file. Failing
    /// calls answer false with `error` naming the file and the reason, and leave `to` as it
    /// was and no temporary file behind. With `ahead`, a copy of `from` made ahead there
    /// (the next one) is named `to` instead of copying again. `absent`: the caller has just
    /// seen that `to` is not there (a load's listing of the game folder), so the history need
    /// not look.
    static bool copyReplace(const QString &from, const QString &to, QString *error,
                            bool normalSource = false, Way way = Way::Best, Ahead *ahead = nullptr,
                            bool absent = false);

private:
    /// What a copy learnt of its files from their open descriptors, for the history.
    struct Seen {
        FileIdentity source;
        FileIdentity copy;
    };
    /// A copy the `Best` or `NamedTemporary` way, from the copies made ahead when there is
    /// one: in the system's own room (FileCopy_linux.cpp, or FileCopy_portable.cpp where the
    /// system has no way of its own). `seen`, where given, gets what the copy knows
    /// (`exists` false where it does not).
    static bool copySystem(const QString &from, const QString &to, QString *error,
                           bool normalSource, Way way, Ahead *ahead, Seen *seen);
};

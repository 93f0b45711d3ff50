// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
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
/// This header is the portable face of the mover's file work; behind it are rooms of their
/// own, each with a Linux file and a portable one that CMake chooses between: the copy
/// (FileCopy*.cpp), the deletes (FileRemoval*.cpp) and the folder reads (`FolderScan`).
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
    /// folder to learn those names (see `findAll` with `meanwhile`). What is not named when
    /// this object goes vanishes with it, and leaves nothing in the folder. Only where the
    /// system has unnamed files (Linux), and never while a dry run or a trace records (their
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
    /// (the next one) is named `to` instead of copying again.
    static bool copyReplace(const QString &from, const QString &to, QString *error,
                            bool normalSource = false, Way way = Way::Best, Ahead *ahead = nullptr);

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
    /// bears the name compared without regard to case (see `findAll`). A name present under
    /// several cases stands for the files `variant` lets go, and the others are named in
    /// `failures` (without `variant` none goes and they are all named); a name not present
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

private:
    /// A copy the `Best` or `NamedTemporary` way, from the copies made ahead when there is
    /// one: in the system's own room (FileCopy_linux.cpp, or FileCopy_portable.cpp where the
    /// system has no way of its own).
    static bool copySystem(const QString &from, const QString &to, QString *error,
                           bool normalSource, Way way, Ahead *ahead);
};

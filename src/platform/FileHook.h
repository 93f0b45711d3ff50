// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct FileIdentity;

/// One change the selector made to a file or folder, as a dry run prints it and a trace
/// writes it: one tab-separated line.
struct FileOperation {
    enum class Kind {
        Copy,       ///< `path` copied to `other`, which did not exist
        Replace,    ///< `path` copied over `other`, which existed
        Delete,     ///< `path` deleted
        Rewrite,    ///< `path` written whole (atomically)
        Patch,      ///< the byte at 1-based `position` of `path` changed from `before` to `after`
        Move,       ///< `path` moved or renamed to `other`
        Folder,     ///< the folder `path` created
        Attributes, ///< the attributes of `path` changed to `other` (normal, read-only, writable)
        Launch,     ///< the program `path` started
        Link,       ///< `path` given the second name `other` (a hard link)
    };
    Kind kind = Kind::Rewrite;
    QString path;
    QString other;
    qint64 position = 0;
    int before = -1; ///< -1: the file ended before the position
    int after = 0;

    static FileOperation of(Kind kind, const QString &path, const QString &other = QString()) {
        FileOperation op;
        op.kind = kind;
        op.path = path;
        op.other = other;
        return op;
    }

    /// "copy\tFROM\tTO", "patch\tFILE\t113\t0a\t1f" ...; `map` turns each path into the
    /// one shown.
    QString line(const std::function<QString(const QString &)> &map = {}) const;
};

/// The single point every change to a file passes through: the copies, deletes, whole-file
/// writes, byte patches, renames, folder creations and attribute changes of the platform
/// layer report here, right after they happened.
///
/// It serves three purposes:
/// - the crash seam (`CrashPoint`): each change to a file's bytes or name counts;
/// - recording: with a sink set, each change is handed to it as a `FileOperation` (a dry run
///   prints them, `VEK_TRACE` writes them to a file);
/// - isolation: a dry run works on a replica of the folders made of hard links, which share
///   their bytes and attributes with the player's own files. While isolated, a change outside
///   the replica is refused, and a change made in place (a byte patch, an attribute) first
///   gives the file an inode of its own (`detach`).
///
/// Without a sink and isolation (every normal run) each call costs a predictable branch.
class FileHook {
public:
    using Sink = std::function<void(const FileOperation &)>;
    /// Told before a file changes: `path` is about to be replaced, renamed, deleted or
    /// written (`inPlace`: its bytes are written into the open file, so a second name of it
    /// would change too; `absent`: the caller has just seen that nothing is there, so the
    /// observer need not look). The history keeps what the file was from here.
    using Observer = std::function<void(const QString &path, bool inPlace, bool absent)>;

    /// Starts (or, with an empty sink, stops) recording.
    static void setSink(Sink sink);
    static bool recording();

    /// Reports a change that has just been made.
    static void done(const FileOperation &operation);

    /// Convenience reports; each is a no-op for recording when no sink is set, but counts for
    /// the crash seam where the change is one of a file's bytes or name.
    static void copied(const QString &from, const QString &to, bool existedBefore);
    /// The same, with what the copy routine knows from its open files: the source and the
    /// copy as they are now (either null where it does not know), so the copy observer need
    /// not look at them again.
    static void copied(const QString &from, const QString &to, bool existedBefore,
                       const FileIdentity *source, const FileIdentity *copy);
    static void deleted(const QString &path);
    static void rewritten(const QString &path);
    static void moved(const QString &from, const QString &to);
    /// A file's second name made (`linked`), or a file renamed over another name (`renamed`):
    /// both change a name, so both count for the crash seam, unlike a folder's `moved`.
    static void linked(const QString &from, const QString &to);
    static void renamed(const QString &from, const QString &to);
    static void folderCreated(const QString &path);
    /// One byte written in place: `before` is -1 where the file ended before `position`.
    struct PatchedByte {
        qint64 position;
        int before;
        int after;
    };
    /// One in-place write of `bytes` (one crash point); a byte written over itself is not
    /// recorded.
    static void patched(const QString &path, const QList<PatchedByte> &bytes);
    static void attributesChanged(const QString &path, const QString &state);

    /// Sets (or, empty, clears) the observer told before each change; a run without one pays a
    /// predictable branch per change.
    static void setObserver(Observer observer);
    static bool observed();
    /// Told right after `from` was copied to `to` (a load's copy of a content file): the
    /// history can then keep a later delete of `to` as a reference to `from`, without bytes.
    /// `source` and `copy` are what the copy routine knew of both (null: not known).
    using CopyObserver = std::function<void(const QString &from, const QString &to,
                                            const FileIdentity *source, const FileIdentity *copy)>;
    static void setCopyObserver(CopyObserver observer);
    /// Whether a copy observer is set: only then does a copy look at what it made.
    static bool copyObserved();
    /// Told before the folder `from` is renamed to `to`: every file below it changes its name,
    /// and the history keeps where each was.
    using FolderObserver = std::function<void(const QString &from, const QString &to)>;
    static void setFolderObserver(FolderObserver observer);
    /// Before a folder's rename: tells the folder observer, when there is one.
    static void folderMoving(const QString &from, const QString &to);

    /// Confines every change to the folders `roots` (and what is below them); empty lifts it.
    static void isolate(const QStringList &roots);
    static bool isolated();

    /// Before a change of `path`: false with `error` when isolation forbids it.
    static bool mayChange(const QString &path, QString *error);
    /// `mayChange` for a `path` the caller knows is absent (a load's copy to a name its
    /// listing of the game folder just showed free).
    static bool mayCreate(const QString &path, QString *error);

    /// Before a change made in place (bytes written into the open file, attributes): checks
    /// `mayChange`, and while isolated gives `path` an inode of its own when it shares one
    /// (a hard link, or a symbolic link to a file elsewhere), so the change reaches no other
    /// name. The detached file has the same bytes, attributes and modification time.
    static bool detach(const QString &path, QString *error);

    /// Collects the reports of the steps of one larger operation (a save moved by copy,
    /// check and delete). `commit` reports the operation instead of its steps; a group that
    /// ends without `commit` (a step failed) reports the steps it collected, as they were.
    /// The crash seam counts every step either way.
    class Group {
    public:
        Group();
        ~Group();
        Group(const Group &) = delete;
        Group &operator=(const Group &) = delete;
        void commit(const FileOperation &operation);

    private:
        QList<FileOperation> steps_;
        Group *outer_;
        bool committed_ = false;
        friend class FileHook;
    };

private:
    static void deliver(const FileOperation &operation);
    /// Whether isolation lets `path` change (false with `error` when not).
    static bool confined(const QString &path, QString *error);
};

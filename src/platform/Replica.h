// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

/// A throw-away twin of some folders, for a dry run: the engine runs on the twin, and the
/// player's folders are never opened for writing.
///
/// The twin is a tree of new folders whose files are hard links to the real files, in a
/// hidden folder `.vekselector-dry-run-PID-XXXXXX` beside each real folder (the same file
/// system, so a link costs one directory entry and no bytes). Where a link cannot be made
/// (another file system, no right to write beside the folder, or `VEK_DRY_RUN_COPY` set) the
/// twin is a full copy under the temporary folder instead.
///
/// A hard link shares the real file's bytes and attributes. Whole-file writes, copies,
/// deletes and renames replace or remove the twin's name only; a change made in place must
/// first give the twin's name an inode of its own (`FileHook::detach`, which the platform
/// layer calls while `FileHook::isolate` holds the twin's roots).
///
/// The twin is removed when the object goes; one left by a killed run is removed by the next
/// dry run beside the same folder.
class Replica {
public:
    /// Makes the twin of `folders` (absolute paths); a folder inside another is twinned with
    /// the outer one. Answers null with `error` naming the folder and the reason.
    static std::unique_ptr<Replica> make(const QStringList &folders, QString *error);
    ~Replica();
    Replica(const Replica &) = delete;
    Replica &operator=(const Replica &) = delete;

    /// The twin's path of a real path inside the twinned folders (other paths unchanged).
    QString toReplica(const QString &realPath) const;
    /// The real path of a path inside the twin (other paths unchanged).
    QString toReal(const QString &replicaPath) const;
    /// Every twin path in `text` (a message) replaced by the real one.
    QString textToReal(const QString &text) const;

    /// Makes `stand` (an empty folder inside the twin) stand for the folder `real`, which is
    /// not twinned (the user's data folder): paths inside it are shown as inside `real`, and
    /// changes may go there. The folders of `real` down to `levels` (relative, in order) that
    /// exist are made in `stand` too, so the run creates the same folders as a real one.
    bool standIn(const QString &real, const QString &stand, const QStringList &levels);

    /// The roots of the twin, for `FileHook::isolate`.
    QStringList roots() const;
    /// Whether the twin is made of hard links (false: copies).
    bool linked() const { return linked_; }

    /// The prefix of the hidden folders that hold twins.
    static inline const QString ScratchPrefix = QStringLiteral(".vekselector-dry-run-");

private:
    struct Pair {
        QString real;
        QString replica;
        QString scratch; ///< the hidden folder holding `replica`
    };
    Replica() = default;
    QList<Pair> pairs_;
    bool linked_ = true;
};

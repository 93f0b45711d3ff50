// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

/// The files of a folder that an operation replaces, kept reachable until the operation is
/// over, so that one that fails, is cancelled or is cut short by a crash can put every one of
/// them back byte for byte.
///
/// A kept file is the same file under a second, hidden name beside it: `.vek-keep-` and its
/// name ("CLOUDS.TPC" is kept as ".vek-keep-CLOUDS.TPC"). A hard link costs one directory
/// entry and no bytes; where the file system has no hard links the file is copied to that
/// name instead (slower, but nothing is ever replaced without its old bytes kept). Because the
/// name says whose file it is, the next start finds kept files by listing the folder.
///
/// Every change passes through `FileHook`: the second name is a "link", the way back a "move"
/// (a rename over the copy), a dropped kept file a "delete"; each counts for the crash seam.
///
/// A game file of the game's own (one that no loaded folder carries when a load replaces it)
/// outlives the operation: it is kept under `.vek-game-<name>` instead, which the end of the
/// operation does not drop, so the unload of the last folder carrying that name can put it
/// back (`putBack`). Such a file is kept once: a later load replacing a loaded folder's copy
/// keeps that copy under the operation's name while the game's file stays where it is.
class KeptFiles {
public:
    /// Whether the file now of the name is the game's own (no loaded folder carries it).
    using Rule = std::function<bool(const QString &name)>;

    /// The hidden name `name` is kept under.
    static QString keptName(const QString &name);
    /// The name of the file `fileName` keeps, or empty when it is no kept file.
    static QString keptFor(const QString &fileName);
    /// The hidden name the game's own `name` is kept under for as long as it is replaced.
    static QString gameName(const QString &name);
    /// The name of the game's file `fileName` keeps, or empty when it is none.
    static QString gameFor(const QString &fileName);

    /// Set by the caller for the operation under way: the files it accepts are the game's own
    /// and are kept beyond it. Unset, every file is kept only while the operation lasts.
    Rule gameOwn;

    /// Keeps the file `path`, which is about to be replaced. A path this object keeps already
    /// is kept once (its first bytes are the ones to put back). Refused, with `error` naming
    /// the file: a kept name too long for the file system, a file already there under the kept
    /// name (kept by an earlier run, see `settleOrphans`), or a failure to link or copy.
    bool keep(const QString &path, QString *error);

    /// Takes the kept files of `folder` for the files `names` as this object's own: an
    /// operation a crash cut short, whose record says which files it replaces.
    void adopt(const QString &folder, const QStringList &names);

    bool isEmpty() const { return paths_.isEmpty(); }

    /// Puts every kept file back under its own name (renamed over what is there now) and
    /// forgets it; answers a sentence for each file that could not be put back. A kept file
    /// that is still the file of its name (it was kept, and the replacing did not happen) is
    /// only given up its second name.
    QStringList restore();

    /// Deletes every file kept for the operation alone (it is over and its replacements stay);
    /// the game's own stay kept. Answers a sentence for each that could not be deleted.
    QStringList drop();

    /// The names of the game's own files kept in `folder` (as `gameFor` answers them), by one
    /// reading of the folder. False, with `error`, when it cannot be read.
    static bool findGame(const QString &folder, QStringList *names, QString *error);

    /// Puts the game's own kept files `names` (as `findGame` answers them) back under their
    /// names in `folder`: each whose name is free there (no file of it in any case) is renamed
    /// back; one that is still the file of its name only loses its second name; one whose name
    /// holds another file stays kept. Answers the names put back; `problems` gets a sentence
    /// for each that could not be.
    static QStringList putBack(const QString &folder, const QStringList &names,
                               QStringList *problems);

    /// The names of the files kept in `folder` (each as `keptFor` answers it), in the order of
    /// the listing. One reading of the folder, without a status query per file. False, with
    /// `error`, when the folder cannot be read.
    static bool find(const QString &folder, QStringList *names, QString *error);

    /// Kept files that no record claims: which operation kept them, and whether it was
    /// finished, is not known, so neither name is deleted. A kept file whose name is free (no
    /// file of that name in any case) is put back under it; one whose name is taken is renamed
    /// to a visible name beside it, "<name>.kept", so the player can find it and the next
    /// start does not report it again. Answers one sentence per file for the player.
    static QStringList settleOrphans(const QString &folder, const QStringList &names);

private:
    QStringList paths_; ///< the kept files' own paths, in the order kept
    QSet<QString> kept_;
    QSet<QString> game_; ///< the paths of `paths_` kept as the game's own
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// Campaign saves moved and copied as one: all of them or none. A player's save must never be
/// lost, nor left half-way between a mission's store and the game's Savedata, so the exchange
/// runs in two steps:
/// - `ready` checks everything that can be known (a read-only save, a read-only folder, a file
///   or folder the system marks unchangeable or does not let this user change), then
///   copies every save beside its target under a hidden name (".vek-save-N") and checks that
///   the copy holds the same bytes. Nothing is replaced or deleted yet: a failure (a full disk,
///   say) removes the copies made and leaves every save where it was, byte for byte.
/// - `commit` renames the files that a move displaces to the names kept for them, renames the
///   copies over their targets and then deletes the sources of the moves and the files `prune`
///   names. Renames and deletes in folders just written to do not run out of space; should one
///   fail all the same, it stops there and names the file.
///
/// A copy left by a run that was killed is recognised by its name (`isStaged`): the journal's
/// recovery removes them (`clearStaged`) before it plans the exchange again, and no listing
/// of saves counts them. Each step can be made again after a crash: a source is deleted only
/// once its copy has its name, and a displaced save has its new name before its old one is
/// taken.
class SaveExchange {
public:
    /// Moves `from` to `to` (a path the caller has chosen; an existing file there is replaced).
    void move(const QString &from, const QString &to) {
        steps_.append({from, to, true, {}, {}, {}});
    }
    /// Moves `from` to `to` after renaming the save `displaced` (`to` under the case it has on
    /// disk) to `aside`, a name free in the same folder: the save coming in takes the name, and
    /// the one it displaces is kept. A read-only `displaced` is refused, as a replace would be.
    void moveDisplacing(const QString &from, const QString &to, const QString &displaced,
                        const QString &aside) {
        steps_.append({from, to, true, displaced, aside, {}});
    }
    /// Copies `from` to `to`; the source stays.
    void copy(const QString &from, const QString &to) {
        steps_.append({from, to, false, {}, {}, {}});
    }
    /// Deletes `path` once every step is in place.
    void prune(const QString &path) { prunes_.append(path); }

    bool isEmpty() const { return steps_.isEmpty() && prunes_.isEmpty(); }

    /// The checks of `ready` alone (a read-only save or folder on the way), nothing copied:
    /// false with `error` when `ready` would refuse for what can be known beforehand.
    bool check(QString *error) const;
    /// The checks and the copies beside the targets. False with `error` naming the file and
    /// the reason; then nothing is left of it.
    bool ready(QString *error);
    /// Puts the copies in place, deletes what the moves leave behind and what is pruned.
    /// `ready` must have succeeded.
    bool commit(QString *error);
    /// Removes the copies `ready` made, when it was not committed.
    void discard();

    /// Whether a file's name is that of a copy made ready.
    static bool isStaged(const QString &name);
    /// The names of `folder`'s files, less the copies made ready.
    static QStringList saves(const QString &folder);
    /// Removes the copies made ready that a killed run left in `folder`.
    static bool clearStaged(const QString &folder, QString *error);

private:
    struct Step {
        QString from;
        QString to;
        bool move = false;
        QString displaced; ///< the save at `to` that is kept under `aside`, or empty
        QString aside;
        QString staged; ///< the copy beside `to`, once made
    };
    QList<Step> steps_;
    QStringList prunes_;
};

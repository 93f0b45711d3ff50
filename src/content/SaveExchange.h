#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// Campaign saves moved and copied as one: all of them or none. A player's save must never be
/// lost, nor left half-way between a mission's store and the game's Savedata, so the exchange
/// runs in two steps:
/// - `ready` checks everything that can be known (a read-only save, a read-only folder), then
///   copies every save beside its target under a hidden name (".vek-save-N") and checks that
///   the copy holds the same bytes. Nothing is replaced or deleted yet: a failure (a full disk,
///   say) removes the copies made and leaves every save where it was, byte for byte.
/// - `commit` renames the copies over their targets and then deletes the sources of the moves
///   and the files `prune` names. Renames and deletes in folders just written to do not run
///   out of space; should one fail all the same, it stops there and names the file.
///
/// A copy left by a run that was killed is recognised by its name (`isStaged`): the journal's
/// recovery removes them (`clearStaged`) before it plans the exchange again, and no listing
/// of saves counts them.
class SaveExchange {
public:
    /// Moves `from` to `to` (a path the caller has chosen; an existing file there is replaced).
    void move(const QString &from, const QString &to) { steps_.append({from, to, true, {}}); }
    /// Copies `from` to `to`; the source stays.
    void copy(const QString &from, const QString &to) { steps_.append({from, to, false, {}}); }
    /// Deletes `path` once every step is in place.
    void prune(const QString &path) { prunes_.append(path); }

    bool isEmpty() const { return steps_.isEmpty() && prunes_.isEmpty(); }

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
        QString staged; ///< the copy beside `to`, once made
    };
    QList<Step> steps_;
    QStringList prunes_;
};

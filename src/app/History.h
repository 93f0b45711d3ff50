// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HistoryStore.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Reporter;
class SelectorState;

/// The history of changes: every change the selector makes to the game folder, its ledgers
/// and the options it keeps is an entry, and any earlier state comes back whole.
///
/// While an entry is open, `FileHook`'s observer hands over each file before it first changes
/// in that entry, and the history keeps what it was: nothing for a file that was not there, a
/// second name (a hard link into the store) for one that is replaced or deleted, a copy for
/// one written in place. Closing the entry drops what did not change and writes the entry.
/// Going back from M to N puts each file touched in N+1..M back as it was before the first of
/// them touched it; those changes are an entry of their own, so a going back is undone the
/// same way. A file someone else changed since the history last touched it is kept beside,
/// never lost.
class History {
public:
    History(SelectorState &state, Reporter &reporter);
    ~History();
    History(const History &) = delete;
    History &operator=(const History &) = delete;

    /// One change while it lasts; an entry opened inside another is part of the outer one.
    /// `sentence` says what it did when the status line does not say it.
    class Entry {
    public:
        Entry(History &history, const QString &sentence) : h_(history) { h_.open(sentence); }
        ~Entry() { h_.close(); }
        Entry(const Entry &) = delete;
        Entry &operator=(const Entry &) = delete;

    private:
        History &h_;
    };
    void open(const QString &sentence);
    void close();
    /// What the open entry did, when it is known only at its end.
    void name(const QString &sentence);

    /// Holds what the files that change before the engine is made were (the locator's OK
    /// writes LastVEKDir and the ledgers it finds missing), for the start's entry: without it
    /// entry 0 would not be the game folder as the selector found it.
    class Early {
    public:
        Early();
        ~Early();
        Early(const Early &) = delete;
        Early &operator=(const Early &) = delete;
    };

    /// Whether the history is kept (not in a dry run, nor where its folder cannot be made).
    bool on() const { return on_; }
    /// "N\tYYYY-MM-DD HH:MM:SS\tsentence", oldest first, entry 0 first.
    QStringList lines();
    /// Brings back the state right after entry `number` (0: where the history begins).
    bool back(int number);
    /// Takes back the latest change not taken back yet, the status line saying what it took
    /// back; false when there is none (told as `undoRefusal` says).
    bool undo();
    /// Why nothing can be taken back now; empty when something can.
    QString undoRefusal();
    /// The entry whose state the files are in: the one `undo` takes back (0: none).
    int current();
    /// At start-up: finishes a going back that a kill cut short.
    void resume();

    /// The engine reads its state from the files again (the ledgers, eaw.ini ...).
    std::function<void()> reread;

    /// How many entries keep their bytes: older ones can no longer be returned to.
    static constexpr int KeptEntries = 500;
    /// The limit in force: `KeptEntries`, or what VEK_HISTORY_KEEP says.
    int keptEntries() const { return kept_; }

private:
    struct Open {
        QString sentence;
        QString status;
        QString options;
        int backTo = -1;
        bool named = false;
        QHash<QString, qsizetype> index;
        QList<HistoryEntry::File> files;
        /// The bytes of the small files before their first change, by their place in `files`:
        /// held here, and written to the store at the end only for a file that changed, so a
        /// start that puts back what it found (or a click that fails on a full disk) writes
        /// none of them.
        QHash<qsizetype, QByteArray> held;
        /// The files a folder's rename carried to another name, by their place in `files`:
        /// each keeps its bytes by a second name, which the file under its new name shares.
        QSet<qsizetype> moved;
    };
    /// Writes what the open entry holds to the store (before a going back writes its plan).
    bool persist(QString *error);
    /// `absent`: the caller knows nothing is at `path`.
    /// `seen`: what the caller just found at `path`.
    void capture(const QString &path, bool inPlace, bool absent = false,
                 const FileIdentity *seen = nullptr);
    /// Before the folder `from` is renamed to `to`: each file below it as it is, and each of
    /// their new names as absent.
    void captureMove(const QString &from, const QString &to);
    /// `path` as the history keeps it: its root and its path there; false for a file it does
    /// not keep.
    bool place(const QString &path, HistoryEntry::Root *root, QString *rel) const;
    QString absolute(HistoryEntry::Root root, const QString &path) const;
    static QString key(HistoryEntry::Root root, const QString &path);
    bool matches(const QString &path, const QString &object) const;
    bool matches(const QString &path, const FileIdentity &now, const QString &object) const;
    /// `seen`: what each target was found to be just before (null: each is looked at).
    bool apply(const QList<HistoryEntry::File> &targets, const QList<FileIdentity> *seen,
               QStringList *kept, QString *error);
    bool putBack(const QList<HistoryEntry::File> &files, QString *error);
    bool run(int number, const QList<HistoryEntry> &entries, bool resuming, const QByteArray &plan);
    void prune(QList<HistoryEntry> &entries);
    int stateOf(const QList<HistoryEntry> &entries, int number) const;
    QString optionsFolder() const;

    SelectorState &s_;
    Reporter &r_;
    HistoryStore store_;
    QString game_;
    QString vek_;
    bool on_ = false;
    int depth_ = 0;
    /// A dry run: the real store is read to foretell a going back, and never written.
    bool foretell_ = false;
    /// The status line's sentence of a going back `what` over `files` files.
    QString told(const QString &what, const QSet<QString> &loadedBefore, qsizetype files,
                 const QStringList &kept) const;
    int kept_ = KeptEntries;
    std::optional<Open> open_;
    /// The entries as read once, with those written since.
    const QList<HistoryEntry> &entries();
    std::optional<QList<HistoryEntry>> entries_;
    void relink(const HistoryEntry::File &file, const FileIdentity &now, const QString &content);
    /// The fingerprint of a small file's bytes (`HistoryEntry::File::content`); empty else.
    QString contentNow(const QString &path, const FileIdentity &now) const;
    /// Whether the file at `path` is still what the history last left there (`last`), or
    /// the same bytes written again.
    bool leftAsIs(const QString &path, const FileIdentity &now,
                  const HistoryEntry::File &last) const;
    /// Where the bytes `object` names are: the store, or the VEK file a reference names.
    QString keptPath(const QString &object) const;
    /// Whether the bytes `object` names are still there as they were kept.
    bool available(const QString &object) const;
    /// A load's copy of a VEK content file, as it was right after the copy.
    struct Copy {
        QString reference;
        FileIdentity copy;
    };
    QHash<QString, Copy> copies_;
    /// What the open entry's own last change of a file left there (a going back's delete, a
    /// copy as its routine saw it), by key, so that its end need not look again.
    QHash<QString, FileIdentity> left_;
    /// The index, read once (rebuilt from the entries when it cannot be read); `indexChanged_`
    /// while it holds an identity not written yet.
    std::optional<HistoryIndex> index_;
    bool indexChanged_ = false;
    HistoryIndex &index();
    /// The reference that keeps the file `path` (key `k`, now `now`) when it is provably still
    /// the copy a load made of a VEK file; empty else.
    QString copyOf(const QString &k, const QString &path, const FileIdentity &now);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileIdentity.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// One change the history recorded: what each file it touched was before it, and what the
/// file was right after it (to tell a later change by someone else).
struct HistoryEntry {
    /// Where a path lies: in the game folder, or a ledger of the VEK folder.
    enum class Root : char { Game = 'g', Vek = 'v' };
    struct File {
        Root root = Root::Game;
        QString path;   ///< relative to its root, '/' between folders
        QString before; ///< "absent", or the name of the kept bytes in the store's objects
        FileIdentity after;
        /// Left by a copy of a VEK content file and untouched since the copy: the reference
        /// (`HistoryStore::reference`) a later delete keeps instead of the bytes. Empty else.
        QString source;
        /// "s-<sha256>" of the bytes right after, for a small file the selector writes whole
        /// (eaw.ini, LastVEKDir, the menus): a later rewrite with the same bytes is another
        /// file by its identity, but no change of anyone's. Empty else.
        QString content;
        bool operator==(const File &o) const { return root == o.root && path == o.path; }
    };
    int number = 0;
    QDateTime time;
    QString sentence;
    /// The options the selector keeps for the game folder (`KeptOptions::text`), before and
    /// after.
    QString optionsBefore;
    QString optionsAfter;
    /// A going back (or an undo) names the entry whose state it brought back; -1 for others.
    int backTo = -1;
    /// The bytes of its files are gone (the store's limit): it can no longer be returned to.
    bool gone = false;
    QList<File> files;

    QByteArray text() const;
    /// Reads an entry written by `text`; false with `error` naming what is wrong. A path that
    /// leads out of its folder (absolute, "..") or an object name with a separator is refused.
    static bool parse(const QByteArray &bytes, HistoryEntry *entry, QString *error);
    /// "HH:MM:SS" of `time`, as the going back's sentence names it.
    QString clock() const { return time.toString(QStringLiteral("HH:mm:ss")); }
};

/// The latest file record of each path the history touched (what the file was right after the
/// last entry that touched it, and the VEK file it is still a copy of), and the last entry's
/// number: what a start needs of the history, in one small file instead of every entry.
struct HistoryIndex {
    int last = 0;
    /// Entries up to this number gave up their bytes (the store's limit).
    int pruned = 0;
    /// By `HistoryIndex::key`; `before` is not kept here.
    QHash<QString, HistoryEntry::File> files;

    static QString key(HistoryEntry::Root root, const QString &path) {
        return QLatin1Char(char(root)) + path;
    }
    void add(const HistoryEntry &entry);
    QByteArray text() const;
    static bool parse(const QByteArray &bytes, HistoryIndex *index);
};

/// The history's own folder, `.vek-history` in the game folder: the entries (one file each,
/// `entries/000012.txt`), their index (`index.txt`), the kept bytes (`objects/`), and the plan of a
/// going back under way
/// (`back.txt`). It lives in the game folder so that a file the selector replaces or deletes
/// can be kept by a second name (a hard link) on the same file system, without copying its
/// bytes. The store is the history's, not the player's: it is written directly, never through
/// `FileHook`, and every listing of the game folder skips it (`hidden`).
class HistoryStore {
public:
    static inline const QString FolderName = QStringLiteral(".vek-history");
    static inline const QString PlanName = QStringLiteral("back.txt");

    explicit HistoryStore(const QString &gameFolder);

    /// Whether the store's folders are there or could be made; false with `error`.
    bool open(QString *error);
    QString folder() const { return folder_; }
    QString objectPath(const QString &object) const;

    /// Keeps the bytes of `path` by a second name: "l-<serial>", or a copy by content where
    /// the file system has no second names. Empty with `error` when neither works.
    QString keepLink(const QString &path, QString *error);
    /// Keeps a copy of the bytes of `path`, one per content: "c-<sha256>".
    QString keepCopy(const QString &path, QString *error);
    /// Keeps `bytes` (what a file held), one copy per content.
    QString keepBytes(const QByteArray &bytes, QString *error);
    /// A reference to the VEK folder's content file `vekPath` as it is now (`identity`): kept
    /// instead of the bytes of a copy of it, so an unload frees the space of its copies.
    static QString reference(const QString &vekPath, const FileIdentity &identity);
    /// The VEK file and its identity then that `object` refers to; false for other objects.
    static bool referred(const QString &object, QString *vekPath, FileIdentity *identity);
    /// The `HistoryEntry::File::content` of `bytes`.
    static QString contentOf(const QByteArray &bytes);
    /// The bytes kept under `object`; false when they are gone.
    bool has(const QString &object) const;
    void drop(const QString &object);

    /// Writes entry `entry` durably (a temporary file, synced, renamed into place).
    bool write(const HistoryEntry &entry, QString *error);
    /// Writes the index durably; read back by `readIndex`, which is false when it is missing,
    /// cannot be read, or is older than the entries (a kill between the two writes).
    bool writeIndex(const HistoryIndex &index, QString *error);
    bool readIndex(HistoryIndex *index) const;
    /// Every entry, oldest first; entries that cannot be read are named in `problems`.
    QList<HistoryEntry> read(QStringList *problems) const;
    /// The entries numbered `first` to `last`, oldest first, each read by its name: a going
    /// back to `first` needs no other, nor a listing of them all.
    QList<HistoryEntry> read(int first, int last, QStringList *problems) const;
    /// When the history began: the time its folder was made (now, for one not made yet).
    QDateTime begun() const;

    /// The plan of a going back: written durably before its first change, removed after.
    bool writePlan(const QByteArray &plan, QString *error);
    QByteArray readPlan() const;
    void removePlan();
    /// Keeps a plan that cannot be read as "back.txt.refused", out of every later start's way.
    void setPlanAside();

    /// The bytes the objects take (a link of a file still elsewhere counts as nothing kept).
    qint64 size() const;

    /// Whether `name` (a file's or folder's name in the game folder) is the store's.
    static bool hidden(const QString &name) {
        return name.compare(FolderName, Qt::CaseInsensitive) == 0;
    }

private:
    bool writeDurably(const QString &path, const QByteArray &bytes, QString *error);
    QString folder_;
    quint64 serial_ = 0;
};

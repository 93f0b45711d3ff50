// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// The journal of the operation that is changing the game folder: one small file in the VEK
/// folder, "Journal.txt", written before the operation touches a game file and removed once
/// the ledgers say what the operation did. A start that finds it knows the last run ended
/// halfway through that operation, and what it was: the folders whose files went in or out,
/// the ledger lines they stand for, the stage of the campaign save exchange, and for an
/// aircraft swap the old bytes of every file the swap rewrites.
///
/// The file is written whole through a temporary file, synced, renamed into place, and the
/// folder synced, so it is either the old record or the new one, also after a power cut. It
/// is UTF-8 text of tab-separated fields (names and paths percent-encoded where they hold a
/// tab, a line end or "%"), one field list a line, CR LF, so a player who opens it can read
/// what the selector was doing.
///
/// A VEK folder is copied and shared, its journal with it, so the file names nothing by an
/// absolute path: the folders of the moves are stored relative to the VEK folder and the files
/// of the backups relative to the game folder ("/" between names). Read back, every name must
/// stay inside its folder (`place`); a record that names anything else is refused whole.
///
/// One record is one player operation, written once when it starts and again at each stage
/// of a mission's save exchange: never once per file, so a load costs what it cost without it.
class Journal {
public:
    static inline const QString FileName = QStringLiteral("Journal.txt");

    /// Stages. `Files`: the folders' files go in and out and the ledgers are rewritten; the
    /// others are the steps of the campaign save exchange, which follow it, and `Over`.
    static inline const QString Files = QStringLiteral("files");
    static inline const QString SavesPark = QStringLiteral("saves-park");   ///< Savedata out
    static inline const QString SavesBring = QStringLiteral("saves-bring"); ///< the store in
    static inline const QString SavesStore = QStringLiteral("saves-store"); ///< unload: out
    static inline const QString SavesDefault =
        QStringLiteral("saves-default"); ///< unload: C-Default back
    /// The operation is over and its ledgers say so; only the game files it kept while it
    /// replaced them are left to delete.
    static inline const QString Over = QStringLiteral("over");

    /// Rules of a move: which files a load leaves out and an unload leaves in.
    static inline const QString ContentRule = QStringLiteral("content");
    static inline const QString SkinRule = QStringLiteral("skin");
    static inline const QString SkinWithoutFltRule = QStringLiteral("skin-without-flt");

    /// One folder whose files go into the game folder (`in`) or out of it.
    struct Move {
        bool in = false;
        QString name;      ///< the loaded-list name of the folder (its ledger line)
        QString rule;      ///< `ContentRule`, `SkinRule` or `SkinWithoutFltRule`
        QString folder;    ///< the folder's path (in the file: relative to the VEK folder)
        QStringList files; ///< the names it holds, for when the folder is gone at the next start
        /// For a folder coming in: whether the game folder held a file of each of `files` (any
        /// case) when the record was written, index by index. A file it did not hold and holds
        /// after a crash is one the load wrote; empty when the record does not say (older
        /// records), and then only the files the load kept tell what it replaced.
        QList<bool> had;
    };

    /// A game file as it was before a swap rewrote it. The file holds the size and SHA-256 of
    /// the bytes beside them, so that bytes damaged or edited by hand are never put back.
    struct Backup {
        QString path; ///< the file's name (in the file: relative to the game folder)
        bool existed = false;
        QByteArray bytes;
        qint64 size = -1;  ///< as read: the size the record gives, -1 when it gives none
        QByteArray sha256; ///< as read: the hash the record gives, empty when it gives none
    };

    struct Record {
        QString operation; ///< what the player did, as told after a crash ("loading ...")
        QString stage = Files;
        QList<Move> moves;    ///< in the order they are made: every `out` before any `in`
        QStringList drops;    ///< ledger lines that go however the operation ends
        QString mission;      ///< the mission ("M") loaded or unloaded, whose saves travel
        QString previous;     ///< the mission the same load took out, or empty
        QStringList held;     ///< Savedata's files when the save exchange began
        int skinSlot = -1;    ///< the SkinsLoaded.txt line a finished skin load sets
        QString aircraft;     ///< a swap: the "P-" folder swapped in
        QStringList replaced; ///< a swap: the aircraft of its slot marked before
        QList<Backup> backups;
        QStringList order; ///< the load order's ledger lines when the operation began
        /// A move in the load order: its ledger lines once the move is made, and the game
        /// files whose owner it changes (copied from their new owner).
        QStringList reorder;
        QStringList recopied;
    };

    /// The record's bytes, its paths written as the record holds them (`write` makes them
    /// relative first).
    static QByteArray toBytes(const Record &record);
    /// Parses a record, its paths as written; false with `reason` when the bytes are not a
    /// whole record.
    static bool fromBytes(const QByteArray &bytes, Record *record, QString *reason);

    /// Checks that the record read acts only inside `modFolder` and `gameFolder`, and makes
    /// the folders of its moves and the files of its backups paths in them. A move's folder is
    /// a relative path in the VEK folder, a backup a relative path in the game folder; an
    /// absolute path (what records held before) counts when it lies inside that folder. The
    /// names of files, held saves and ledger lines are single names, and a mission or its
    /// predecessor names a mission (one with a save store). Nothing may hold "..", and a name
    /// no folder separator. False with `reason` naming the first field that asks for more
    /// (quoting at most a short piece of it); the record is then left as it was.
    ///
    /// Nothing it names is reached through a link: no part of a path below its folder (the
    /// folder of a move, a backup, the save stores of a mission) may be a symbolic link or a
    /// junction, since one would lead the operation out of the folder. A backup names a file an
    /// aircraft swap writes (never the game's program or options file, whose copies the start
    /// keeps as the originals), and its bytes must match the size and hash beside them; a
    /// backup without them (older records) is refused, as nothing shows its bytes are whole.
    static bool place(Record *record, const QString &modFolder, const QString &gameFolder,
                      QString *reason);

    /// Writes `record` as the VEK folder's journal, durably, its paths made relative to the
    /// two folders.
    static bool write(const QString &modFolder, const QString &gameFolder, const Record &record,
                      QString *error);

    enum class Found { None, Record, Unreadable, Refused };
    /// The VEK folder's journal, if any, placed in the two folders (`place`). `Unreadable`
    /// and `Refused` come with `error` naming the file (and for a refused one, the field).
    static Found read(const QString &modFolder, const QString &gameFolder, Record *record,
                      QString *error);

    /// Keeps a refused journal under a name of its own, "Journal.txt.refused" (numbered when
    /// that is taken), so that nothing of it is lost and no start reads it again. `aside` gets
    /// the new path.
    static bool setAside(const QString &modFolder, QString *aside, QString *error);

    /// Removes the journal, durably. A journal that is not there counts as removed.
    static bool remove(const QString &modFolder, QString *error);

    /// The file as it is now, for `Record::backups`; a missing file is a backup too.
    static bool backUp(const QString &path, Backup *backup, QString *error);

    /// The names of the files of `folder` (no subfolders): what a move records.
    static QStringList filesOf(const QString &folder);
};

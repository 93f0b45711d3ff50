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
        QString folder;    ///< the folder's path
        QStringList files; ///< the names it holds, for when the folder is gone at the next start
    };

    /// A game file as it was before a swap rewrote it.
    struct Backup {
        QString path;
        bool existed = false;
        QByteArray bytes;
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
    };

    static QByteArray toBytes(const Record &record);
    /// Parses a record; false with `reason` when the bytes are not a whole record.
    static bool fromBytes(const QByteArray &bytes, Record *record, QString *reason);

    /// Writes `record` as the VEK folder's journal, durably.
    static bool write(const QString &modFolder, const Record &record, QString *error);

    enum class Found { None, Record, Unreadable };
    /// The VEK folder's journal, if any. `Unreadable` comes with `error` naming the file.
    static Found read(const QString &modFolder, Record *record, QString *error);

    /// Removes the journal, durably. A journal that is not there counts as removed.
    static bool remove(const QString &modFolder, QString *error);

    /// The file as it is now, for `Record::backups`; a missing file is a backup too.
    static bool backUp(const QString &path, Backup *backup, QString *error);

    /// The names of the files of `folder` (no subfolders): what a move records.
    static QStringList filesOf(const QString &folder);
};

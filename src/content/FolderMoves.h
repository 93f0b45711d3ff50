// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class SaveExchange;

/// Whole-folder file moves for the campaign save data: every file of a folder (never its
/// subfolders). A save is never lost: a move copies, verifies that the copy holds the same
/// bytes, and only then deletes the source. Each call answers false at the first failure,
/// with `error` naming the file and reason, and leaves the source file of that failure in
/// place. A folder without the owner write bit is read-only: nothing moves out of it or into
/// it. The hidden copies of a `SaveExchange` are never taken for saves.
class FolderMoves {
public:
    /// Moves every file of `from` into `to`, replacing files of the same name (any case).
    static bool moveAll(const QString &from, const QString &to, QString *error);
    /// The same, all or nothing, as `moveAllKeeping`.
    static bool moveAllAsOne(const QString &from, const QString &to, QString *error);

    /// Moves every file of `from` into `to` without losing any file of `to`: a file coming in
    /// is the newer save of its name and takes that name; a file of the same name (any case)
    /// already in `to` is kept under the first name free in both folders, "name (2).ext",
    /// "name (3).ext", ... (the number before the extension, so "game1.sav" becomes
    /// "game1 (2).sav"), unless it holds the same bytes, and then is simply replaced. All or
    /// nothing: every file is copied and checked first (see `SaveExchange`), so a failure
    /// leaves both folders as they were.
    static bool moveAllKeeping(const QString &from, const QString &to, QString *error);

    /// Moves every file of `from` into `to`, where the files already there are the newer saves:
    /// they keep their names, and a file coming in whose name (any case) is taken goes in
    /// under the first numbered name free in both folders ("game1 (2).sav"), unless it holds
    /// the same bytes as the file there, and then is simply dropped. All or nothing, as
    /// `moveAllKeeping`.
    static bool moveAllBeside(const QString &from, const QString &to, QString *error);

    /// Copies every file of `from` into `to`, replacing files of the same name (any case).
    static bool copyAll(const QString &from, const QString &to, QString *error);

    /// Deletes every file of `folder`.
    static bool deleteAll(const QString &folder, QString *error);

    /// The same moves and copies, planned into `exchange` to be made all at once instead of
    /// one by one (see `SaveExchange`). `present` are the names `to` will hold when the
    /// exchange is made (the empty list for a folder the same exchange empties first); a
    /// name of `from` matches one of them without regard to case. Copies a killed exchange
    /// left behind are not planned.
    static void planMoveAll(const QString &from, const QString &to, const QStringList &present,
                            SaveExchange *exchange);
    static void planMoveAllKeeping(const QString &from, const QString &to,
                                   const QStringList &present, SaveExchange *exchange);
    static void planMoveAllBeside(const QString &from, const QString &to,
                                  const QStringList &present, SaveExchange *exchange);
    static void planCopyAll(const QString &from, const QString &to, const QStringList &present,
                            SaveExchange *exchange);

    /// Whether `folder` holds any file.
    static bool hasFiles(const QString &folder);
};

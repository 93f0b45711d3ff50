// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// The ledger files of the VEK folder, through which the selector remembers what is loaded.
/// All are 8-bit text, CR LF, and always rewritten whole.
class Ledgers {
public:
    static inline const QString FoldersLoaded = QStringLiteral("FoldersLoaded.txt");
    static inline const QString PlanesLoaded = QStringLiteral("PlanesLoaded.txt");
    static inline const QString ScriptsLoaded = QStringLiteral("ScriptsLoaded.txt");
    static inline const QString SkinsLoaded = QStringLiteral("SkinsLoaded.txt");
    /// The loaded content folders and skins in the order they were loaded (see `LoadedFiles`).
    static inline const QString LoadOrder = QStringLiteral("LoadOrder.txt");
    /// The names of the files each loaded content folder and skin brought into the game folder
    /// (see `LoadedFiles`), so that they can be taken out after the folder has gone.
    static inline const QString LoadedNames = QStringLiteral("LoadedNames.txt");
    /// Every ledger above.
    static inline const QStringList All = {FoldersLoaded, PlanesLoaded, ScriptsLoaded,
                                           SkinsLoaded,   LoadOrder,    LoadedNames};

    /// Why a folder named `name` cannot be recorded as loaded, or empty when it can. The
    /// ledgers hold 8-bit (Windows-1252) text, one name a line, as the game's era tools read
    /// them: a character outside that code page would be written as "?", so the next start
    /// would no longer find the folder its files came from, and a line break or other control
    /// character would split or spoil the name's line.
    static QString unrecordable(const QString &name);

    /// The message that refuses to load the folder at `path` (`what` says which kind: "the
    /// content folder", "the skin folder" ...), for the reason `unrecordable` gave.
    static QString refusedLoad(const QString &what, const QString &path, const QString &why);

    /// Why the ledgers that record what a click or "Reset Completely" changes (FoldersLoaded.txt,
    /// LoadOrder.txt, LoadedNames.txt, SkinsLoaded.txt, PlanesLoaded.txt) could not all be
    /// rewritten now: the first that could not, named with the reason; empty when all can.
    /// Asked before anything moves: files moved that no ledger records are forgotten at the
    /// next start.
    static QString unwritable(const QString &modFolder);

    /// Creates `name` empty in `folder` unless a file of that name (any case) is there.
    static bool ensureExists(const QString &folder, const QString &name, QString *error);

    /// The names recorded in FoldersLoaded.txt, in file order, empty lines skipped.
    /// A missing file records nothing. A name that stands on more than one line counts once,
    /// where it last stands: a re-load of every line would leave the same folders loaded (the
    /// later of two folders of a group wins). Such names go to `repeated`, each once, in the
    /// order they are kept.
    static QList<QByteArray> readFoldersLoaded(const QString &modFolder,
                                               QList<QByteArray> *repeated = nullptr);

    /// The bytes of FoldersLoaded.txt for a loaded list: each name and CR LF, then one more
    /// CR LF, so even an empty list gives one empty line.
    static QByteArray foldersLoadedBytes(const QList<QByteArray> &names);

    /// Writes FoldersLoaded.txt from the "What is loaded!" text (names each followed by
    /// CR LF) plus the closing line end.
    static bool writeFoldersLoaded(const QString &modFolder, const QByteArray &loadedText,
                                   QString *error);
};

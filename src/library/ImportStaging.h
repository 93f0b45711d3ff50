// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// The hidden folder an import unpacks into, inside the VEK folder (so that putting a folder in
/// place is a rename on one disk), and the renames that put its folders in place all or none.
///
/// The folder is its own record. Until the unpacking is over it holds only unpacked files; a
/// start that finds it so removes it. Before the first rename it gets a `plan` file (the folder it
/// makes for skins, and a line per folder: its number, its place, the folder of that place it
/// replaces); a start that finds a plan undoes
/// every rename it finds made (a folder put in place goes back, a folder set aside comes back)
/// and removes the rest. An import that is over renames it to a second prefix before removing
/// it, so a removal cut short is never mistaken for an import to undo.
class ImportStaging {
public:
    /// The hidden folder of an import under way.
    static inline const QString Prefix = QStringLiteral(".vek-import-");
    /// One whose import is over (or undone): only to be removed.
    static inline const QString Over = QStringLiteral(".vek-imported-");

    explicit ImportStaging(const QString &modFolder) : mod_(modFolder) {}
    ~ImportStaging();
    ImportStaging(const ImportStaging &) = delete;
    ImportStaging &operator=(const ImportStaging &) = delete;

    /// Makes the hidden folder; false with `error` when it cannot be made.
    bool create(QString *error);
    /// Where the files of the `index`-th folder are unpacked.
    QString unpackFolder(int index) const;

    /// Puts the unpacked folders in place: `places` (relative to the VEK folder, "/" between
    /// names), each replacing the folder `replaced` names at the same index (a present
    /// folder's place in its own case, or empty). False with `error` when a rename failed: then
    /// everything is as before and the hidden folder is gone.
    bool commit(const QStringList &places, const QStringList &replaced, QString *error);

    /// Removes the hidden folder and everything in it (an import refused, failed, cancelled
    /// or done).
    void discard();

    /// At start-up: puts right what imports cut short left in `modFolder` (see above). Answers
    /// what the player is to be told.
    static QStringList recover(const QString &modFolder);

private:
    static bool undo(const QString &modFolder, const QString &staging, QString *error);
    static bool removeOver(const QString &modFolder, const QString &staging, QString *error);

    QString mod_;
    QString folder_;
};

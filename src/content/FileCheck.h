// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Ownership.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Checks the game folder against what the loaded folders carry, and puts right what is off:
/// verify, repair, and the restore of shared files after an unload. Each works from one
/// `Ownership` and one listing of the game folder.
class FileCheck {
public:
    /// A game file that is not what its owner brought.
    struct Finding {
        enum Kind { Missing, Changed };
        Kind kind = Missing;
        QString carrier; ///< the name of the folder whose copy belongs there
        QString file;    ///< the file's name as that folder spells it
        QString source;  ///< its path in that folder
        QString target;  ///< the game file's path (the name present, else the folder's)

        /// "missing" or "changed", a tab, the folder, a tab, the file.
        QString line() const;
    };

    /// Every carried file that is missing from `gameFolder` or whose bytes differ from its
    /// owner's copy, in the order of `Ownership::files`. Files that `presenceOnly` accepts are
    /// only looked for: the selector itself changes them after a load (an aircraft swap, the
    /// fuel loads, the cheat byte), so their bytes are not expected to match. A file that
    /// cannot be read is named in `problems` and is not a finding.
    static QList<Finding> verify(const Ownership &ownership, const QString &gameFolder,
                                 const Ownership::Rule &presenceOnly, QStringList *problems);

    /// Copies each finding's source over its target. Answers false when a copy failed (named in
    /// `problems`); `done` gets the findings that were put right.
    static bool repair(const QList<Finding> &findings, QList<Finding> *done, QStringList *problems);

    /// After an unload deleted `names` from `gameFolder`: those that `others` (the folders
    /// still loaded) carry and that are gone are copied back from their owner, so no folder
    /// that stays loaded is left without them. `restored` gets what was copied, each naming
    /// the folder it came from.
    static bool restore(const Ownership &others, const QStringList &names,
                        const QString &gameFolder, QList<Finding> *restored, QStringList *problems);

    /// After a cancelled operation was undone: of `names`, each file `ownership` carries that
    /// is missing from `gameFolder` or whose bytes differ from its owner's copy is copied from
    /// the owner, so the game folder holds again what the loaded folders put there.
    static bool putBack(const Ownership &ownership, const QStringList &names,
                        const QString &gameFolder, QStringList *problems);
};

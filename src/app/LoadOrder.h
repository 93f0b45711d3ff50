// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class LoadedFiles;
class OperationJournal;
class Reporter;
struct SelectorState;

/// The load order as the player sets it: which of the loaded content folders and skins wins a
/// game file that several of them carry. A new load goes last and wins (LoadedFiles keeps the
/// order in LoadOrder.txt); a move puts a loaded folder or skin elsewhere in it.
///
/// A move copies only the game files whose owner changes, each from its new owner; every
/// other game file keeps its bytes (and its inode). It is one operation like a load: recorded
/// in the journal before the first copy, so a crash is finished at the next start; Cancel and
/// a failed copy undo it (the copies made so far get their old owner's bytes back) and leave
/// the order as it was.
class LoadOrder {
public:
    LoadOrder(SelectorState &state, Reporter &reporter, OperationJournal &journal,
              LoadedFiles &loadedFiles)
        : s_(state), r_(reporter), journal_(journal), loadedFiles_(loadedFiles) {}

    /// One loaded content folder or skin. `wins`: the game files it owns that another loaded
    /// one carries too; `loses`: the files it carries that a later one owns.
    struct Row {
        bool skin = false;
        QString name;
        int wins = 0;
        int loses = 0;
    };
    /// The loaded content folders and skins, earliest first (the last wins what it shares),
    /// with the number of game files each wins now and loses to a later one.
    QList<Row> rows();

    enum class Place { Last, First, After, Before };
    /// Moves `name` (kind by the rows) to `place` (relative to `other` for After/Before).
    /// Copies only the files whose owner changes. Answers false (the player told through the
    /// Reporter, nothing changed) when `name` or `other` is not loaded, or on a failure that
    /// was undone. Sets the status line's sentence.
    bool move(const QString &name, Place place, const QString &other = QString());

    /// "Make this one win" on the shared game file `file`: `name` goes right after the file's
    /// owner now, the smallest move that makes it the owner (it passes only the folders loaded
    /// between them). True without a move when it owns the file already.
    bool makeWin(const QString &file, const QString &name);
    /// "Make this one lose": `name`, the owner of `file`, goes right before the carrier that
    /// would own the file if `name` were unloaded (the latest other carrier), the smallest
    /// move that makes it lose the file, and the one the unload's restore would agree with.
    /// True without a move when it does not own the file.
    bool makeLose(const QString &file, const QString &name);

private:
    struct Planned;
    bool planMove(const QString &name, Place place, const QString &other, Planned *plan);
    bool carry(const Planned &plan);

    SelectorState &s_;
    Reporter &r_;
    OperationJournal &journal_;
    LoadedFiles &loadedFiles_;
};

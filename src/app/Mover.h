// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class LoadedFiles;
class OperationJournal;
class Reporter;
struct SelectorState;

/// Moves a content folder's files into the game folder and out again, naming each file in the
/// caption as it goes.
class Mover {
public:
    Mover(SelectorState &state, Reporter &reporter, OperationJournal &journal,
          LoadedFiles &loadedFiles)
        : s_(state), r_(reporter), journal_(journal), loadedFiles_(loadedFiles) {}

    /// Copies a content folder's files into the game folder; nothing while the window loads.
    /// Answers false (the player told) when the copy failed and was undone.
    bool MoveIn(const QString &folder);
    /// Deletes a content folder's files from the game folder, then copies back those that
    /// another folder staying loaded also carries. All or nothing: answers false (the player
    /// told, naming the files and why) when one could not be deleted, and then the folder's
    /// files are all in the game folder still. Files whose name `keep` accepts stay.
    bool MoveOut(const QString &folder, const std::function<bool(const QString &)> &keep = {});
    /// How many files the last `MoveIn` or `MoveOut` copied or deleted.
    int lastMoveCount() const { return moved_; }

private:
    using MoverCall = std::function<bool(const QString &,
                                         const std::function<void(const QString &)> &, QString *)>;
    bool moveFiles(const QString &folder, const MoverCall &call);

    SelectorState &s_;
    Reporter &r_;
    OperationJournal &journal_;
    LoadedFiles &loadedFiles_;
    int moved_ = 0;
};

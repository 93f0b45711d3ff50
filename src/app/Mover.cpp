// SPDX-License-Identifier: GPL-3.0-or-later
#include "Mover.h"

#include "FileMover.h"
#include "LoadedFiles.h"
#include "OperationJournal.h"
#include "Reporter.h"
#include "SelectorState.h"

#include <QFileInfo>

bool Mover::MoveIn(const QString &folder) {
    if (!s_.FormReady)
        return true;
    // The game's own files it replaces are kept until no loaded folder carries them.
    journal_.kept().gameOwn = loadedFiles_.gameOwnRule(folder);
    const bool ok =
        moveFiles(folder, [this](const QString &f, const FileMover::Caption &c, QString *e) {
            return FileMover::MoveIn(f, s_.folders().GameFolder, c, e, FileMover::skipped,
                                     r_.progress(), &journal_.kept());
        });
    journal_.kept().gameOwn = {};
    return ok;
}

bool Mover::MoveOut(const QString &folder, const std::function<bool(const QString &)> &keep) {
    const bool ok = moveFiles(folder, [this, &keep](const QString &f, const FileMover::Caption &c,
                                                    QString *e) {
        // A folder gone since it was loaded is not unloaded by the record's names: the
        // player is told it could not be listed, as before there was a record.
        const QStringList *listed = QFileInfo(f).isDir() ? journal_.listedOut(f) : nullptr;
        return FileMover::MoveOut(f, s_.folders().GameFolder, c, e, keep, r_.progress(), listed);
    });
    // A cancelled unload is undone, not finished: nothing is to be copied back for it.
    if (!r_.cancelled())
        loadedFiles_.restoreAfterUnload(folder);
    return ok;
}

bool Mover::moveFiles(const QString &folder, const MoverCall &call) {
    if (folder == s_.folders().GameFolder)
        return true;
    // The caption names each file while the move runs and comes back afterwards.
    const QString remembered = r_.caption();
    QString error;
    moved_ = 0;
    const bool ok = call(
        folder,
        [this](const QString &c) {
            ++moved_;
            r_.setFileCaption(c);
        },
        &error);
    r_.setCaption(remembered);
    // A cancel is no failure; the operation undoes itself and tells the player.
    if (!ok && !r_.cancelled())
        r_.report(error);
    return ok;
}

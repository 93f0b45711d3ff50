// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompleteReset.h"

#include "CheatCheck.h"
#include "FileList.h"
#include "FileOps.h"
#include "KeptFiles.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "MissionSaves.h"
#include "OperationJournal.h"
#include "Options.h"
#include "Planes.h"
#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "Skins.h"
#include "StrayCleanup.h"
#include "VekFolderCheck.h"

#include <QDir>
#include <QFile>
#include <QScopedValueRollback>

#include <algorithm>
#include <utility>

bool CompleteReset::writeJournal(const QStringList &spared) {
    if (!VekFolderCheck::there(s_, r_))
        return false;
    QString error;
    const QString path = FileList::resolve(s_.ModFolder(), JournalName);
    // The game folder it resets: a VEK folder is copied and shared, and a marker that came
    // with one must not reset another player's game folder.
    QByteArray bytes = QByteArrayLiteral("VEK Selector: Reset Completely is under way; "
                                         "the next start finishes it.\r\n") +
                       s_.GameFolder().toUtf8() + QByteArrayLiteral("\r\n");
    for (const QString &name : spared)
        bytes += name.toUtf8() + QByteArrayLiteral("\r\n");
    if (FileOps::writeAtomic(path, bytes, &error) && FileOps::syncFolder(s_.ModFolder(), &error))
        return true;
    r_.report(error + QStringLiteral(" Nothing was changed: without its journal the "
                                     "selector could not finish the reset after a crash."));
    return false;
}

bool CompleteReset::mayRun() {
    if (!VekFolderCheck::there(s_, r_))
        return false;
    // Each unload would refuse a ledger it cannot rewrite, and the reset would take the marks
    // all the same: the ledgers would still name what the game folder no longer holds.
    QString refusal = Ledgers::unwritable(s_.ModFolder());
    if (!refusal.isEmpty())
        refusal += QStringLiteral(" Nothing was changed: Reset Completely could not have "
                                  "recorded what it took out.");
    // A mission taken out without its saves would leave its progress where the next start
    // takes it for the game's own.
    for (int r = 1; refusal.isEmpty() && r < s_.Unigrid.rowCount(); ++r) {
        const LoadGrid::Row &row = s_.Unigrid.row(r);
        QStringList problems;
        if (row.loaded && s_.Unigrid.letter(r) == QLatin1String("M") &&
            !LoadGrid::storeOf(row.name).isEmpty() &&
            !MissionSaves::checkUnload(s_.ModFolder(), s_.GameFolder(), row.name, &problems))
            refusal = problems.join(QLatin1Char(' ')) +
                      QStringLiteral(" Nothing was changed: Reset Completely cannot take out "
                                     "\"%1\" without its campaign saves, so everything stays "
                                     "loaded and every campaign save is where it was.")
                          .arg(row.name);
    }
    if (refusal.isEmpty())
        return true;
    r_.report(refusal);
    s_.setStatus(QStringLiteral("Reset Completely changed nothing: see the message."));
    return false;
}

void CompleteReset::removeJournal() {
    const QString name = FileList::find(s_.ModFolder(), JournalName);
    QString error;
    if (!name.isEmpty() && !(FileOps::remove(FileList::join(s_.ModFolder(), name), &error) &&
                             FileOps::syncFolder(s_.ModFolder(), &error)))
        r_.report(error);
}

void CompleteReset::resume() {
    const QString name = FileList::find(s_.ModFolder(), JournalName);
    if (name.isEmpty())
        return;
    const QString path = FileList::join(s_.ModFolder(), name);
    QFile file(path);
    QByteArray gameLine;
    if (file.open(QIODevice::ReadOnly)) {
        file.readLine(4096);
        gameLine = file.readLine(4096).trimmed();
        // Names the sweep leaves alone, nothing more: a name that is none is no harm.
        resumedSpared_.clear();
        while (!file.atEnd()) {
            const QString name = QString::fromUtf8(file.readLine(4096).trimmed());
            if (!name.isEmpty())
                resumedSpared_ << name;
        }
    }
    if (gameLine != s_.GameFolder().toUtf8()) {
        // Not this game folder's reset (or not one of ours): nothing is reset, and the file is
        // kept aside so that no later start reads it again.
        // It is only a marker: an older one kept aside may be replaced.
        const QString aside = path + QStringLiteral(".refused");
        r_.report(FileOps::renameFolder(path, aside)
                      ? QStringLiteral("\"%1\" says a reset of another game folder was under "
                                       "way; nothing was reset here. It has been kept as \"%2\".")
                            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(aside))
                      : QStringLiteral("\"%1\" says a reset of another game folder was under "
                                       "way; nothing was reset here. It could not be renamed.")
                            .arg(QDir::toNativeSeparators(path)));
        return;
    }
    run();
    // A cancel has told the player what is still loaded.
    if (!journal_.cancelled())
        r_.report(QStringLiteral("VEK Selector was stopped before it had finished Reset "
                                 "Completely (its journal \"%1\" says so). It has now been "
                                 "finished.")
                      .arg(QDir::toNativeSeparators(FileList::join(s_.ModFolder(), name))));
}

bool CompleteReset::run() {
    s_.touch(Change::Everything);
    journal_.forgetCancel();
    // Before the first change: whatever the reset has not reached when a crash ends it, the
    // next start takes out.
    // The game's own files kept now come back with the unloads, and stay: the sweep is for
    // content, and these no content folder can bring back. A reset run again after a crash
    // knows them from its journal, since the unloads may have put them back already.
    QStringList spared = std::exchange(resumedSpared_, {});
    QStringList keptNow;
    QString keptError;
    if (KeptFiles::findGame(s_.GameFolder(), &keptNow, &keptError))
        for (const QString &name : std::as_const(keptNow))
            if (!spared.contains(name, Qt::CaseInsensitive))
                spared << name;
    if (!mayRun() || !writeJournal(spared))
        return false;
    r_.collectReports();
    // Everything goes: a file shared by two folders is not to be copied back in between.
    const QScopedValueRollback restoring(loadedFiles_.RestoreShared, false);
    const QString remembered = r_.caption();
    r_.setCaption(Reporter::CleaningUp);

    if (!unloadContent() || !unloadSkins()) {
        // Cancelled: the unload it was on has been undone and the ledgers say what is loaded.
        // The rest (strays, eaw.ini, the cheat byte) belongs to a reset that ran to its end;
        // the player stopped this one, so no later start goes on with it.
        removeJournal();
        r_.setCaption(remembered);
        loadedList_.refresh();
        QStringList told = r_.takeReports();
        told.prepend(QStringLiteral("Reset Completely was cancelled. It stopped after undoing the "
                                    "unload it was on; still loaded:\r\n") +
                     (loadedList_.loadedNames().isEmpty()
                          ? QStringLiteral("nothing")
                          : loadedList_.loadedNames().join(QStringLiteral("\r\n"))));
        r_.inform(told.join(QStringLiteral("\r\n\r\n")));
        s_.setStatus(QStringLiteral("Reset Completely was cancelled: see the message."));
        return false;
    }
    planes_.clearAlternatives();

    QSet<QString> folded;
    for (const QString &name : std::as_const(spared))
        folded.insert(FileList::fold(name));
    // A mission that stays loaded keeps its files in the game folder.
    for (int r = 1; r < s_.Unigrid.rowCount(); ++r)
        if (s_.Unigrid.row(r).loaded)
            for (const QString &name : loadedFiles_.recordedNames(s_.Unigrid.row(r).name))
                folded.insert(FileList::fold(name));
    const StrayCleanup::Outcome swept = StrayCleanup::run(s_.GameFolder(), s_.ModFolder(), folded);
    // A read-only file its unload refused is refused again here: told once.
    for (const QString &failure : swept.problems)
        if (!r_.alreadyReported(failure))
            r_.report(failure);

    QString error;
    if (std::any_of(s_.Unigrid.rows.cbegin(), s_.Unigrid.rows.cend(),
                    [](const LoadGrid::Row &row) { return row.loaded; })) {
        // The ledgers name what stays, as after any unload.
        loadedList_.refresh();
    } else {
        loadedList_.clear();
        if (!FileOps::writeAtomic(FileList::resolve(s_.ModFolder(), Ledgers::FoldersLoaded),
                                  QByteArray(), &error))
            r_.report(error);
    }

    options_.restoreOriginal();
    options_.setCheatCheck(false);
    r_.setCaption(remembered);
    if (!CheatCheck::clearAtLoad(s_.GameFolder(), &error))
        r_.report(error);
    loadedList_.resetScriptText();
    // Also after a file that could not be deleted: the reset has done all it can, and told it.
    removeJournal();

    // One message for the whole reset: where the swept files went rides with the problems.
    QStringList problems = r_.takeReports();
    const QString moved = StrayCleanup::notice(swept);
    if (problems.isEmpty()) {
        s_.setStatus(QStringLiteral("Reset Completely took everything out."));
        if (!moved.isEmpty())
            r_.inform(moved);
        return true;
    }
    s_.setStatus(
        QStringLiteral("Reset Completely could not take everything out: see the message."));
    if (!moved.isEmpty())
        problems << moved;
    r_.prompt().fail(QStringLiteral("Reset Completely has finished, but not everything could be "
                                    "taken out of the game folder:\r\n\r\n") +
                     problems.join(QStringLiteral("\r\n\r\n")));
    return false;
}

bool CompleteReset::unloadContent() {
    for (int r = 1; r < s_.Unigrid.rowCount(); ++r) {
        const LoadGrid::Row &row = s_.Unigrid.row(r);
        if (!row.loaded)
            continue;
        if (loadFiles_.click(r))
            continue;
        if (journal_.cancelled())
            return false;
        // The unload stopped (a vanished folder, a file that cannot be deleted): what it
        // could not do has been reported; the mark goes anyway, and a mission's saves still
        // travel, since they live in folders of their own. A mission whose saves cannot travel
        // stays loaded, its files and its ledger line with it: without them the next start
        // would take the game's own saves for the mission's and file its progress among them.
        if (row.loaded && s_.Unigrid.letter(r) == QLatin1String("M") &&
            !LoadGrid::storeOf(row.name).isEmpty()) {
            // Its unload stopped at the saves, before anything moved, and said it stays.
            if (loadFiles_.savesStopped())
                continue;
            QStringList problems;
            if (!MissionSaves::unload(s_.ModFolder(), s_.GameFolder(), row.name, &problems)) {
                problems << QStringLiteral("\"%1\" stays loaded: its campaign saves could not be "
                                           "moved, so Savedata keeps its progress.")
                                .arg(row.name);
                r_.report(problems.join(QLatin1Char(' ')));
                continue;
            }
        }
        loadFiles_.unmarkRow(r);
    }
    return true;
}

bool CompleteReset::unloadSkins() {
    for (int r = 1; r < s_.SK1.rowCount(); ++r) {
        if (!s_.SK1.row(r).loaded)
            continue;
        if (!skins_.activate(r) && journal_.cancelled())
            return false;
        skins_.mark(r, false);
    }
    return true;
}

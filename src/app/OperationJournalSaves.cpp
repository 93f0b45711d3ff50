// SPDX-License-Identifier: GPL-3.0-or-later
// A mission's save exchange, one journal stage per step.
#include "OperationJournal.h"

#include "LoadedFiles.h"
#include "LoadedList.h"
#include "MissionSaves.h"
#include "Reporter.h"
#include "SelectorState.h"

#include <utility>
bool OperationJournal::advance(const QString &stage, const QStringList &held,
                               QStringList *problems) {
    if (!open_)
        return true;
    record_.stage = stage;
    record_.held = held;
    QString error;
    if (Journal::write(s_.ModFolder(), s_.GameFolder(), record_, &error))
        return true;
    // Going on unrecorded could make a start after a crash repeat an earlier stage.
    problems->append(error + QStringLiteral(" The campaign saves were left where they are."));
    return false;
}

bool OperationJournal::prepareMission(bool loading, const QString &previous, const QString &mission,
                                      QStringList *problems) {
    if (!open_)
        return true;
    const QString mod = s_.ModFolder();
    const QString game = s_.GameFolder();
    savesOut_ = SaveExchange();
    savesIn_ = SaveExchange();
    if (loading) {
        savesHeld_ = MissionSaves::held(game);
        MissionSaves::planLoad(mod, game, previous, mission, savesHeld_, &savesOut_, &savesIn_);
    } else {
        savesHeld_.clear();
        MissionSaves::planUnload(mod, game, mission, &savesOut_, &savesIn_);
    }
    savesReady_ = MissionSaves::ready(savesOut_, savesIn_, problems);
    return savesReady_;
}

// Commits the exchange made ready, a journal stage for each half: a start after a crash goes
// on from the half it reached.
bool OperationJournal::commitSaves(bool loading, QStringList *problems) {
    savesReady_ = false;
    QString error;
    bool ok = advance(loading ? Journal::SavesPark : Journal::SavesStore, savesHeld_, problems);
    if (ok && !savesOut_.commit(&error)) {
        problems->append(error);
        ok = false;
    }
    ok = ok && advance(loading ? Journal::SavesBring : Journal::SavesDefault, {}, problems);
    if (ok && !savesIn_.commit(&error)) {
        problems->append(error);
        ok = false;
    }
    if (!ok) {
        savesOut_.discard();
        savesIn_.discard();
        // Half made: the record stays, so the next start finishes the exchange.
        keepRecord_ = open_;
        if (open_)
            problems->append(QStringLiteral("The campaign saves were not all moved; VEK Selector "
                                            "finishes the exchange at its next start."));
    }
    return ok;
}

bool OperationJournal::saves(bool loading, QString stage, QStringList *problems) {
    const QString mod = s_.ModFolder();
    const QString game = s_.GameFolder();
    const QString mission = record_.mission;
    savesOut_ = SaveExchange();
    savesIn_ = SaveExchange();
    if (loading) {
        if (stage == Journal::Files || stage == Journal::SavesPark) {
            // Savedata's files are the ones to park only when the exchange starts; a start
            // after a crash in the middle of it goes on with the names recorded then.
            savesHeld_ = stage == Journal::Files ? MissionSaves::held(game) : record_.held;
            MissionSaves::planLoad(mod, game, record_.previous, mission, savesHeld_, &savesOut_,
                                   &savesIn_);
        } else if (stage == Journal::SavesBring) {
            savesHeld_.clear();
            MissionSaves::planBring(mod, game, mission, &savesIn_);
        } else {
            return false;
        }
    } else {
        savesHeld_.clear();
        if (stage == Journal::Files || stage == Journal::SavesStore)
            MissionSaves::planUnload(mod, game, mission, &savesOut_, &savesIn_);
        else if (stage == Journal::SavesDefault)
            MissionSaves::planFromDefault(mod, game, &savesIn_);
        else
            return false;
    }
    return MissionSaves::ready(savesOut_, savesIn_, problems) && commitSaves(loading, problems);
}

bool OperationJournal::missionLoad(const QString &previous, const QString &mission,
                                   QStringList *problems) {
    if (!open_)
        return MissionSaves::load(s_.ModFolder(), s_.GameFolder(), previous, mission, problems);
    record_.mission = mission;
    record_.previous = previous;
    if (savesReady_)
        return commitSaves(true, problems);
    return saves(true, Journal::Files, problems);
}

bool OperationJournal::missionUnload(const QString &mission, QStringList *problems) {
    if (!open_)
        return MissionSaves::unload(s_.ModFolder(), s_.GameFolder(), mission, problems);
    record_.mission = mission;
    if (savesReady_)
        return commitSaves(false, problems);
    return saves(false, Journal::Files, problems);
}

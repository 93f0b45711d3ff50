// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The skip and keep rules a recorded move names, shared by the journal's record, its undo and
// the recovery at start.

#include "FileMover.h"
#include "Journal.h"
#include "SkinGrid.h"

namespace JournalRules {

inline FileMover::Rule skipRule(const QString &rule) {
    if (rule == Journal::SkinRule)
        return [](const QString &f) { return SkinGrid::skippedOnLoad(f, true); };
    if (rule == Journal::SkinWithoutFltRule)
        return [](const QString &f) { return SkinGrid::skippedOnLoad(f, false); };
    return FileMover::skipped;
}

inline FileMover::Rule keepRule(const QString &rule) {
    if (rule == Journal::SkinRule || rule == Journal::SkinWithoutFltRule)
        return [](const QString &f) { return SkinGrid::keptOnUnload(f); };
    return {};
}

} // namespace JournalRules

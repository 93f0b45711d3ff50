// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Selector.h"
#include "TestFolders.h"

#include <memory>

/// A selector on the test folders, loaded as the window loads it on a later run of the same
/// VEK folder (so the game folder is not swept first).
inline std::unique_ptr<Selector> openSelector(const TestFolders &f, Prompt &prompt) {
    auto s = std::make_unique<Selector>(Folders{f.game(), f.vek(), f.vek()}, prompt);
    s->load();
    return s;
}

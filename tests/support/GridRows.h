// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LoadFiles.h"
#include "Planes.h"
#include "Selector.h"
#include "Skins.h"

/// The row of the aircraft grid that lists `folder`; 0 (the header) when none does.
inline int slotRow(const Selector &s, const QString &folder) {
    for (int r = 1; r < s.G1.rowCount(); ++r)
        if (s.G1.row(r).folder == folder)
            return r;
    return 0;
}

/// The player's click on the row named `name` of the load grid, the skin grid or the aircraft
/// grid, whichever lists it: false when none does, or when the click fails.
inline bool clickRow(Selector &s, const QString &name) {
    if (const int r = s.Unigrid.find(name))
        return s.loadFiles().click(r);
    if (const int r = s.SK1.find(name))
        return s.skins().activate(r);
    const int r = slotRow(s, name);
    return r > 0 && s.planes().click(r);
}

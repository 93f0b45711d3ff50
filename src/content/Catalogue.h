// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LoadGrid.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// Builds the load grid from the VEK folder and prepares the folders the campaign save
/// exchange needs: a store "C-" + rest for every mission folder "M-" + rest, "C-Default" (the
/// game's own saves while a mission is loaded), "Interchange", and the game's "Savedata".
class Catalogue {
public:
    /// The mission whose saves the game's Savedata holds at start-up: the last line of the
    /// loaded list that names a listed mission folder; empty when none does.
    static QString recordedMission(const LoadGrid &grid, const QList<QByteArray> &loadedList);

    /// Fills `grid` and creates the missing folders. The game's saves are then parked in
    /// C-Default, so that Savedata starts empty for the next mission load, unless
    /// `recordedMission` names a loaded mission: its saves are that mission's progress and
    /// stay where the game reads them. Savedata's saves are the game's latest: one of a name
    /// C-Default already holds takes that name there, and the older save is kept as
    /// "name (2)" (see `FolderMoves::moveAllKeeping`). Problems are appended to `problems`.
    static void build(const QString &modFolder, const QString &gameFolder, LoadGrid &grid,
                      const QList<QByteArray> &loadedList, QStringList *problems);
};

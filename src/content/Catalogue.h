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

    /// Fills `grid` and creates the missing folders. Savedata's saves stay where the game reads
    /// them: with `recordedMission` naming a loaded mission they are its progress, and with
    /// none they are the game's own (a mission load parks them in C-Default when it comes to
    /// that). With no mission loaded, saves found in C-Default (parked by an earlier selector)
    /// come back into Savedata beside the game's, which are the newer and keep their names; one
    /// whose name is taken comes in as "name (2)" (see `FolderMoves::moveAllBeside`). Problems
    /// are appended to `problems`.
    static void build(const QString &modFolder, const QString &gameFolder, LoadGrid &grid,
                      const QList<QByteArray> &loadedList, QStringList *problems);
};

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
    /// Fills `grid` and creates the missing folders, then settles whose campaign saves the
    /// game's Savedata holds (`StartSaves::settle`): what that moves is appended to `told`,
    /// what could not be done to `problems`.
    static void build(const QString &modFolder, const QString &gameFolder, LoadGrid &grid,
                      const QList<QByteArray> &loadedList, QStringList *told,
                      QStringList *problems);
};

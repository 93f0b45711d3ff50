// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Folders.h"
#include "FuelGrid.h"
#include "GroupTable.h"
#include "IniState.h"
#include "LoadGrid.h"
#include "SkinGrid.h"
#include "SlotGrid.h"

#include <QString>
#include <QStringList>

#include <functional>

/// What the main window shows and every part of the engine reads and writes: the folders, the
/// grids, the lists and the option controls. The parts hold it by reference; none of them
/// reaches another part through it.
struct SelectorState {
    explicit SelectorState(const Folders &folders) : folders_(folders) {}

    const Folders &folders() const { return folders_; }
    const QString &GameFolder() const { return folders_.GameFolder; }
    const QString &ModFolder() const { return folders_.ModFolder; }
    /// The VEK folder's skin folder ("Skinfolder", in any case).
    QString skinFolder() const;

    bool FormReady = false;
    /// What the player's last load, unload, skin, swap or reset did, in one line for the
    /// window's status line: success needs no box to dismiss.
    QString Status;
    bool SkinEventsOn = false;
    bool Check4 = false;   ///< "Activate the cheatcheck"; unticked at every load
    int FeatureNumber = 0; ///< the chosen keyboard-control feature, 0 for none

    GroupTable groups;      ///< vek.ini
    QStringList List3;      ///< group filter entries
    int List3Index = -1;    ///< selected group filter entry
    LoadGrid Unigrid;       ///< the load grid
    SkinGrid SK1;           ///< the skins of the skin folder
    SlotGrid G1;            ///< the alternative aircraft of the loaded "F" folder
    FuelGrid Fuel;          ///< the fuel loads of its planes.dat
    QStringList List1;      ///< slot filter entries
    int List1Index = -1;    ///< selected slot filter entry
    IniState ini;           ///< the option controls of the "General" page
    QString Text2;          ///< the autoscript text, refreshed with the loaded list
    bool Frame6 = false;    ///< "Alternative Planes:" shown
    QString Label1;         ///< game folder path with a trailing separator
    QString BackgroundPath; ///< the game folder's BACKGROUND picture, or empty
    QString NewpicPath;     ///< the VEK folder's newpic picture
    QStringList File10;     ///< the autoscripts' file names
    int CurrentPage = -1;   ///< index into `Pages`
    bool Check5 = true;     ///< "Include 'flt' files": a skin's .FLT files load with it

    /// Sets `Status` after a click that loaded or unloaded `what` ("A-Eastern Front", "the skin
    /// A-05 Red Tails"): whether it worked, how many files (none told when `files` < 0), and
    /// what it took out of the names loaded `before` that `stillLoaded` no longer answers for.
    void clickStatus(bool ok, bool unloading, const QString &what, int files,
                     const QStringList &before,
                     const std::function<bool(const QString &)> &stillLoaded, const QString &kind);

private:
    Folders folders_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Folders.h"
#include "FuelGrid.h"
#include "GroupTable.h"
#include "IniState.h"
#include "LoadGrid.h"
#include "SkinGrid.h"
#include "SlotGrid.h"

#include <QFlags>
#include <QString>
#include <QStringList>

#include <functional>

/// A piece of what the window shows. Each operation names the pieces it may change, so a front
/// end shows again only those, not the whole window.
enum class Change : unsigned {
    Options = 0x01,     ///< the option controls, keyboard features, music and night ("General")
    LoadGrid = 0x02,    ///< the load grid and its group filter
    Slots = 0x04,       ///< the alternative aircraft, their filter and frame
    Skins = 0x08,       ///< the skin grid and "Include 'flt' files"
    Fuel = 0x10,        ///< the fuel grid
    Ledger = 0x20,      ///< what is loaded: the loaded list, the check of the loaded files
    Autoscripts = 0x40, ///< the script list, the script shown, the text to save
    Status = 0x80,      ///< the status line
    Everything = 0xFF,
};
Q_DECLARE_FLAGS(Changes, Change)
Q_DECLARE_OPERATORS_FOR_FLAGS(Changes)

/// What the main window shows and every part of the engine reads and writes: the folders, the
/// grids, the lists and the option controls. The parts hold it by reference; none of them
/// reaches another part through it.
struct SelectorState {
    explicit SelectorState(const Folders &folders) : folders_(folders.cleaned()) {}

    const Folders &folders() const { return folders_; }
    const QString &GameFolder() const { return folders_.GameFolder; }
    const QString &ModFolder() const { return folders_.ModFolder; }
    /// The VEK folder's skin folder ("Skinfolder", in any case).
    QString skinFolder() const;
    /// When `folder` last changed, in milliseconds, or -1 when that is unknown or too recent
    /// to tell a later change by: a folder changed in the last two seconds may change again
    /// within the same tick of the file system's clock, and keep its time.
    static qint64 listingStamp(const QString &folder);

    /// An operation says what it may change (a load: the load grid, the aircraft, the fuel);
    /// the selector passes it on to the front ends.
    void touch(Changes what) const {
        if (changeListener)
            changeListener(what);
    }
    std::function<void(Changes)> changeListener;

    bool FormReady = false;
    /// What the player's last load, unload, skin, swap or reset did, in one line for the
    /// window's status line: success needs no box to dismiss. Written by `setStatus`.
    QString Status;
    void setStatus(const QString &status) {
        Status = status;
        touch(Change::Status);
    }
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

    /// What the operation under way did besides its task, for the end of the status line
    /// `clickStatus` writes (which empties it).
    QStringList News;

    /// Sets `Status` after a click that loaded or unloaded `what` ("A-Eastern Front", "the skin
    /// A-05 Red Tails"): whether it worked, how many files (none told when `files` < 0), and
    /// what it took out of the names loaded `before` that `stillLoaded` no longer answers for.
    void clickStatus(bool ok, bool unloading, const QString &what, int files,
                     const QStringList &before,
                     const std::function<bool(const QString &)> &stillLoaded, const QString &kind);

private:
    Folders folders_;
    // The skin folder as last looked up, and the VEK folder's stamp then: looked up many
    // times while the window loads, it is read from the VEK folder's listing only when that
    // may have changed.
    mutable QString skinFolder_;
    mutable qint64 skinFolderStamp_ = -1;
};

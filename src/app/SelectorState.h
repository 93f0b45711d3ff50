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

class Autoscripts;
class KeyboardFeatures;
class LoadFiles;
class LoadedList;
class Options;
class Planes;
class Selector;
class Skins;

/// A passkey: only `Owner` can make one, so only `Owner` can call a function that asks for it.
/// The state below hands out its writable pieces this way, each to the one part that changes
/// it.
template <class Owner> class Key {
    friend Owner;
    Key() = default;
};

/// The load grid and what filters it: written by LoadFiles.
struct LoadFilesFields {
    GroupTable groups;   ///< vek.ini
    QStringList List3;   ///< group filter entries
    int List3Index = -1; ///< selected group filter entry
    LoadGrid Unigrid;    ///< the load grid
};

/// The skin grid: written by Skins.
struct SkinsFields {
    SkinGrid SK1;              ///< the skins of the skin folder
    bool Check5 = true;        ///< "Include 'flt' files": a skin's .FLT files load with it
    bool SkinEventsOn = false; ///< whether a click on SK1 shows the skin
};

/// The alternative aircraft and the fuel: written by Planes.
struct PlanesFields {
    SlotGrid G1;         ///< the alternative aircraft of the loaded "F" folder
    FuelGrid Fuel;       ///< the fuel loads of its planes.dat
    QStringList List1;   ///< slot filter entries
    int List1Index = -1; ///< selected slot filter entry
    bool Frame6 = false; ///< "Alternative Planes:" shown
};

/// The option controls of the "General" page: written by Options.
struct OptionsFields {
    IniState ini;        ///< the option controls of the "General" page
    bool Check4 = false; ///< "Activate the cheatcheck"; unticked at every load
};

/// The chosen keyboard-control feature: written by KeyboardFeatures.
struct FeaturesFields {
    int FeatureNumber = 0; ///< the chosen keyboard-control feature, 0 for none
};

/// The text to save as an autoscript, which starts as the loaded list: written by LoadedList.
struct LoadedListFields {
    QString Text2; ///< the autoscript text, refreshed with the loaded list
};

/// The autoscript list: written by Autoscripts.
struct AutoscriptsFields {
    QStringList File10; ///< the autoscripts' file names
};

/// What the load sequence sets up and the page shown: written by Selector.
struct SelectorFields {
    bool FormReady = false;
    QString Label1;         ///< game folder path with a trailing separator
    QString BackgroundPath; ///< the game folder's BACKGROUND picture, or empty
    QString NewpicPath;     ///< the VEK folder's newpic picture
    int CurrentPage = -1;   ///< index into `Pages`
};

/// What the main window shows: the folders, the grids, the lists and the option controls.
/// Everyone reads it; each piece has one owner, the part that changes it, which alone gets it
/// writable (`own` with its `Key`). Another part, or a front end, changes a piece by calling
/// its owner. Status and News are the state's own, written by its status calls.
///
/// | Pieces                                      | Owner            |
/// |---------------------------------------------|------------------|
/// | groups, List3, List3Index, Unigrid          | LoadFiles        |
/// | SK1, Check5, SkinEventsOn                   | Skins            |
/// | G1, Fuel, List1, List1Index, Frame6         | Planes           |
/// | ini, Check4                                 | Options          |
/// | FeatureNumber                               | KeyboardFeatures |
/// | Text2                                       | LoadedList       |
/// | File10                                      | Autoscripts      |
/// | FormReady, Label1, BackgroundPath, NewpicPath, CurrentPage | Selector |
/// | Status, News                                | SelectorState    |
struct SelectorState {
    explicit SelectorState(const Folders &folders) : folders_(folders.cleaned()) {}
    // The readers below refer to this object's own fields.
    SelectorState(const SelectorState &) = delete;
    SelectorState &operator=(const SelectorState &) = delete;

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

    /// The owners' writable pieces.
    LoadFilesFields &own(Key<LoadFiles>) { return loadFiles_; }
    SkinsFields &own(Key<Skins>) { return skins_; }
    PlanesFields &own(Key<Planes>) { return planes_; }
    OptionsFields &own(Key<Options>) { return options_; }
    FeaturesFields &own(Key<KeyboardFeatures>) { return features_; }
    LoadedListFields &own(Key<LoadedList>) { return loadedList_; }
    AutoscriptsFields &own(Key<Autoscripts>) { return autoscripts_; }
    SelectorFields &own(Key<Selector>) { return selector_; }

    /// Sets `Status` (what the player's last load, unload, skin, swap or reset did, in one
    /// line for the window's status line: success needs no box to dismiss).
    void setStatus(const QString &status) {
        status_ = status;
        touch(Change::Status);
    }
    /// Adds to `News`: what the operation under way did besides its task.
    void addNews(const QString &line) { news_ << line; }

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
    LoadFilesFields loadFiles_;
    SkinsFields skins_;
    PlanesFields planes_;
    OptionsFields options_;
    FeaturesFields features_;
    LoadedListFields loadedList_;
    AutoscriptsFields autoscripts_;
    SelectorFields selector_;
    QString status_;
    QStringList news_;

public:
    // Read access for everyone, under the window's control names.
    const bool &FormReady = selector_.FormReady;
    /// What the player's last load, unload, skin, swap or reset did (`setStatus`).
    const QString &Status = status_;
    const bool &SkinEventsOn = skins_.SkinEventsOn;
    const bool &Check4 = options_.Check4;
    const int &FeatureNumber = features_.FeatureNumber;
    const GroupTable &groups = loadFiles_.groups;
    const QStringList &List3 = loadFiles_.List3;
    const int &List3Index = loadFiles_.List3Index;
    const LoadGrid &Unigrid = loadFiles_.Unigrid;
    const SkinGrid &SK1 = skins_.SK1;
    const SlotGrid &G1 = planes_.G1;
    const FuelGrid &Fuel = planes_.Fuel;
    const QStringList &List1 = planes_.List1;
    const int &List1Index = planes_.List1Index;
    const IniState &ini = options_.ini;
    const QString &Text2 = loadedList_.Text2;
    const bool &Frame6 = planes_.Frame6;
    const QString &Label1 = selector_.Label1;
    const QString &BackgroundPath = selector_.BackgroundPath;
    const QString &NewpicPath = selector_.NewpicPath;
    const QStringList &File10 = autoscripts_.File10;
    const int &CurrentPage = selector_.CurrentPage;
    const bool &Check5 = skins_.Check5;
    /// What the operation under way did besides its task, for the end of the status line
    /// `clickStatus` writes (which empties it).
    const QStringList &News = news_;
};

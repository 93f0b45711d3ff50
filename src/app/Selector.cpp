// SPDX-License-Identifier: GPL-3.0-or-later
#include "Selector.h"

#include "Autoscripts.h"
#include "BytePatch.h"
#include "Catalogue.h"
#include "CheatCheck.h"
#include "CompleteReset.h"
#include "ContentImport.h"
#include "FileList.h"
#include "FileMover.h"
#include "FileOps.h"
#include "IniOptions.h"
#include "KeyboardFeatures.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "Mover.h"
#include "MusicButtons.h"
#include "NightSwitch.h"
#include "OperationJournal.h"
#include "Options.h"
#include "Planes.h"
#include "Progress.h"
#include "Prompt.h"
#include "Skins.h"
#include "Slots.h"
#include "StrayCleanup.h"
#include "Text8.h"
#include "TextFile.h"
#include "WindowCommands.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

#include <utility>

Selector::Selector(const Folders &folders, Prompt &prompt, QObject *parent)
    : QObject(parent), SelectorState(folders), reporter_(prompt) {
    reporter_.setFileCaption(Caption);
    reporter_.captionChanged = [this](const QString &caption) { Q_EMIT captionChanged(caption); };
    changeListener = [this](Changes what) { Q_EMIT changed(what); };
    SelectorState &state = *this;
    Reporter &r = reporter_;
    loadedFiles_ = std::make_unique<LoadedFiles>(state, r);
    loadedList_ = std::make_unique<LoadedList>(state, *loadedFiles_);
    options_ = std::make_unique<Options>(state, r);
    journal_ = std::make_unique<OperationJournal>(state, r, *loadedFiles_, *loadedList_);
    // A ledger that cannot be written undoes the operation under way.
    loadedFiles_->ledgerFailed = [this](const QString &error) { journal_->ledgerFailed(error); };
    loadedList_->ledgerFailed = loadedFiles_->ledgerFailed;
    mover_ = std::make_unique<Mover>(state, r, *journal_, *loadedFiles_);
    planes_ = std::make_unique<Planes>(state, r, *journal_, *loadedList_, *options_);
    skins_ = std::make_unique<Skins>(state, r, *journal_, *loadedFiles_, *loadedList_, *planes_);
    loadFiles_ = std::make_unique<LoadFiles>(state, r, *journal_, *loadedList_, *options_, *mover_,
                                             *planes_);
    features_ = std::make_unique<KeyboardFeatures>(state, r, *options_);
    music_ = std::make_unique<MusicButtons>(state, r);
    commands_ = std::make_unique<WindowCommands>(
        state, r, *options_, *loadedList_, [this] { Q_EMIT minimiseRequested(); },
        [this] { Q_EMIT restoreRequested(); });
    completeReset_ = std::make_unique<CompleteReset>(state, r, *journal_, *loadedFiles_,
                                                     *loadedList_, *options_, *loadFiles_, *skins_);
    autoscripts_ = std::make_unique<Autoscripts>(state, r, *journal_, *loadedList_, *loadFiles_,
                                                 *planes_, *skins_, *completeReset_);
    contentImport_ = std::make_unique<ContentImport>(state, r, *loadFiles_, *skins_);
}

Selector::~Selector() = default;

QString Selector::credits() {
    return QStringLiteral("The VEK concept: the VEK team and its many contributors\r\n"
                          "Selector programming: the VEK Selector developers\r\n"
                          "Click here for Support, Links and Downloads");
}

QList<Selector::LoadStep> Selector::loadSteps() {
    // Steps that belong to features not built yet are absent; their numbers are kept so a
    // feature slots in at its place. There is no step 13 (a standing listing of the game
    // folder): every lookup of a game file asks the folder itself, so nothing goes stale.
    return {
        {1, "clear ApplyFeature", [this] { ini.ApplyFeature = false; }},
        {3, "centre the window", [this] { Q_EMIT centreRequested(); }},
        {5, "remember the caption", [this] { rememberedCaption_ = reporter_.caption(); }},
        {6, "clean up strays after a change of VEK folder", [this] { cleanUpStrays(); }},
        {7, "remember the VEK folder in LastVEKDir", [this] { writeLastVekDir(); }},
        {8, "clear FormReady and SkinEventsOn",
         [this] {
             FormReady = false;
             SkinEventsOn = false;
         }},
        {9, "group filter from vek.ini", [this] { readGroupTable(); }},
        {10, "clear the cheat-check byte of flt.cdf", [this] { options_->clearCheatByte(); }},
        {11, "clear FormReady and the resolution options",
         [this] {
             FormReady = false;
             if (ini.resolution >= 0 && ini.resolution <= 5)
                 ini.resolution = -1;
         }},
        {12, "game folder label", [this] { Label1 = folders().GameFolder + QDir::separator(); }},
        {14, "finish or undo an operation a crash cut short", [this] { journal_->recover(); }},
        {15, "keep the original eaw.ini and eaw.exe, read the options",
         [this] {
             QStringList problems;
             IniOptions::SaveOriginals(folders().GameFolder, folders().ModFolder, &problems);
             IniOptions::ReadIniOptions(folders().GameFolder, ini, &problems);
             reporter_.tell(problems);
         }},
        {16, "content catalogue",
         [this] {
             modListed_ = listingStamp(folders().ModFolder);
             buildCatalogue();
         }},
        // Step 17 pointed a folder list at the skin folder for step 19; the skin grid finds
        // the folder itself.
        {18, "slot filter list", [this] { List1 = Slots::filterEntries(); }},
        {19, "skin grid",
         [this] {
             skinsListed_ = listingStamp(skinFolder());
             skins_->fill();
         }},
        {20, "re-load what FoldersLoaded.txt records",
         [this] {
             reloadLoadedList();
             // Now that the grids say who carries what, a recovered unload's shared files,
             // and the game's own files that no loaded folder replaces any more.
             journal_->settle();
         }},
        {21, "restore the original eaw.ini and eaw.exe", [this] { options_->Restore(); }},
        {22, "write eaw.ini", [this] { options_->inisave(); }},
        {23, "background picture", [this] { findBackground(); }},
        {25, "music buttons", [this] { music_->fill(); }},
        {26, "keyboard-control features from KC", [this] { features_->setUp(); }},
        {27, "write eaw.ini again", [this] { options_->inisave(); }},
        {28, "newpic",
         [this] { NewpicPath = FileList::resolve(folders().ModFolder, QStringLiteral("newpic")); }},
        {29, "autoscript list", [this] { autoscripts_->refresh(); }},
        {30, "show the first page", [this] { CurrentPage = 0; }},
        {31, "select ALL slots", [this] { planes_->filter(0); }},
        {32, "select Show ALL", [this] { loadFiles_->filter(0); }},
        {33, "ready", [this] { FormReady = true; }},
        // After a recovery the ledger's lines may stand in another order than the grids'.
        {34, "rewrite FoldersLoaded.txt after a recovery",
         [this] {
             if (journal_->recovered())
                 loadedList_->refresh();
         }},
        {35, "finish a Reset Completely a crash cut short", [this] { completeReset_->resume(); }},
        // The folders the sequence made after its catalogue (the campaign stores, C-Default,
        // Interchange) are rows from the first start, as on every later one: a folder watcher's
        // first look then moves no row under the pointer. A folder unchanged since its listing
        // is not read a second time.
        {36, "read the folders again",
         [this] {
             if (listingStamp(folders().ModFolder) != modListed_ || modListed_ < 0)
                 loadFiles_->rescan();
             if (listingStamp(skinFolder()) != skinsListed_ || skinsListed_ < 0)
                 skins_->rescan();
         }},
    };
}

void Selector::newsOnStatusLine() {
    reporter_.newsSink = [this](const QString &line) { News << line; };
}

void Selector::rescan() {
    if (journal_->underWay())
        return;
    loadFiles_->rescan();
    skins_->rescan();
}

void Selector::load() {
    reporter_.startLoad();
    for (const LoadStep &step : loadSteps())
        step.run();
    reporter_.endLoad();
    touch(Change::Everything);
}

void Selector::cleanUpStrays() {
    // Exact comparison: the same folder spelt in another case counts as another folder.
    if (folders().ModFolder == folders().LastModFolder)
        return;
    reporter_.setCaption(CleaningUp);
    const StrayCleanup::Outcome swept =
        StrayCleanup::run(folders().GameFolder, folders().ModFolder);
    reporter_.setCaption(rememberedCaption_);
    if (!swept.problems.isEmpty())
        reporter_.report(
            QStringLiteral("Some files of the previous VEK folder could not be removed "
                           "from the game folder:\r\n") +
            swept.problems.join(QStringLiteral("\r\n")));
    // Told with the other start-up messages, in the one message the load ends with.
    if (const QString told = StrayCleanup::notice(swept); !told.isEmpty())
        reporter_.report(told);
}

void Selector::writeLastVekDir() {
    QString error;
    const QString path = FileList::resolve(folders().GameFolder, QStringLiteral("LastVEKDir"));
    if (!TextFile::writeLines(path, {Text8::fromUnicode(folders().ModFolder)}, &error))
        reporter_.report(error);
}

void Selector::readGroupTable() {
    List3 = {QStringLiteral("Show ALL"), QStringLiteral("Show Selections")};
    QString problem;
    if (!groups.read(folders().ModFolder, &problem))
        reporter_.report(problem);
    List3 += groups.descriptions;
}

void Selector::buildCatalogue() {
    QStringList problems;
    Catalogue::build(folders().ModFolder, folders().GameFolder, Unigrid,
                     Ledgers::readFoldersLoaded(folders().ModFolder), &problems);
    reporter_.tell(problems);
}

void Selector::reloadLoadedList() {
    QString label8;
    Text2.clear();
    // A ledger may be long (a damaged or hostile one, hundreds of thousands of lines): each
    // line finds its rows in indexes made once, never by a pass over a grid. The load grid's
    // rows stay while the window loads; the aircraft grid is new after each "F" folder.
    QHash<QString, QList<int>> rowsByName;
    for (int r = 1; r < Unigrid.rowCount(); ++r)
        rowsByName[Unigrid.row(r).name] << r;
    QHash<QString, QList<int>> slotsByFolder = G1.rowsByFolder();
    QStringList names;
    for (const QByteArray &line : Ledgers::readFoldersLoaded(folders().ModFolder)) {
        const QString name = Text8::toUnicode(line);
        names << name;
        label8 += name + QStringLiteral("\r\n");
        if (const auto rows = rowsByName.constFind(name); rows != rowsByName.cend())
            if (loadFiles_->reloadRows(*rows))
                slotsByFolder = G1.rowsByFolder();
        if (const auto named = slotsByFolder.constFind(name); named != slotsByFolder.cend())
            G1.markRows(*named);
    }
    Text2 = label8;
    loadedList_->set(label8);
    // Nothing the load grid's clicks do while the window loads reads the skin marks.
    SK1.markLines(names);
    loadedFiles_->startUp();
}

void Selector::findBackground() {
    // A name of that spelling in any case, without extension; the last one listed wins.
    BackgroundPath.clear();
    const QStringList names = FileList::files(folders().GameFolder, QStringLiteral("BACKGROUND"));
    if (!names.isEmpty())
        BackgroundPath = FileList::join(folders().GameFolder, names.last());
}

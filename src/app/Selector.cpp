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
#include "History.h"
#include "IniOptions.h"
#include "Journal.h"
#include "KeyboardFeatures.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "LoadOrder.h"
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
#include "SharedListing.h"
#include "SkinGrid.h"
#include "Skins.h"
#include "Slots.h"
#include "StartSaves.h"
#include "StrayCleanup.h"
#include "Text8.h"
#include "TextFile.h"
#include "WindowCommands.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// What a load of `folder` copies into the game folder, by the copy rule `skip`.
QStringList brought(const QString &folder, bool (*skip)(const QString &)) {
    QStringList names = FileList::files(folder);
    names.removeIf(skip);
    return names;
}

} // namespace

#include <utility>

Selector::Selector(const Folders &folders, Prompt &prompt, QObject *parent)
    : QObject(parent), SelectorState(folders), reporter_(prompt) {
    reporter_.setFileCaption(Caption);
    reporter_.captionChanged = [this](const QString &caption) { Q_EMIT captionChanged(caption); };
    changeListener = [this](Changes what) { Q_EMIT changed(what); };
    SelectorState &state = *this;
    Reporter &r = reporter_;
    history_ = std::make_unique<History>(state, r);
    history_->reread = [this] { reread(); };
    loadedFiles_ = std::make_unique<LoadedFiles>(state, r);
    loadedList_ = std::make_unique<LoadedList>(state, *loadedFiles_);
    options_ = std::make_unique<Options>(state, r);
    journal_ = std::make_unique<OperationJournal>(state, r, *loadedFiles_, *loadedList_);
    // A ledger that cannot be written undoes the operation under way.
    loadedFiles_->ledgerFailed = [this](const QString &error) { journal_->ledgerFailed(error); };
    loadedList_->ledgerFailed = loadedFiles_->ledgerFailed;
    loadedFiles_->listed = [this](const QString &folder) { return journal_->listedIn(folder); };
    mover_ = std::make_unique<Mover>(state, r, *journal_, *loadedFiles_);
    loadOrder_ = std::make_unique<LoadOrder>(state, r, *journal_, *loadedFiles_);
    planes_ = std::make_unique<Planes>(state, r, *journal_, *loadedList_, *options_);
    skins_ = std::make_unique<Skins>(state, r, *journal_, *loadedFiles_, *loadedList_, *planes_);
    loadFiles_ = std::make_unique<LoadFiles>(state, r, *journal_, *loadedList_, *options_, *mover_,
                                             *planes_);
    features_ = std::make_unique<KeyboardFeatures>(state, r, *options_);
    music_ = std::make_unique<MusicButtons>(state, r);
    commands_ = std::make_unique<WindowCommands>(
        state, r, *options_, *loadedList_, [this] { Q_EMIT minimiseRequested(); },
        [this] { Q_EMIT restoreRequested(); });
    completeReset_ =
        std::make_unique<CompleteReset>(state, r, *journal_, *loadedFiles_, *loadedList_, *options_,
                                        *loadFiles_, *skins_, *planes_);
    autoscripts_ = std::make_unique<Autoscripts>(state, r, *journal_, *loadedList_, *loadFiles_,
                                                 *planes_, *skins_, *completeReset_);
    contentImport_ = std::make_unique<ContentImport>(state, r, *loadFiles_, *skins_);
    // Parts below a grid's owner that change what the grid shows do it through the owner.
    planes_->skinsFiltered = [this](int entry, const QString &entryText) {
        skins_->filter(entry, entryText);
    };
    loadedList_->colourLoaded = [this] { loadFiles_->colourLoaded(); };
    journal_->loadUndone = [this](const QString &name, bool skin) {
        if (!skin)
            loadFiles_->unmark(name);
        else if (const int row = SK1.find(name); row > 0)
            skins_->mark(row, false);
    };
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
        {1, "clear ApplyFeature", [this] { options_->clearApplyFeature(); }},
        {3, "centre the window", [this] { Q_EMIT centreRequested(); }},
        {5, "remember the caption", [this] { rememberedCaption_ = reporter_.caption(); }},
        {6, "clean up strays after a change of VEK folder", [this] { cleanUpStrays(); }},
        {7, "remember the VEK folder in LastVEKDir", [this] { writeLastVekDir(); }},
        {8, "clear FormReady and SkinEventsOn",
         [this] {
             own_.FormReady = false;
             skins_->ignoreClicks();
         }},
        {9, "group filter from vek.ini", [this] { loadFiles_->readGroupTable(); }},
        {10, "clear the cheat-check byte of flt.cdf", [this] { options_->clearCheatByte(); }},
        {11, "clear FormReady and the resolution options",
         [this] {
             own_.FormReady = false;
             options_->clearResolution();
         }},
        {12, "game folder label",
         [this] { own_.Label1 = folders().GameFolder + QDir::separator(); }},
        {13, "remove what writes cut short left", [this] { removeCutWrites(); }},
        {14, "finish or undo an operation a crash cut short", [this] { journal_->recover(); }},
        {15, "keep the original eaw.ini and eaw.exe, read the options",
         [this] {
             QStringList problems;
             IniOptions::SaveOriginals(folders().GameFolder, folders().ModFolder, &problems);
             options_->readIniOptions(&problems);
             reporter_.tell(problems);
         }},
        {16, "content catalogue",
         [this] {
             modListed_ = listingStamp(folders().ModFolder);
             loadFiles_->buildCatalogue();
         }},
        // Step 17 pointed a folder list at the skin folder for step 19; the skin grid finds
        // the folder itself.
        {18, "slot filter list", [this] { planes_->fillFilter(); }},
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
        {21, "restore the original eaw.ini and eaw.exe, then the player's options",
         [this] {
             options_->restoreKept();
             // From here the window counts as ready: the rewrites that follow are made.
             own_.FormReady = true;
         }},
        {22, "write eaw.ini", [this] { options_->inisave(); }},
        {23, "background picture", [this] { findBackground(); }},
        {25, "music buttons", [this] { music_->fill(); }},
        {26, "keyboard-control features from KC", [this] { features_->setUp(); }},
        {27, "write eaw.ini again", [this] { options_->inisave(); }},
        {28, "newpic",
         [this] {
             own_.NewpicPath = FileList::resolve(folders().ModFolder, QStringLiteral("newpic"));
         }},
        {29, "autoscript list", [this] { autoscripts_->refresh(); }},
        {30, "show the first page", [this] { own_.CurrentPage = 0; }},
        {31, "select ALL slots", [this] { planes_->filter(0); }},
        {32, "select Show ALL", [this] { loadFiles_->filter(0); }},
        {33, "ready", [this] { own_.FormReady = true; }},
        // After a recovery, or one cut short once its journal was gone, the ledger's lines may
        // stand in another order than the grids', and lines of the re-load that marked nothing
        // leave it.
        {34, "rewrite FoldersLoaded.txt after a recovery or a re-load that dropped lines",
         [this] {
             if (journal_->recovered() || ledgerDropped_ || !loadedList_->inGridOrder())
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

void Selector::offerNewVekDirectory() {
    reporter_.newVekDirectory = [this] { Q_EMIT newVekDirectoryRequested(); };
}

void Selector::newsOnStatusLine() {
    reporter_.newsSink = [this](const QString &line) { addNews(line); };
}

void Selector::rescan() {
    if (journal_->underWay())
        return;
    loadFiles_->rescan();
    skins_->rescan();
}

void Selector::load() {
    // The steps ask about the game and VEK folders many times over; each folder is read once
    // for all of them (kept true by every change the steps make, dropped at the end).
    const SharedListing::Scope listing;
    reporter_.startLoad();
    // A going back a kill cut short is finished before anything else reads the folders.
    history_->resume();
    {
        // What the start changes (the sweep of another VEK folder's files, eaw.ini and
        // the ledgers put in order) is a change like any other.
        History::Entry entry(
            *history_, QStringLiteral("Start: the game folder and the ledgers put in order."));
        for (const LoadStep &step : loadSteps())
            step.run();
        if (swept_)
            history_->name(QStringLiteral("Start with the VEK folder \"%1\": the files of the "
                                          "previous VEK folder swept out of the game folder.")
                               .arg(QDir::toNativeSeparators(folders().ModFolder)));
    }
    reporter_.endLoad();
    touch(Change::Everything);
}

void Selector::reread() {
    // As while the window loads: the re-load only marks what the ledgers say is loaded.
    own_.FormReady = false;
    skins_->ignoreClicks();
    loadFiles_->readGroupTable();
    QStringList problems;
    options_->readIniOptions(&problems);
    features_->forget();
    loadFiles_->buildCatalogue();
    planes_->fillFilter();
    skins_->fill();
    reloadLoadedList();
    music_->fill();
    autoscripts_->refresh();
    planes_->filter(0);
    loadFiles_->filter(0);
    own_.FormReady = true;
    reporter_.tell(problems);
    touch(Change::Everything);
}

bool Selector::sameVekFolderAsLast() const {
    const Folders &f = folders();
    if (f.ModFolder == f.LastModFolder)
        return true;
    // The folder of the last start is still there: the same folder reached by another path
    // (a symbolic link, another spelling) is no change; any other folder is one.
    if (!f.LastModFolder.isEmpty() && QFileInfo(f.LastModFolder).isDir())
        return FileOps::sameFolder(f.ModFolder, f.LastModFolder);
    // LastVEKDir is gone, unreadable or names a folder that is not there (the two folders
    // moved together): this VEK folder is the last one when the game folder holds every file
    // the folders its ledger records as loaded brought. A start that cannot tell sweeps, as at
    // a first start; one that wrongly finds the folder the same sweeps nothing, so no file is
    // lost either way.
    const FileList::Index game(FileList::files(f.GameFolder));
    bool any = false;
    for (const QByteArray &line : Ledgers::readFoldersLoaded(f.ModFolder)) {
        const QString folder = FileList::resolve(f.ModFolder, Text8::toUnicode(line));
        if (line.isEmpty() || !QFileInfo(folder).isDir())
            continue;
        for (const QString &name : brought(folder, FileMover::skipped)) {
            if (game.find(name).isEmpty())
                return false;
            any = true;
        }
    }
    return any;
}

void Selector::cleanUpStrays() {
    if (sameVekFolderAsLast())
        return;
    swept_ = true;
    // Before LastVEKDir names the new VEK folder: a start cut short comes back here.
    QStringList told;
    QStringList problems;
    StartSaves::sendHome(folders().GameFolder, folders().LastModFolder, &told, &problems);
    reporter_.tell(problems);
    reporter_.tell(told);
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

void Selector::removeCutWrites() {
    if (!folders().AfterCut)
        return;
    // The files the selector writes whole in each folder, under a temporary name first.
    static const QStringList game = {QStringLiteral("LastVEKDir"),  QStringLiteral("eaw.ini"),
                                     QStringLiteral("eaw.exe"),     QStringLiteral("planes.dat"),
                                     QStringLiteral("pnames.str"),  QStringLiteral("loadout.dat"),
                                     QStringLiteral("picplna.mnu"), QStringLiteral("picplnb.mnu"),
                                     QStringLiteral("picplng.mnu"), QStringLiteral("KC")};
    static const QStringList mod =
        Ledgers::All + QStringList{Journal::FileName, CompleteReset::JournalName,
                                   QStringLiteral("eaw.ini"), QStringLiteral("eaw.exe")};
    QStringList problems;
    FileOps::removeCutWrites(folders().GameFolder, game, &problems);
    FileOps::removeCutWrites(folders().ModFolder, mod, &problems);
    reporter_.tell(problems);
}

void Selector::writeLastVekDir() {
    QString error;
    const QString path = FileList::resolve(folders().GameFolder, QStringLiteral("LastVEKDir"));
    if (!TextFile::writeLinesIfChanged(path, {Text8::fromUnicode(folders().ModFolder)}, &error))
        reporter_.report(error);
}

namespace {

// A long list would hide what the message says: the first names, and how many more.
QString listed(const QStringList &names) {
    constexpr qsizetype Shown = 20;
    QStringList out = names.mid(0, Shown);
    if (names.size() > Shown)
        out << QStringLiteral("... and %1 more").arg(names.size() - Shown);
    return out.join(QStringLiteral("\r\n"));
}

bool skinSkipped(const QString &name) {
    return SkinGrid::skippedOnLoad(name, true);
}

// The copy rule of a skin, for the question whether its files are still there: a skin loaded
// without its .FLT files is whole without them.
bool skinSkippedWithoutFlt(const QString &name) {
    return SkinGrid::skippedOnLoad(name, false);
}

} // namespace

/// What the start-up re-load works from and finds, step by step.
struct Selector::Reload {
    /// The ledger's names, each once, in its order; a name that matches a row only in another
    /// case is spelled as the row is.
    QStringList names;
    QList<QByteArray> repeated; // names on more than one line: re-loaded once, told once
    /// The load grid's rows of each name, found by one lookup a line: a ledger may be long (a
    /// damaged or hostile one, hundreds of thousands of lines), and the grid as long.
    QHash<QString, QList<int>> rowsByName;
    QList<bool> skinLines; // the lines that marked a skin
    /// Folders (paths) and skins marked in the ledger whose files the sweep after a change of
    /// VEK folder took out of the game folder.
    QSet<QString> lostPaths;
    QSet<QString> lostSkins;
    QStringList lost;          // their names, told
    QStringList gone;          // lines that name no folder at all
    QList<qsizetype> kept;     // the lines that marked something
    QSet<QString> slotFolders; // the aircraft grid's folders once every line is marked
    bool dropped = false;      // the ledger is to be rewritten
};

void Selector::reloadLoadedList() {
    Reload reload;
    readLedgerToReload(reload);
    // Nothing the load grid's clicks do while the window loads reads the skin marks.
    reload.skinLines = skins_->markLines(reload.names);
    findSweptFolders(reload);
    markLedgerLines(reload);
    const QString label8 = keptLedgerLines(reload);
    loadedList_->set(label8);
    loadFiles_->reloadCarriers({});
    loadedFiles_->startUp();
    // The ledger is rewritten once the window is ready, and the player told, with the other
    // start-up messages.
    for (int r = 1; r < SK1.rowCount(); ++r)
        if (reload.lostSkins.contains(SK1.row(r).name))
            reload.lost << SK1.row(r).name;
    ledgerDropped_ = reload.dropped || !reload.repeated.isEmpty();
    tellReload(reload);
}

void Selector::readLedgerToReload(Reload &reload) const {
    // The load grid's rows stay while the window loads; the aircraft grid is new after each
    // "F" folder.
    QHash<QString, QList<int>> byFolded;
    for (int r = 1; r < Unigrid.rowCount(); ++r)
        byFolded[FileList::fold(Unigrid.row(r).name)] << r;
    QStringList names;
    for (const QByteArray &line :
         Ledgers::readFoldersLoaded(folders().ModFolder, &reload.repeated)) {
        QString name = Text8::toUnicode(line);
        if (const auto rows = byFolded.constFind(FileList::fold(name)); rows != byFolded.cend()) {
            QList<int> exact;
            for (const int r : *rows)
                if (Unigrid.row(r).name == name)
                    exact << r;
            // Written by hand in another case: the first row of that name in any case, and the
            // ledger rewritten in the row's spelling.
            if (exact.isEmpty()) {
                exact << rows->first();
                name = Unigrid.row(exact.first()).name;
                reload.dropped = true;
            }
            reload.rowsByName.insert(name, exact);
        }
        names << name;
    }
    // Two spellings of one folder count once, at the later line, as a repeated name does.
    QSet<QString> seen;
    for (auto n = names.crbegin(); n != names.crend(); ++n) {
        if (seen.contains(*n)) {
            reload.repeated << Text8::fromUnicode(*n);
            continue;
        }
        seen.insert(*n);
        reload.names.prepend(*n);
    }
}

void Selector::findSweptFolders(Reload &reload) {
    // What each folder the ledger names brings, each folder listed once; needed only after a
    // sweep, or when the re-load takes a folder out for a later one of its group.
    const auto carried = [this, names = reload.names, rowsByName = reload.rowsByName] {
        QHash<QString, QStringList> brings;
        for (const QString &name : names)
            if (const auto rows = rowsByName.constFind(name); rows != rowsByName.cend())
                for (const int r : *rows)
                    if (const QString &path = Unigrid.row(r).path; !brings.contains(path))
                        brings.insert(path, brought(path, FileMover::skipped));
        for (int r = 1; r < SK1.rowCount(); ++r)
            if (SK1.row(r).loaded) {
                const QString path = FileList::join(skinFolder(), SK1.row(r).name);
                brings.insert(path, brought(path, skinSkipped));
            }
        return brings;
    };
    if (!swept_) {
        loadFiles_->reloadCarriers(carried);
        return;
    }
    // The sweep after a change of VEK folder deletes the files the VEK folder's folders carry:
    // a folder whose files it took is no longer loaded, whatever the ledger says.
    QHash<QString, QStringList> brings = carried();
    const FileList::Index game(FileList::files(folders().GameFolder));
    const auto whole = [&game](const QStringList &files) {
        return std::all_of(files.begin(), files.end(),
                           [&game](const QString &n) { return !game.find(n).isEmpty(); });
    };
    for (auto it = brings.cbegin(); it != brings.cend(); ++it)
        if (!whole(it.value()))
            reload.lostPaths.insert(it.key());
    for (int r = 1; r < SK1.rowCount(); ++r) {
        const QString path = FileList::join(skinFolder(), SK1.row(r).name);
        if (SK1.row(r).loaded && reload.lostPaths.contains(path) &&
            !whole(brought(path, skinSkippedWithoutFlt))) {
            skins_->mark(r, false);
            reload.lostSkins.insert(SK1.row(r).name);
        } else {
            reload.lostPaths.remove(path);
        }
    }
    for (const QString &path : std::as_const(reload.lostPaths))
        brings.remove(path);
    loadFiles_->reloadCarriers([brings] { return brings; });
}

void Selector::markLedgerLines(Reload &reload) {
    QHash<QString, QList<int>> slotsByFolder = G1.rowsByFolder();
    QSet<QString> aircraftOfLost; // the "P-" folders of an "F" folder no longer loaded
    QSet<QString> lostNames;
    std::optional<FileList::Index> gameNames; // listed once, when a folder has gone
    for (qsizetype i = 0; i < reload.names.size(); ++i) {
        const QString &name = reload.names.at(i);
        bool known = reload.skinLines.at(i);
        bool marks = known && !reload.lostSkins.contains(name);
        if (const auto rows = reload.rowsByName.constFind(name); rows != reload.rowsByName.cend()) {
            known = true;
            QList<int> stay;
            for (const int r : *rows) {
                if (!reload.lostPaths.contains(Unigrid.row(r).path)) {
                    stay << r;
                } else if (!lostNames.contains(name)) {
                    lostNames.insert(name);
                    reload.lost << name;
                    for (const QString &sub : FileList::folderNames(Unigrid.row(r).path))
                        aircraftOfLost.insert(sub);
                }
            }
            marks = marks || !stay.isEmpty();
            if (loadFiles_->reloadRows(stay))
                slotsByFolder = G1.rowsByFolder();
        }
        if (const auto named = slotsByFolder.constFind(name); named != slotsByFolder.cend()) {
            planes_->markRows(*named);
            known = marks = true;
        }
        if (!known && !aircraftOfLost.contains(name) && !name.isEmpty()) {
            reload.gone << name;
            // Its files are known by the names the ledgers recorded when it was loaded.
            QStringList present;
            for (const QString &file : loadedFiles_->recordedNames(name)) {
                if (!gameNames)
                    gameNames.emplace(FileList::files(folders().GameFolder));
                if (const QString there = gameNames->find(file); !there.isEmpty())
                    present << there;
            }
            loadedFiles_->noteGone(name, present);
        }
        if (marks)
            reload.kept << i;
        else
            reload.dropped = true;
    }
    for (auto it = slotsByFolder.cbegin(); it != slotsByFolder.cend(); ++it)
        reload.slotFolders.insert(it.key());
}

QString Selector::keptLedgerLines(Reload &reload) const {
    // A folder the re-load took out for a later one of its group leaves the list too.
    QString label8;
    for (const qsizetype i : std::as_const(reload.kept)) {
        const QString &name = reload.names.at(i);
        const auto rows = reload.rowsByName.constFind(name);
        if (rows != reload.rowsByName.cend() && !reload.skinLines.at(i) &&
            !reload.slotFolders.contains(name) &&
            std::none_of(rows->begin(), rows->end(),
                         [this](int r) { return Unigrid.row(r).loaded; })) {
            reload.dropped = true;
            continue;
        }
        label8 += name + QStringLiteral("\r\n");
    }
    return label8;
}

void Selector::tellReload(const Reload &reload) {
    if (!reload.lost.isEmpty())
        reporter_.report(
            QStringLiteral("The files of these folders were no longer in the game folder (the "
                           "VEK folder is another than last time, and the game folder was "
                           "cleaned up), so they are not loaded now; load them again to use "
                           "them:\r\n") +
            listed(reload.lost));
    if (!reload.repeated.isEmpty()) {
        QStringList twice;
        for (const QByteArray &name : std::as_const(reload.repeated))
            twice << Text8::toUnicode(name);
        reporter_.report(QStringLiteral("FoldersLoaded.txt named these more than once; each "
                                        "counts once, and its repeated lines were dropped from "
                                        "the file:\r\n") +
                         listed(twice));
    }
    if (!reload.gone.isEmpty())
        reporter_.report(QStringLiteral("FoldersLoaded.txt named folders that are no longer "
                                        "in the VEK folder; they are not loaded now:\r\n") +
                         listed(reload.gone));
}

void Selector::askAfterLoad() {
    if (!loadedFiles_->goneToAsk())
        return;
    touch(Change::Everything);
    loadedFiles_->askAboutGone();
}

void Selector::findBackground() {
    // A name of that spelling in any case, without extension; the last one listed wins.
    own_.BackgroundPath.clear();
    const QStringList names = FileList::files(folders().GameFolder, QStringLiteral("BACKGROUND"));
    if (!names.isEmpty())
        own_.BackgroundPath = FileList::join(folders().GameFolder, names.last());
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadFiles.h"
#include "RowRescan.h"

#include "AltPlane.h"
#include "Catalogue.h"
#include "FileList.h"
#include "FileOps.h"
#include "Ledgers.h"
#include "LoadedList.h"
#include "Mover.h"
#include "OperationJournal.h"
#include "Options.h"
#include "Planes.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

LoadFilesFields &LoadFiles::own() {
    return s_.own(Key<LoadFiles>());
}

bool LoadFiles::hasAltPlanes(const QString &folder) {
    // The same test as the grid's, so a folder that shows the grid always fills it.
    const QStringList folders = FileList::folders(folder);
    return std::any_of(folders.begin(), folders.end(), [](const QString &path) {
        return AltPlane::isAltFolder(QFileInfo(path).fileName());
    });
}

bool LoadFiles::click(int row) {
    s_.touch(Change::LoadGrid | Change::Slots | Change::Fuel | Change::Ledger);
    if (row < 1 || row >= s_.Unigrid.rowCount())
        return false;
    ClickedRow = row;
    savesStopped_ = false;
    const LoadGrid::Row &r = s_.Unigrid.row(row);
    const QString name = r.name;
    const bool wasLoaded = r.loaded;
    // What was loaded before, for the status line the window shows: the start-up re-load,
    // which clicks a row for each ledger line, shows none and so walks no grid for it.
    QStringList before;
    QHash<QString, int> beforeRows;
    if (s_.FormReady)
        for (int i = 1; i < s_.Unigrid.rowCount(); ++i)
            if (const LoadGrid::Row &other = s_.Unigrid.row(i); other.loaded) {
                before << other.name;
                beforeRows.insert(other.name, i);
            }
    const bool ok = wasLoaded ? unload(row) : load(row);
    s_.clickStatus(
        ok, wasLoaded, name, mover_.lastMoveCount(), before,
        [this, &beforeRows](const QString &n) {
            return s_.Unigrid.row(beforeRows.value(n)).loaded;
        },
        QString());
    return ok;
}

bool LoadFiles::unload(int row) {
    if (!journal_.beginUnload(row))
        return false;
    const OperationJournal::Scope journal(journal_);
    LoadGrid::Row &r = own().Unigrid.row(row);
    const QString letter = s_.Unigrid.letter(row);
    // A mission with no store of its own exchanges no saves.
    const bool exchanges = letter == QLatin1String("M") && !LoadGrid::storeOf(r.name).isEmpty();
    if (exchanges && !readySaves(false, QString(), r.name))
        return false;
    r.colour = LoadGrid::DefaultCellColour;
    if (!mover_.MoveOut(r.path)) {
        // A file that cannot go keeps them all in the game folder: the folder stays loaded, so a
        // second click can take it out once the player has freed it. A cancelled unload is undone:
        // the player who cancels expects the folder as it was, not half of it.
        r.colour = LoadGrid::LoadedColour;
        if (r_.cancelled())
            journal_.undoCancelled(0);
        return false;
    }
    r.loaded = false;
    // The aircraft grid empties with the folder that filled it.
    const bool emptiesPlanes = letter == QLatin1String("F") || letter == QLatin1String("M");
    const SlotGrid planes = s_.G1;
    const bool frame6 = s_.Frame6;
    if (emptiesPlanes)
        planes_.hideAlternatives();
    loadedList_.refresh();
    options_.inisave();
    // The ledgers are written before the saves move: an unload they cannot record is undone
    // while nothing but its files has changed.
    if (journal_.unrecorded()) {
        r.loaded = true;
        r.colour = LoadGrid::LoadedColour;
        planes_.putBack(planes, s_.Fuel, frame6);
        journal_.undoUnrecorded();
        return false;
    }
    if (!exchanges)
        return true;
    QStringList problems;
    const bool ok = journal_.missionUnload(r.name, &problems);
    for (const QString &p : problems)
        r_.report(p);
    return ok;
}

bool LoadFiles::load(int row) {
    // Before anything moves, the folder of its group included: a folder the ledger cannot
    // name would be loaded and then forgotten at the next start. The start-up re-load marks
    // what the ledger names already (an older selector may have written a tab there).
    if (s_.FormReady) {
        const LoadGrid::Row &r = s_.Unigrid.row(row);
        if (const QString why = Ledgers::unrecordable(r.name); !why.isEmpty()) {
            r_.report(Ledgers::refusedLoad(QStringLiteral("the content folder"), r.path, why));
            return false;
        }
    }
    const QString letter = s_.Unigrid.letter(row);
    PreviousRow = reloading_ ? reloadTakenOutBy(row) : s_.Unigrid.takenOutBy(row);
    if (!journal_.beginLoad(row, PreviousRow))
        return false;
    const OperationJournal::Scope journal(journal_);
    const bool swapped = std::any_of(s_.G1.rows.begin(), s_.G1.rows.end(),
                                     [](const SlotGrid::Row &a) { return a.marked; });
    // The saves first, made ready before any file moves: a switch that cannot move them (a
    // read-only save, a full disk) changes nothing at all. While the window loads, the
    // game's Savedata already holds the recorded mission's progress and nothing is exchanged.
    // A mission whose name gives no store exchanges no saves: the game keeps what Savedata
    // holds, and a mission with a store that it takes out is, for the saves, unloaded.
    const QString mission =
        letter == QLatin1String("M") && !LoadGrid::storeOf(s_.Unigrid.row(row).name).isEmpty()
            ? s_.Unigrid.row(row).name
            : QString();
    QString previousMission;
    if (letter == QLatin1String("M") && PreviousRow > 0 &&
        !LoadGrid::storeOf(s_.Unigrid.row(PreviousRow).name).isEmpty())
        previousMission = s_.Unigrid.row(PreviousRow).name;
    if (letter == QLatin1String("M") && s_.FormReady) {
        if (!mission.isEmpty()
                ? !readySaves(true, previousMission, mission)
                : !previousMission.isEmpty() && !readySaves(false, QString(), previousMission))
            return false;
    }
    if (PreviousRow > 0) {
        LoadGrid::Row &prev = own().Unigrid.row(PreviousRow);
        prev.colour = LoadGrid::DefaultCellColour;
        const bool again = !s_.FormReady && movedOutWhileLoading_.contains(prev.path);
        if (!again &&
            !mover_.MoveOut(prev.path, s_.FormReady ? FileMover::Rule() : reloadKeep(prev.path))) {
            prev.colour = LoadGrid::LoadedColour;
            if (r_.cancelled())
                undoLoad(0, letter == QLatin1String("F") && swapped);
            return false;
        }
        prev.loaded = false;
        if (!s_.FormReady)
            movedOutWhileLoading_.insert(prev.path);
    }
    LoadGrid::Row &r = own().Unigrid.row(row);
    // A failure after a folder was taken out is told once, with what became of that folder.
    const bool tellsUndo = PreviousRow > 0 && s_.FormReady;
    if (tellsUndo)
        r_.collectReports();
    const bool in = mover_.MoveIn(r.path);
    const QStringList moverSaid = tellsUndo ? r_.takeReports() : QStringList();
    if (in || r_.cancelled())
        for (const QString &p : moverSaid)
            r_.report(p);
    if (!in && r_.cancelled()) {
        if (PreviousRow > 0) {
            LoadGrid::Row &prev = own().Unigrid.row(PreviousRow);
            prev.loaded = true;
            prev.colour = LoadGrid::LoadedColour;
        }
        undoLoad(PreviousRow > 0 ? 1 : 0, letter == QLatin1String("F") && swapped);
        return false;
    }
    if (!in) {
        // The copy was undone by the mover; a folder the click took out comes back, so the
        // click fails as a whole and the ledgers never change.
        if (tellsUndo) {
            LoadGrid::Row &prev = own().Unigrid.row(PreviousRow);
            prev.loaded = true;
            prev.colour = LoadGrid::LoadedColour;
            journal_.undoFailed(1, moverSaid.join(QLatin1Char(' ')));
            if (letter == QLatin1String("F") && swapped)
                planesAfterLoad(PreviousRow);
        }
        return false;
    }
    const SlotGrid planes = s_.G1;
    const FuelGrid fuel = s_.Fuel;
    const bool frame6 = s_.Frame6;
    const bool altPlanes = HasAltPlanes;
    r.colour = LoadGrid::LoadedColour;
    r.loaded = true;
    loadedList_.refresh();
    options_.inisave();
    if (letter == QLatin1String("F"))
        planesAfterLoad(row);
    // A load the ledgers do not know would stay in the game folder, forgotten at the next
    // start: it is undone, before any save moves.
    if (journal_.unrecorded()) {
        r.loaded = false;
        r.colour = LoadGrid::DefaultCellColour;
        if (PreviousRow > 0) {
            LoadGrid::Row &prev = own().Unigrid.row(PreviousRow);
            prev.loaded = true;
            prev.colour = LoadGrid::LoadedColour;
        }
        planes_.putBack(planes, fuel, frame6);
        HasAltPlanes = altPlanes;
        journal_.undoUnrecorded();
        if (letter == QLatin1String("F") && swapped && PreviousRow > 0)
            planesAfterLoad(PreviousRow);
        return false;
    }
    if (letter == QLatin1String("M") && s_.FormReady) {
        // While the window loads, the game's Savedata already holds the recorded mission's
        // progress; exchanging it would bring back the store's older copy.
        // Told once it is in, not when the load did not happen.
        if (mission.isEmpty())
            r_.report(QStringLiteral("\"%1\" has no name after \"M\", and so no save store: "
                                     "its campaign saves are not exchanged, and the game's "
                                     "Savedata keeps the saves it holds.")
                          .arg(r.name));
        if (mission.isEmpty() && previousMission.isEmpty())
            return true;
        QStringList problems;
        const bool ok = mission.isEmpty()
                            ? journal_.missionUnload(previousMission, &problems)
                            : journal_.missionLoad(previousMission, mission, &problems);
        for (const QString &p : problems)
            r_.report(p);
        return ok;
    }
    return true;
}

bool LoadFiles::readySaves(bool loading, const QString &previous, const QString &mission) {
    QStringList problems;
    if (journal_.prepareMission(loading, previous, mission, &problems))
        return true;
    savesStopped_ = true;
    problems << (loading ? QStringLiteral("Nothing was changed: \"%1\" was not loaded, and every "
                                          "campaign save is where it was.")
                         : QStringLiteral("Nothing was changed: \"%1\" stays loaded, and every "
                                          "campaign save is where it was."))
                    .arg(mission);
    r_.report(problems.join(QLatin1Char(' ')));
    return false;
}

void LoadFiles::undoLoad(qsizetype reached, bool swapped) {
    // The marks are back (the undo reads them to put shared files right).
    journal_.undoCancelled(reached);
    // The aircraft set copied back in brings its own planes.dat: what was swapped into it is
    // gone, and the aircraft grid starts again from that folder.
    if (swapped && PreviousRow > 0)
        planesAfterLoad(PreviousRow);
}

void LoadFiles::readGroupTable() {
    own().List3 = {QStringLiteral("Show ALL"), QStringLiteral("Show Selections")};
    QString problem;
    if (!own().groups.read(s_.folders().ModFolder, &problem))
        r_.report(problem);
    own().List3 += s_.groups.descriptions;
}

void LoadFiles::buildCatalogue() {
    QStringList told;
    QStringList problems;
    Catalogue::build(s_.folders().ModFolder, s_.folders().GameFolder, own().Unigrid,
                     Ledgers::readFoldersLoaded(s_.folders().ModFolder), &told, &problems);
    r_.tell(problems);
    // Told with the other start-up messages, in the one message the load ends with.
    r_.tell(told);
}

void LoadFiles::colourLoaded() {
    for (int r = 1; r < s_.Unigrid.rowCount(); ++r)
        if (LoadGrid::Row &row = own().Unigrid.row(r); row.loaded)
            row.colour = LoadGrid::LoadedColour;
}

void LoadFiles::unmark(const QString &name) {
    if (const int row = s_.Unigrid.find(name); row > 0)
        unmarkRow(row);
}

void LoadFiles::unmarkRow(int row) {
    own().Unigrid.row(row).loaded = false;
    own().Unigrid.row(row).colour = LoadGrid::DefaultCellColour;
}

void LoadFiles::planesAfterLoad(int row) {
    const LoadGrid::Row &r = s_.Unigrid.row(row);
    HasAltPlanes = hasAltPlanes(r.path);
    if (HasAltPlanes) {
        planes_.showAlternatives(r.path);
        loadedList_.refresh();
        options_.inisave();
        return;
    }
    QString error;
    const QString mod = s_.ModFolder();
    if (!FileOps::writeAtomic(FileList::resolve(mod, Ledgers::PlanesLoaded), QByteArray(), &error))
        journal_.ledgerFailed(error);
    if (!TextFile::writeLines(FileList::resolve(mod, Ledgers::ScriptsLoaded), QList<QByteArray>(30),
                              &error))
        journal_.ledgerFailed(error);
    planes_.hideAlternatives();
    loadedList_.refresh();
    options_.inisave();
}

bool LoadFiles::reloadRows(const QList<int> &rows) {
    bool aircraft = false;
    for (const int r : rows) {
        LoadGrid::Row &row = own().Unigrid.row(r);
        row.loaded = false;
        row.colour = LoadGrid::LoadedColour;
        click(r);
        const QString letter = s_.Unigrid.letter(r);
        if (row.loaded)
            reloadMarked_.insert(letter, r);
        else if (const int k = reloadMarked_.value(letter); k > 0 && !s_.Unigrid.row(k).loaded)
            reloadMarked_.remove(letter);
        aircraft = aircraft || letter == QLatin1String("F");
    }
    return aircraft;
}

int LoadFiles::reloadTakenOutBy(int row) const {
    const QString letter = s_.Unigrid.letter(row);
    if (letter == QLatin1String("G"))
        return 0;
    const int k = reloadMarked_.value(letter);
    return k > 0 && s_.Unigrid.row(k).loaded ? k : 0;
}

void LoadFiles::reloadCarriers(std::function<QHash<QString, QStringList>()> brings) {
    reloading_ = bool(brings);
    reloadCarriers_ = std::move(brings);
    reloadCounted_ = false;
    reloadBrings_.clear();
    reloadCount_.clear();
    // The loaded row of each letter, found once: the re-load then asks it for each line instead
    // of walking the grid.
    reloadMarked_.clear();
    if (reloading_)
        for (int r = 1; r < s_.Unigrid.rowCount(); ++r)
            if (s_.Unigrid.row(r).loaded)
                reloadMarked_.insert(s_.Unigrid.letter(r), r);
}

FileMover::Rule LoadFiles::reloadKeep(const QString &folder) {
    if (!reloadCounted_) {
        reloadCounted_ = true;
        if (reloadCarriers_)
            reloadBrings_ = reloadCarriers_();
        for (const QStringList &names : std::as_const(reloadBrings_))
            for (const QString &name : names)
                ++reloadCount_[FileList::fold(name)];
    }
    // Each folder is taken out once while the window loads: its names stop counting for good.
    for (const QString &name : reloadBrings_.take(folder))
        --reloadCount_[FileList::fold(name)];
    return [this](const QString &name) { return reloadCount_.value(FileList::fold(name)) > 0; };
}

void LoadFiles::filter(int index) {
    s_.touch(Change::LoadGrid);
    if (index < 0 || index >= s_.List3.size())
        return;
    own().List3Index = index;
    own().Unigrid.filter(index, own().groups);
}

bool LoadFiles::rescan() {
    QList<LoadGrid::Row> fresh;
    const QString mod = s_.ModFolder();
    const QStringList names = FileList::folderNames(mod);
    FileList::Index present(names);
    for (const QString &name : names) {
        if (!LoadGrid::listed(name))
            continue;
        fresh.append(LoadGrid::Row{FileList::join(mod, name), name});
        // A new mission folder gets its campaign store, as the catalogue gives one.
        if (const QString store = LoadGrid::storeOf(name);
            !store.isEmpty() && present.find(store).isEmpty()) {
            FileOps::EnsureFolder(FileList::join(mod, store));
            present.add(store);
        }
    }
    if (!rescanRows(own().Unigrid.rows, fresh))
        return false;
    filter(s_.List3Index);
    LastHoverRow = -1;
    return true;
}

void LoadFiles::hover(int row) {
    if (row == LastHoverRow)
        return;
    MyLabel.clear();
    MyImage.clear();
    LastHoverRow = row;
    if (row < 1 || row >= s_.Unigrid.rowCount())
        return;
    const QString folder = s_.Unigrid.row(row).path;
    const QStringList description = FileList::files(folder, QStringLiteral("contents.txt"));
    if (!description.isEmpty()) {
        QList<QByteArray> lines;
        if (TextFile::readLines(FileList::join(folder, description.first()), &lines, nullptr))
            for (const QByteArray &l : lines)
                MyLabel += Text8::toUnicode(l) + QStringLiteral("\r\n");
    }
    const QStringList pictures =
        FileList::files(folder, QStringLiteral("mypic;skinpic;*.jpg;*.bmp;*.gif"));
    if (!pictures.isEmpty())
        MyImage = FileList::join(folder, pictures.first());
}

void LoadFiles::clearDescription() {
    MyLabel.clear();
    MyImage.clear();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <functional>

class FuelGrid;
class Reporter;
class SlotGrid;
struct SelectorState;
struct PlanesFields;
class OperationJournal;
class LoadedList;
class Options;

/// The aircraft pages: the alternative aircraft grid `G1` (filled when a content folder with
/// "P-" folders is loaded), the swap of an alternative into its slot, the fuel grid, the
/// description on hover and the slot filter `List1`.
class Planes {
public:
    Planes(SelectorState &state, Reporter &reporter, OperationJournal &journal,
           LoadedList &loadedList, Options &options)
        : s_(state), r_(reporter), journal_(journal), loadedList_(loadedList), options_(options) {}

    /// `GridSet`: fills `G1` from the content folder's "P-" folders and `Fuel` from its
    /// planes.dat. Problems (an unusable .vek, a missing planes.dat) are told to the player.
    void GridSet(const QString &contentFolder);

    /// `GridSet`, and "Alternative Planes:" shown: the aircraft of a loaded "F" folder.
    void showAlternatives(const QString &contentFolder);
    /// Empties `G1` and hides "Alternative Planes:": the folder that filled it went out.
    void hideAlternatives();
    /// Puts the aircraft and fuel grids back as they were before a click that is undone.
    void putBack(const SlotGrid &G1, const FuelGrid &Fuel, bool Frame6);
    /// Empties `G1` ("Alternative Planes:" stays as it is): a complete reset took every
    /// folder out.
    void clearAlternatives();
    /// The slot filter's entries ("ALL" and one per slot), as the window loads.
    void fillFilter();
    /// Marks the `G1` rows `rows` as swapped in: a re-load found them in the ledger.
    void markRows(const QList<int> &rows);

    /// A click (or Enter) on `G1` row `row`: swaps that alternative into its slot. Everything
    /// the swap needs is read and checked first; a failed check tells the player and writes
    /// no byte of any game file. Answers whether the swap was made.
    bool click(int row);

    /// A click on the `Fuel` cell at `row` (1..30) and `column` (2..20): writes that load as
    /// the slot's fuel in the game's planes.dat.
    bool fuelClick(int row, int column);

    /// The pointer is over `G1` row `row` (0: the header, which describes the content folder).
    void hover(int row);

    /// The slot filter: entry 0 "ALL", entry n slot n - 1.
    void filter(int entry);

    /// The slot filter also filters the skin grid, which is the skins' part: the selector
    /// plugs it in here (entry, and its caption "A-05: ...").
    std::function<void(int entry, const QString &caption)> skinsFiltered;

    int SelectedSlot = -1;
    QString Label4; ///< description of the row under the pointer (lines end CR LF)
    int LastHoverRow = -1;

private:
    PlanesFields &own();
    SelectorState &s_;
    Reporter &r_;
    OperationJournal &journal_;
    LoadedList &loadedList_;
    Options &options_;
};

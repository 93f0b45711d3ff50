// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class LoadedFiles;
struct SelectorState;
struct LoadedListFields;

/// The "What is loaded!" list and its ledger, FoldersLoaded.txt: the loaded content folders,
/// skins and swapped-in aircraft, in grid order.
class LoadedList {
public:
    LoadedList(SelectorState &state, LoadedFiles &loadedFiles)
        : s_(state), loadedFiles_(loadedFiles) {}

    /// Rebuilds the list from the grids and rewrites FoldersLoaded.txt (the load order ledger
    /// follows); nothing while the window loads.
    void refresh();
    /// The list: names each followed by CR LF.
    const QString &Label8() const { return label8_; }
    /// The loaded names, one per entry.
    QStringList loadedNames() const;
    /// Empties the list (not its ledger).
    void clear() { label8_.clear(); }
    /// The list as the load sequence read it from the ledger; the autoscript text starts
    /// from it.
    void set(const QString &label8);
    /// The autoscript text `Text2` starts again from the list (after a complete reset).
    void resetScriptText();
    /// The player edited the autoscript text `Text2`, to save it as an autoscript.
    void editScriptText(const QString &text);
    /// Whether the list stands in grid order, as every rewrite leaves it: a ledger written by
    /// hand, or by a recovery cut short after its journal went, may not.
    bool inGridOrder() const { return label8_ == fromGrids(); }

    /// Called when FoldersLoaded.txt could not be written (the file and why): the operation
    /// under way must be undone.
    std::function<void(const QString &)> ledgerFailed;
    /// Colours the loaded rows of the load grid, which is the load grid's part: the selector
    /// plugs it in here, for `refresh`.
    std::function<void()> colourLoaded;

private:
    QString fromGrids() const;

    LoadedListFields &own();
    SelectorState &s_;
    LoadedFiles &loadedFiles_;
    QString label8_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Reporter;
struct SelectorState;
struct AutoscriptsFields;
class OperationJournal;
class LoadedList;
class LoadFiles;
class Planes;
class Skins;
class CompleteReset;

/// The page "Autoscripts": the list of saved autoscripts (`File10`, kept by the selector),
/// the entries of the one clicked (`List2`), running them through the grids' own handlers,
/// and saving the edited loaded list (`Text2`, kept by the selector) under the name in
/// `Text1`.
class Autoscripts {
public:
    static inline const QString Frame3 =
        QStringLiteral("Just click on the name of the script you want to run");
    static inline const QString Label13 = QStringLiteral("Contents of selected Autoscript:");
    static inline const QString Command6Caption = QStringLiteral("OK load this one!");
    /// The name box starts empty, with this as its hint: a name the player did not type is
    /// never saved.
    static inline const QString Text1Hint = QStringLiteral("Enter Autoscript Filename");
    static inline const QString Frame8 = QStringLiteral("Save your AutoScript");
    static inline const QString Label5 = QStringLiteral(
        "You can edit the text below, and even change the order in which folders will be loaded "
        "(if you want to) before you save the AutoScript");
    static inline const QString Command7Caption = QStringLiteral("Save current settings");

    Autoscripts(SelectorState &state, Reporter &reporter, OperationJournal &journal,
                LoadedList &loadedList, LoadFiles &loadFiles, Planes &planes, Skins &skins,
                CompleteReset &completeReset)
        : s_(state), r_(reporter), journal_(journal), loadedList_(loadedList),
          loadFiles_(loadFiles), planes_(planes), skins_(skins), completeReset_(completeReset) {}

    /// The autoscript folder of the VEK folder (found under any case).
    QString folder() const;

    /// Lists the autoscript folder into `File10`.
    void refresh();

    /// A click on `File10` entry `index`: its entries into `List2`. Answers false (the player
    /// told) when the file cannot be read.
    bool show(int index);

    /// "OK load this one!": for each entry of `List2` in order, the load grid rows, the skin
    /// rows and the aircraft rows of that name are clicked (each click toggles), then the
    /// loaded list is refreshed. Entries that matched no row are told once, at the end.
    /// Answers false when any click failed or any entry matched nothing.
    bool run();

    /// "Save current settings": writes `Text2` under the name in `Text1`, replacing an
    /// autoscript of that name (the player is told). A name that cannot be a file name is
    /// refused before anything is written.
    bool save();
    /// The saved autoscript that `save` would replace (its name as saved, matched without
    /// regard to case), or empty: the window asks before it replaces one.
    QString replaces() const;

    /// "Reset Completely" on this page.
    bool Command11();

    QString Text1;
    QStringList List2;
    int File10Index = -1;

private:
    AutoscriptsFields &own();
    SelectorState &s_;
    Reporter &r_;
    OperationJournal &journal_;
    LoadedList &loadedList_;
    LoadFiles &loadFiles_;
    Planes &planes_;
    Skins &skins_;
    CompleteReset &completeReset_;
};

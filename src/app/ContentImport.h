// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportArchive.h"

#include <QString>

class LoadFiles;
class Reporter;
class Skins;
struct SelectorState;

/// "Add content..." on the page "Load Files" (and an archive dropped on the window, and the
/// command line's `import`): the folders an archive holds go into the VEK folder
/// (`ImportArchive`), and at once into the load grid and the skin grid, not loaded.
///
/// The selector's state decides what the import may do: vek.ini's groups name content
/// folders, a folder its grid marks loaded is never replaced, and one that is not is replaced
/// only when the player answers the question OK. The front end's `Progress` follows the
/// unpacking and can cancel it.
class ContentImport {
public:
    ContentImport(SelectorState &state, Reporter &reporter, LoadFiles &loadFiles, Skins &skins)
        : s_(state), r_(reporter), loadFiles_(loadFiles), skins_(skins) {}

    /// Imports `archive`; `name` names the folder of an archive that names none (empty: none
    /// given). Refusals and failures are told to the player here; `NeedsName` is not (the
    /// window asks for a name, the command line says to give one). On success the grids
    /// list the new rows and `SelectorState::Status` says what came in.
    ImportArchive::Outcome run(const QString &archive, const QString &name = QString());

    /// The question before a folder is replaced.
    static QString replaceQuestion(const QStringList &places);
    /// The one message after a collection came in: what of it, what its text files added,
    /// what was replaced and what was left out.
    static QString collectionReport(const QString &file, const ImportArchive::Outcome &outcome);

private:
    SelectorState &s_;
    Reporter &r_;
    LoadFiles &loadFiles_;
    Skins &skins_;
};

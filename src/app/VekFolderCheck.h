// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Reporter;
struct SelectorState;

/// Whether the VEK folder is still there, asked before a click writes into it.
///
/// The VEK folder can be moved, renamed or deleted while the window is open (by the player in
/// a file manager, or a disk unplugged). Every operation first writes its journal there, so a
/// click would only say that `Journal.txt` could not be written. Instead the player is told
/// that the VEK folder is gone and, in the window, asked whether to choose another with "New
/// VEK Directory"; OK goes back to the locator as that button does (`Reporter::newVekDirectory`).
/// The command-line tool has no locator: it says so, and the command fails.
class VekFolderCheck {
public:
    /// True when the VEK folder is a folder; else the player is told (and asked) and nothing
    /// may be written.
    static bool there(const SelectorState &state, Reporter &reporter);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class Reporter;
struct SelectorState;
class Options;
class LoadedList;

/// The commands of the "General" page that act on the program as a whole.
class WindowCommands {
public:
    WindowCommands(SelectorState &state, Reporter &reporter, Options &options,
                   LoadedList &loadedList, std::function<void()> minimise,
                   std::function<void()> restore)
        : s_(state), r_(reporter), options_(options), loadedList_(loadedList),
          minimise_(std::move(minimise)), restore_(std::move(restore)) {}

    /// "Launch EAW": start the game's eaw.exe (through Wine off Windows) in the game folder and
    /// minimise once it has started, without waiting for the game to end. Answers false (the
    /// player told what failed and what to install) when it could not start: the program or
    /// Wine missing, or Wine ending at once with an error (see `Launcher`). A failure found
    /// after the window was minimised brings the window back before it is told, so the message
    /// is not left behind a minimised window.
    bool LaunchEAW();

    /// "Minimise".
    void Minimise();

    /// "Exit": the clean-up before the program ends. While the cheat check is on it asks
    /// first; Cancel answers false and nothing has changed. Then both cheat bytes become 0
    /// and the original eaw.ini and eaw.exe are put back. On true the caller ends the program.
    bool ExitProcedure();

    /// "New VEK Directory": records the loaded list in FoldersLoaded.txt before the main
    /// window closes and the locator is shown again.
    void NewVekDirectory();

private:
    SelectorState &s_;
    Reporter &r_;
    Options &options_;
    LoadedList &loadedList_;
    std::function<void()> minimise_;
    std::function<void()> restore_;
};

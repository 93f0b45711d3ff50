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
                   LoadedList &loadedList, std::function<void()> minimise)
        : s_(state), r_(reporter), options_(options), loadedList_(loadedList),
          minimise_(std::move(minimise)) {}

    /// "Launch EAW": minimise, then start the game's eaw.exe (through Wine off Windows) in the
    /// game folder, without waiting. Answers false (the player told) when it could not start.
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
};

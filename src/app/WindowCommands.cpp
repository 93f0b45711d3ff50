// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowCommands.h"

#include "CheatCheck.h"
#include "FileList.h"
#include "Launcher.h"
#include "Ledgers.h"
#include "LoadedList.h"
#include "Options.h"
#include "Prompt.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "Text8.h"

#include <QFileInfo>

bool WindowCommands::LaunchEAW() {
    // The game's eaw.ini is already current: every option change has written it.
    QString error;
    const QString program = FileList::resolve(s_.GameFolder(), QStringLiteral("eaw.exe"));
    // What can be checked before the start (the program, Wine) is told with the window still
    // up; the window minimises only once the game has started.
    bool minimised = false;
    const auto started = [&] {
        Minimise();
        minimised = true;
    };
    if (!Launcher::start(program, s_.GameFolder(), &error, started)) {
        if (minimised)
            restore_();
        r_.report(error);
        return false;
    }
    return true;
}

void WindowCommands::Minimise() {
    minimise_();
}

bool WindowCommands::ExitProcedure() {
    if (s_.Check4 && !r_.prompt().message(CheatCheck::ExitTitle, CheatCheck::ExitText,
                                          Prompt::Icon::None, Prompt::Buttons::OkCancel))
        return false;
    // On or off, the cheat byte is 0 once the selector has gone.
    options_.writeCheatByte(0);
    options_.Restore();
    return true;
}

void WindowCommands::NewVekDirectory() {
    // A VEK folder that has gone has no ledger to write, and nothing to tell about it again.
    if (!QFileInfo(s_.ModFolder()).isDir())
        return;
    QString error;
    if (!Ledgers::writeFoldersLoaded(s_.ModFolder(), Text8::fromUnicode(loadedList_.Label8()),
                                     &error))
        r_.report(error);
}

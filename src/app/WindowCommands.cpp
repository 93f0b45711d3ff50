#include "WindowCommands.h"

#include "FileList.h"
#include "Launcher.h"
#include "Ledgers.h"
#include "Selector.h"
#include "Text8.h"

bool WindowCommands::LaunchEAW() {
    Minimise();
    // The game's eaw.ini is already current: every option change has written it.
    QString error;
    const QString program = FileList::resolve(s_.GameFolder(), QStringLiteral("eaw.exe"));
    if (!Launcher::start(program, s_.GameFolder(), &error)) {
        s_.report(error);
        return false;
    }
    return true;
}

void WindowCommands::Minimise() {
    Q_EMIT s_.minimiseRequested();
}

bool WindowCommands::ExitProcedure() {
    s_.Restore();
    return true;
}

void WindowCommands::NewVekDirectory() {
    QString error;
    if (!Ledgers::writeFoldersLoaded(s_.ModFolder(), Text8::fromUnicode(s_.Label8()), &error))
        s_.report(error);
}

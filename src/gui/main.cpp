// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFolderChoice.h"
#include "Selector.h"
#include "SelectorApplication.h"
#include "SelectorWindows.h"
#include "VEKForm.h"
#include "frmBrowser.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextStream>

#include <cstring>

int main(int argc, char *argv[]) {
    const char *const usage = "Usage: vekselector [--game DIR]\n"
                              "       vekselector --help | --version\n";
    // --help and --version answer before the application object exists, so they work
    // without a display (in a terminal over ssh, in a package check).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--game") == 0) {
            ++i;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            QTextStream(stdout)
                << usage
                << "Starts the selector with DIR as the game folder. Without --game: the\n"
                   "current directory when it holds eaw.exe, else the game folder of the\n"
                   "main window's last start, else the current directory (the locator then\n"
                   "asks for the game and VEK folders). A game folder holds eaw.exe.\n"
                   "\n"
                   "To try it without the game: vekselector-demo DIR writes a made-up game\n"
                   "folder DIR/EAW and VEK folder DIR/VEK; then run vekselector --game DIR/EAW\n"
                   "and pick DIR/VEK as the VEK folder.\n";
            return 0;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            QTextStream(stdout) << "vekselector " VEK_VERSION "\n";
            return 0;
        }
    }
    // The application name stays the program's file name: the instance lock compares it
    // with the owner's process name to recognise a lock left by a crash.
    // The browser's page component shares the window system's drawing contexts.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    SelectorApplication app(argc, argv);
    // Lets the desktop match the window with its menu entry (and so its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vekselector.vekselector"));
    // Checked only now: the application object has taken out the options it knows
    // (-platform, -style ...), so whatever is left and is not ours is a mistake.
    const QStringList args = app.arguments();
    QString game;
    for (int i = 1; i < args.size(); ++i) {
        QString problem;
        if (args.at(i) != QLatin1String("--game"))
            problem = QStringLiteral("unknown option %1").arg(args.at(i));
        else if (i + 1 >= args.size())
            problem = QStringLiteral("--game needs a value");
        else
            game = args.at(++i);
        if (!problem.isEmpty()) {
            QTextStream(stderr) << "vekselector: " << problem << "\n"
                                << usage << "Try vekselector --help\n";
            return 2;
        }
    }
    // Started from the desktop menu, the selector is in the home folder, not a game folder:
    // the game folder of the last start is taken, and without one the locator asks as ever.
    if (game.isEmpty())
        game = GameFolderChoice::choose(QDir::currentPath());
    if (game.isEmpty())
        game = QDir::currentPath();
    // As if the selector had been started in that folder.
    if (!QDir::setCurrent(game)) {
        QTextStream(stderr) << "vekselector: cannot enter the game folder \"" << game << "\"\n";
        return 2;
    }
    SelectorWindows windows;
    QPointer<frmBrowser> browser;
    QObject::connect(&windows, &SelectorWindows::linksRequested, [&windows, &browser] {
        QString why;
        if (!frmBrowser::canRun(&why)) {
            windows.prompt().fail(why);
            return;
        }
        if (!browser) {
            // A child window of the main window: it closes with it, and a new VEK folder
            // gets a browser of its own.
            browser = new frmBrowser(windows.selector()->ModFolder(), windows.prompt(),
                                     windows.vekForm());
        }
        browser->show();
        browser->raise();
        browser->activateWindow();
    });
    QObject::connect(&windows, &SelectorWindows::mainWindowOpened, &GameFolderChoice::remember);
    if (!windows.start(QDir::currentPath()))
        return 0;
    return app.exec();
}

#include "Selector.h"
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
    // --help and --version answer before the application object exists, so they work
    // without a display (in a terminal over ssh, in a package check).
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--game") == 0) {
            ++i;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            QTextStream(stdout) << "Usage: vekselector [--game DIR]\n"
                                   "       vekselector --help | --version\n"
                                   "Starts the selector with DIR (default: the current "
                                   "directory) as the game folder.\n";
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
    QApplication app(argc, argv);
    // Lets the desktop match the window with its menu entry (and so its icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vekselector.vekselector"));
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--game") && i + 1 < args.size()) {
            // As if the selector had been started in that folder.
            if (!QDir::setCurrent(args.at(++i))) {
                QTextStream(stderr)
                    << "vekselector: cannot enter the game folder \"" << args.at(i) << "\"\n";
                return 2;
            }
        }
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
    if (!windows.start(QDir::currentPath()))
        return 0;
    return app.exec();
}

// Opens the selector's windows on a game folder, as the window program would, and saves a
// picture of each (the window's own grab) for looking at the program without a screen: the
// pages of the main window, then the planes.dat editor, the string file editor and the
// links browser.
//   vekselector-shot GAME_FOLDER OUT_PREFIX
#include "Airgrid.h"
#include "Form2.h"
#include "GeneralPage.h"
#include "Niteform.h"
#include "SRForm.h"
#include "Selector.h"
#include "SelectorWindows.h"
#include "VEKForm.h"
#include "frmBrowser.h"

#include <QEventLoop>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineView>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: vekselector-shot GAME_FOLDER OUT_PREFIX\n";
        return 2;
    }
    QDir::setCurrent(args.at(1));
    SelectorWindows windows;
    if (!windows.start(QDir::currentPath()))
        return 3;
    const QString prefix = args.at(2);
    if (VEKForm *form = windows.vekForm()) {
        for (int i = 0; i < form->SSTab1->count(); ++i) {
            form->SSTab1->setCurrentIndex(i);
            app.processEvents();
            form->grab().save(QStringLiteral("%1-page%2.png").arg(prefix).arg(i));
        }
        form->general->Command14->click();
        app.processEvents();
        if (form->general->niteform)
            form->general->niteform->grab().save(prefix + QStringLiteral("-niteform.png"));
        form->openAirgrid();
        form->airgrid()->List1->setCurrentRow(22);
        app.processEvents();
        form->airgrid()->grab().save(prefix + QStringLiteral("-airgrid.png"));
        form->openStringEditor();
        form->srForm()->Command1->click();
        app.processEvents();
        form->srForm()->grab().save(prefix + QStringLiteral("-strings.png"));

        auto *browser = new frmBrowser(windows.selector()->ModFolder(), windows.prompt(), form);
        browser->show();
        QEventLoop wait;
        QObject::connect(browser->brwWebBrowser, &QWebEngineView::loadFinished, &wait,
                         &QEventLoop::quit);
        QTimer::singleShot(10000, &wait, &QEventLoop::quit);
        wait.exec();
        // The page is drawn a moment after it has loaded.
        QTimer::singleShot(500, &wait, &QEventLoop::quit);
        wait.exec();
        browser->grab().save(prefix + QStringLiteral("-browser.png"));
    } else {
        app.processEvents();
        windows.form2()->grab().save(prefix + QStringLiteral("-locator.png"));
    }
    return 0;
}

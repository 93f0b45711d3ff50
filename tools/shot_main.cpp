// SPDX-License-Identifier: GPL-3.0-or-later
// Opens the selector's windows on a game folder, as the window program would, and saves a
// picture of each (the window's own grab) for looking at the program without a screen: the
// pages of the main window, then the planes.dat editor, the string file editor and the
// links browser, and the progress dialog over the main window while a large folder loads.
//   vekselector-shot GAME_FOLDER OUT_PREFIX
#include "Airgrid.h"
#include "Form2.h"
#include "GeneralPage.h"
#include "LoadFiles.h"
#include "Niteform.h"
#include "ProgressWindow.h"
#include "SRForm.h"
#include "Selector.h"
#include "SelectorApplication.h"
#include "SelectorWindows.h"
#include "VEKForm.h"
#include "frmBrowser.h"

#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
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
    SelectorApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: vekselector-shot GAME_FOLDER OUT_PREFIX\n";
        return 2;
    }
    QDir::setCurrent(args.at(1));
    // A made-up folder of many small files, for the progress dialog; it goes again at the end.
    QFile last(QStringLiteral("LastVEKDir"));
    const QString vek = last.open(QIODevice::ReadOnly)
                            ? QString::fromLocal8Bit(last.readLine()).trimmed()
                            : QString();
    const QString big = vek + QStringLiteral("/G-Big Scenery Pack");
    if (!vek.isEmpty() && QDir().mkpath(big))
        for (int i = 0; i < 3 * ProgressWindow::Threshold; ++i) {
            QFile f(QStringLiteral("%1/TILE%2.TER").arg(big).arg(i, 4, 10, QLatin1Char('0')));
            if (f.open(QIODevice::WriteOnly))
                f.write(QByteArray(512, 't'));
        }
    SelectorWindows windows;
    if (!windows.start(QDir::currentPath()))
        return 3;
    const QString prefix = args.at(2);
    if (VEKForm *form = windows.vekForm()) {
        // Nobody is there to answer a message (a side window's, the one that tells of the
        // cancel below): each is answered OK, so the pictures go on.
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        answer.start(100);
        for (int i = 0; i < form->SSTab1->count(); ++i) {
            form->SSTab1->setCurrentIndex(i);
            app.processEvents();
            form->grab().save(QStringLiteral("%1-page%2.png").arg(prefix).arg(i));
        }
        form->general->Command14->click();
        app.processEvents();
        if (form->general->niteform)
            form->general->niteform->grab().save(prefix + QStringLiteral("-niteform.png"));
        // The planes.dat editor opens only over a loaded aircraft set's planes.dat.
        form->openAirgrid();
        if (form->airgrid()) {
            form->airgrid()->List1->setCurrentRow(22);
            app.processEvents();
            form->airgrid()->grab().save(prefix + QStringLiteral("-airgrid.png"));
        }
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

        // The dialog drawn over the middle of the main window, at 40 percent; then Cancel.
        ProgressWindow *progress = form->progress;
        progress->setInterval(0);
        form->SSTab1->setCurrentIndex(1);
        QObject::connect(progress, &ProgressWindow::shown, progress,
                         [&](qsizetype done, const QString &) {
                             if (done != progress->filesTotal() * 2 / 5)
                                 return;
                             QImage picture = form->grab().toImage();
                             const QImage dialog = progress->grab().toImage();
                             QPainter painter(&picture);
                             const QRect at((picture.width() - dialog.width()) / 2,
                                            (picture.height() - dialog.height()) / 2,
                                            dialog.width(), dialog.height());
                             painter.drawImage(at.topLeft(), dialog);
                             painter.setPen(Qt::darkGray);
                             painter.drawRect(at.adjusted(-1, -1, 0, 0));
                             painter.end();
                             picture.save(prefix + QStringLiteral("-progress.png"));
                             progress->Cancel->click();
                         });
        Selector &selector = *windows.selector();
        selector.loadFiles().click(selector.Unigrid.find(QStringLiteral("G-Big Scenery Pack")));
        QDir(big).removeRecursively();
    } else {
        app.processEvents();
        windows.form2()->grab().save(prefix + QStringLiteral("-locator.png"));
    }
    return 0;
}

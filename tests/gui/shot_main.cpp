// Opens the selector's windows on a game folder, as the window program would, and saves a
// picture of each (the window's own grab) for looking at the program without a screen.
//   vekselector-shot GAME_FOLDER OUT_PREFIX
#include "Form2.h"
#include "GeneralPage.h"
#include "Niteform.h"
#include "SelectorWindows.h"
#include "VEKForm.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

int main(int argc, char *argv[]) {
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
    } else {
        app.processEvents();
        windows.form2()->grab().save(prefix + QStringLiteral("-locator.png"));
    }
    return 0;
}

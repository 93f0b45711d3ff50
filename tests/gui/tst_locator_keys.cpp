// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoWindows.h"
#include "FolderListBox.h"
#include "Form2.h"
#include "GameFolderChoice.h"
#include "Rows.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// What the player does in the locator, which starts in the game folder under "VEK Folder".
enum class Step {
    TypeVek,         // types the VEK folder's path and presses Enter
    TypeHomeVek,     // the same, written from "~/"
    TypeNothing,     // a path that is no folder
    FindGameThenEaw, // opens the game folder in the list, then picks "EAW Folder"
    FindRootThenEaw, // opens a folder that is no game folder, then picks "EAW Folder"
    EnterOnOk,       // with the VEK folder chosen: Enter on the focused OK
    EnterOnList,     // the same, Enter on the folder list: it opens the entry, not OK
    Escape,          // Escape
    RecentByKeys,    // started outside a game folder: Down on "Recent game folders", then the
                     // VEK folder typed; OK's reason follows each step
};

struct LocatorCase {
    const char *tag;
    Step step;
    bool vekChosen;          // Label1 shows the VEK folder
    bool mainWindow;         // the main window opened
    bool locatorShown;       // the locator is still on the screen
    const char *reason;      // part of what the locator says under OK
    bool recentGame = false; // the EAW folder is the recent one, not the one started in
};

} // namespace

Q_DECLARE_METATYPE(LocatorCase)

class TestLocatorKeys : public QObject {
    Q_OBJECT
private slots:
    void locatorTakesTypedFoldersAndKeys_data() {
        const LocatorCase rows[] = {
            {"typed path", Step::TypeVek, true, false, true, ""},
            {"typed from the home folder", Step::TypeHomeVek, true, false, true, ""},
            {"typed path that is no folder", Step::TypeNothing, false, false, true,
             "There is no folder"},
            {"EAW Folder takes the open game folder", Step::FindGameThenEaw, false, false, true,
             ""},
            {"EAW Folder keeps the game folder over another", Step::FindRootThenEaw, false, false,
             true, ""},
            {"Enter on OK", Step::EnterOnOk, true, true, false, ""},
            {"Enter on the folder list", Step::EnterOnList, false, false, true, ""},
            {"Escape", Step::Escape, false, false, false, ""},
            {"a recent game folder by keys", Step::RecentByKeys, true, false, true, "", true},
        };
        addRows(rows);
    }

    void locatorTakesTypedFoldersAndKeys() {
        QFETCH(LocatorCase, row);
        DemoWindows w(TestFolders::WithGameFiles);
        auto &[f, prompt, windows] = w;
        // The VEK folder inside the home folder, so that "~/" reaches it.
        qputenv("HOME", QFile::encodeName(f.root()));
        const QString recent = f.root() + QStringLiteral("/Recent EAW");
        TestFolders::write(recent, QStringLiteral("EAW.EXE"), "x");
        GameFolderChoice::remember(recent);
        QVERIFY(windows.start(row.step == Step::RecentByKeys ? f.root() : f.game()));
        Form2 *form = windows.form2();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        auto type = [&](const QString &path) {
            form->Path->setFocus();
            form->Path->setText(path);
            QTest::keyClick(form->Path, Qt::Key_Return);
        };
        switch (row.step) {
        case Step::TypeVek:
            type(QDir::toNativeSeparators(f.vek()));
            break;
        case Step::TypeHomeVek:
            type(QStringLiteral("~/") + QDir(f.root()).relativeFilePath(f.vek()));
            break;
        case Step::TypeNothing:
            type(f.root() + QStringLiteral("/nowhere"));
            break;
        case Step::FindGameThenEaw:
        case Step::FindRootThenEaw:
            form->Dir1->setPath(f.root());
            form->Option1[1]->click();
            if (row.step == Step::FindGameThenEaw) {
                form->Dir1->setPath(f.vek()); // under "EAW Folder": Label3 follows the list
                form->Dir1->setPath(f.root());
                form->Option1[0]->click();
                form->Dir1->setPath(f.game()); // under "VEK Folder": Label1 takes it
                form->Option1[1]->click();
            }
            break;
        case Step::EnterOnOk:
        case Step::EnterOnList:
            if (row.step == Step::EnterOnOk)
                form->Dir1->setPath(f.vek());
            (row.step == Step::EnterOnOk ? static_cast<QWidget *>(form->Command1) : form->Dir1)
                ->setFocus();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            break;
        case Step::Escape:
            QTest::keyClick(form, Qt::Key_Escape);
            break;
        case Step::RecentByKeys:
            QVERIFY(form->Reason->text().contains(QStringLiteral("is not the EAW folder")));
            form->RecentGames->setFocus();
            QTest::keyClick(form->RecentGames, Qt::Key_Down);
            QCOMPARE(form->Label3->text(), QDir::toNativeSeparators(recent));
            QVERIFY2(form->Reason->text().startsWith(QStringLiteral("Choose the VEK folder")) &&
                         !form->Reason->text().contains(QStringLiteral("EAW")),
                     qPrintable(form->Reason->text()));
            QVERIFY(!form->Command1->isEnabled());
            type(QDir::toNativeSeparators(f.vek()));
            QVERIFY(form->Command1->isEnabled());
            break;
        }
        QCOMPARE(form->Label1->text() == QDir::toNativeSeparators(f.vek()), row.vekChosen);
        // The game folder stays the one that has the game.
        QCOMPARE(form->Label3->text(),
                 QDir::toNativeSeparators(row.recentGame ? recent : f.game()));
        QCOMPARE(windows.vekForm() != nullptr && windows.vekForm()->isVisible(), row.mainWindow);
        QCOMPARE(form->isVisible(), row.locatorShown);
        QVERIFY2(form->Reason->text().contains(QString::fromUtf8(row.reason)),
                 qPrintable(form->Reason->text()));
        if (row.vekChosen && !row.mainWindow)
            QCOMPARE(form->Dir1->path(), f.vek());
    }
};

QTEST_MAIN(TestLocatorKeys)
#include "tst_locator_keys.moc"

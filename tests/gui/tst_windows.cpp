// SPDX-License-Identifier: GPL-3.0-or-later
#include "Airgrid.h"
#include "Autoscripts.h"
#include "AutoscriptsPage.h"
#include "ClickableLabel.h"
#include "CompleteReset.h"
#include "Contrast.h"
#include "DemoWindows.h"
#include "FileBytes.h"
#include "FileMover.h"
#include "FlexGrid.h"
#include "FolderLine.h"
#include "FolderListBox.h"
#include "Form2.h"
#include "FuelGrid.h"
#include "FuelPage.h"
#include "GeneralPage.h"
#include "InstanceGuard.h"
#include "Ledgers.h"
#include "LoadFiles.h"
#include "LoadFilesPage.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "LoadedPage.h"
#include "PictureBox.h"
#include "Planes.h"
#include "PlanesSkinsPage.h"
#include "ProgressWindow.h"
#include "Rows.h"
#include "ScriptedPrompt.h"
#include "Selector.h"
#include "SelectorWindows.h"
#include "Skins.h"
#include "TestFolders.h"
#include "VEKForm.h"
#include "Views.h"

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <limits>

namespace {
QByteArray png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
const QString kLate = QStringLiteral("F-Late war fighters");

void clickCell(QAbstractItemView *view, const QModelIndex &cell) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cell).center());
}

// How well the text of a picture reads: the contrast between its most common colour (the
// background) and the colour farthest from it (the core of the letters).
double textContrast(const QImage &picture) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, Contrast::ratio(QColor(background), QColor(it.key())));
    return best;
}

/// The controls of a window (side windows included) that the keyboard reaches but a screen
/// reader would have no name for.
QStringList unnamedControls(const QWidget *window) {
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || w->isHidden())
            continue;
        const QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName();
    }
    return unnamed;
}

QPalette darkPalette() {
    QPalette p;
    const QColor window(53, 53, 53), base(36, 36, 36), text(238, 238, 236);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(53, 132, 228));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}
} // namespace

class TestWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void locatorShowsItsControlsAndOkOpensTheMainWindow();
    void rememberedFolderOpensTheMainWindowDirectly();
    void secondInstanceIsRefusedWithTheMessage();
    void busyGameFolderKeepsTheLocator();
    void actionsKeepThePlayersPlace_data();
    void actionsKeepThePlayersPlace();
    void bigStepsAskFirst_data();
    void bigStepsAskFirst();
    void newVekDirectoryGoesBackToTheLocator_data();
    void newVekDirectoryGoesBackToTheLocator();
    void pointingAtARowTellsWhatItsLoadReplaces();
    void gridsShowWholeRowsAndNames();
    void keysDoWhatThePointerDoes();
    void statusLineSaysWhatTheClickDid();
    void foldersAddedOrRemovedShowWithoutARestart();
    void colouredTextReads_data();
    void colouredTextReads();
    void progressDialogOverTheThreshold_data();
    void progressDialogOverTheThreshold();
    void launchLeavesTheWindowMinimisedOnlyOnceStarted_data();
    void launchLeavesTheWindowMinimisedOnlyOnceStarted();
};

void TestWindows::locatorShowsItsControlsAndOkOpensTheMainWindow() {
    DemoWindows w(TestFolders::WithGameFiles);
    auto &[f, prompt, windows] = w;
    QVERIFY(windows.start(f.game()));
    Form2 *form = windows.form2();
    QVERIFY(form->isVisible());
    QVERIFY(!windows.vekForm());
    QCOMPARE(form->windowTitle(), QStringLiteral("VEK/EAW Directory Locator"));
    auto *vekOption = form->findChild<QRadioButton *>(QStringLiteral("Option1(0)"));
    auto *eawOption = form->findChild<QRadioButton *>(QStringLiteral("Option1(1)"));
    QVERIFY(vekOption && eawOption);
    QCOMPARE(unnamedControls(form).join(','), QString());
    QCOMPARE(vekOption->text(), QStringLiteral("VEK Folder"));
    QCOMPARE(eawOption->text(), QStringLiteral("EAW Folder"));
    QVERIFY(vekOption->isChecked());
    QCOMPARE(vekOption->palette().color(QPalette::Window), QColor(255, 192, 192));
    QCOMPARE(eawOption->palette().color(QPalette::Window), QColor(192, 192, 255));
    auto *label1 = form->findChild<QLabel *>(QStringLiteral("Label1"));
    auto *label3 = form->findChild<QLabel *>(QStringLiteral("Label3"));
    QCOMPARE(label1->palette().color(QPalette::Window), QColor(255, 192, 192));
    QCOMPARE(label3->palette().color(QPalette::Window), QColor(192, 192, 255));
    QVERIFY(label1->text().isEmpty());
    QCOMPARE(label3->text(), QDir::toNativeSeparators(f.game()));
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Label2"))->text(),
             QStringLiteral("Locate the EAW and VEK Folders that you want to use, then click the "
                            "OK Launch the selector button."));
    auto *ok = form->findChild<QPushButton *>(QStringLiteral("Command1"));
    QCOMPARE(ok->text(), QStringLiteral("OK Launch the selector!"));
    QVERIFY(!ok->isEnabled());
    QVERIFY(form->findChild<QWidget *>(QStringLiteral("Drive1")));
    QCOMPARE(form->findChild<FolderListBox *>(QStringLiteral("Dir1"))->path(), f.game());

    form->Dir1->setPath(f.vek());
    QVERIFY(form->Command1->isEnabled());
    QCOMPARE(form->Label1->text(), QDir::toNativeSeparators(f.vek()));
    form->Dir1->setPath(f.root());
    QVERIFY(!form->Command1->isEnabled());
    // The game folder follows the folder list only under "EAW Folder".
    form->Option1[1]->click();
    form->Dir1->setPath(f.game());
    QCOMPARE(form->Label1->text(), QDir::toNativeSeparators(f.root()));
    form->Option1[0]->click();
    form->Dir1->setPath(f.vek());
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QVERIFY(windows.vekForm());
    QVERIFY(windows.vekForm()->isVisible());
    QVERIFY(!form->isVisible());
    QCOMPARE(windows.selector()->ModFolder(), f.vek());
    QCOMPARE(windows.selector()->GameFolder(), f.game());
    QCOMPARE(TestFolders::read(f.game(), QStringLiteral("LastVEKDir")),
             f.vek().toLocal8Bit() + "\r\n");
}

void TestWindows::rememberedFolderOpensTheMainWindowDirectly() {
    DemoWindows w(TestFolders::WithGameFiles);
    auto &[f, prompt, windows] = w;
    TestFolders::write(f.game(), QStringLiteral("Background"), png(64, 48));
    TestFolders::write(f.vek(), QStringLiteral("newpic"), png(20, 20));
    TestFolders::write(f.vek() + QStringLiteral("/A-One"), QStringLiteral("contents.txt"), "one");
    TestFolders::write(f.vek(), QStringLiteral("FoldersLoaded.txt"), "A-One\r\n\r\n");
    QVERIFY(w.start());
    QVERIFY(!windows.form2()->isVisible());
    VEKForm *form = windows.vekForm();
    QVERIFY(form && form->isVisible());
    // The title and the line at the foot say which folders the window works on; a path too
    // long for its half of the line loses its middle, never its name or its whole.
    const QString game = QDir::toNativeSeparators(f.game());
    QCOMPARE(form->windowTitle(),
             QStringLiteral("VEKSelector V120B (With Nightswitch facility) \u2014 ") + game);
    const QString vek = QDir::toNativeSeparators(f.vek());
    form->resize(1600, form->height());
    QVERIFY(QTest::qWaitForWindowExposed(form));
    const QString longGame = f.game() + QStringLiteral("/deep").repeated(40);
    FolderLine narrow(longGame, f.vek());
    narrow.resize(500, narrow.sizeHint().height());
    narrow.show();
    for (auto [label, path, whole] :
         {std::tuple(form->folderLine->Game, "Game folder: " + game, true),
          std::tuple(form->folderLine->Vek, "VEK folder: " + vek, true),
          std::tuple(narrow.Game, "Game folder: " + QDir::toNativeSeparators(longGame), false)}) {
        QCOMPARE(label->accessibleName(), path);
        QCOMPARE(label->toolTip(), path);
        QCOMPARE(label->text() == path, whole);
        QVERIFY2(label->text().startsWith(path.left(path.indexOf(QLatin1Char(':')) + 3)) &&
                     label->text().right(8) == path.right(8),
                 qPrintable(label->text()));
    }
    QStringList tabs;
    for (int i = 0; i < form->SSTab1->count(); ++i)
        tabs << form->SSTab1->tabText(i);
    QCOMPARE(tabs, QStringList({"General", "Load Files", "Planes and Skins", "What is loaded!",
                                "Autoscripts", "Fuel"}));
    QCOMPARE(form->SSTab1->currentIndex(), 0);
    auto *list3 = form->findChild<QListWidget *>(QStringLiteral("List3"));
    QCOMPARE(columnOf(list3->model()), QStringList({"Show ALL", "Show Selections", "Aircraft",
                                                    "General", "Missions", "Flight"}));
    QCOMPARE(list3->currentRow(), 0);
    auto *credits = form->findChild<ClickableLabel *>(QStringLiteral("Label3"));
    QVERIFY(
        credits->text().endsWith(QStringLiteral("\nClick here for Support, Links and Downloads")));
    QVERIFY(form->findChild<PictureBox *>(QStringLiteral("Image1(0)"))->hasPicture());
    QVERIFY(form->findChild<PictureBox *>(QStringLiteral("Image3"))->hasPicture());
    QCOMPARE(form->findChild<QLabel *>(QStringLiteral("Label8"))->text(),
             QStringLiteral("A-One\n"));
    QVERIFY(prompt.shown.isEmpty());
}

void TestWindows::secondInstanceIsRefusedWithTheMessage() {
    DemoWindows w(TestFolders::WithGameFiles);
    auto &[f, prompt, windows] = w;
    InstanceGuard first;
    QVERIFY(first.tryAcquire());
    QVERIFY(!windows.start(f.game()));
    QVERIFY(!windows.form2());
    QCOMPARE(prompt.shown.size(), 1);
    QCOMPARE(prompt.shown.at(0).title, QStringLiteral("Hang On..........."));
    QCOMPARE(prompt.shown.at(0).text,
             QStringLiteral("We know you would love our software, but you really \r\ndon't have "
                            "to run it more than once.\r\n\r\nYou have probably minimised a "
                            "version already running,\r\nand it has been waiting patiently for "
                            "you \r\nat the bottom of your screen!"));
    QCOMPARE(prompt.shown.at(0).icon, Prompt::Icon::Exclamation);
    QCOMPARE(prompt.shown.at(0).buttons, Prompt::Buttons::Ok);
    QVERIFY(!TestFolders::exists(f.game(), QStringLiteral("LastVEKDir")));
}

void TestWindows::busyGameFolderKeepsTheLocator() {
    DemoWindows w(TestFolders::WithGameFiles);
    auto &[f, prompt, windows] = w;
    InstanceGuard other; // another run, with a temp folder of its own, working in the game folder
    QCOMPARE(other.lockGameFolder(f.game()), InstanceGuard::Outcome::Taken);
    QVERIFY(w.start());
    QVERIFY(!windows.vekForm());
    QVERIFY(windows.form2() && windows.form2()->isVisible());
    QCOMPARE(prompt.shown.size(), 1);
    QVERIFY2(prompt.shown.at(0).text.contains(QStringLiteral("Another VEK Selector is working")),
             qPrintable(prompt.shown.at(0).text));
    // Once the other run has ended, OK opens the main window.
    other.release();
    QVERIFY(windows.ok());
    QVERIFY(windows.vekForm());
}

namespace {
/// One thing the player does on a page of the main window, and where it must leave them.
struct PlayerAction {
    bool many;      // 1,000 more content folders, for a long load grid
    QString before; // a content folder loaded before the window opens
    int page;
    QString control;       // where the player acts
    int scrollTo;          // row scrolled to the top first, or -1
    int row, column;       // the cell clicked, or where the keys start (row -1: as is)
    QString keys;          // empty: a mouse click on the cell
    int endRow, endColumn; // the current cell afterwards (row -1: not a grid)
    QString changed;       // the game file the action changes; empty: none
};

/// What the main window shows in the widgets that keep a copy of the engine's state (texts,
/// lists, ticks, rows hidden by a filter), one line per widget.
QStringList windowShows(const QWidget *form) {
    QStringList lines;
    for (const QWidget *w : form->findChildren<QWidget *>()) {
        QString line = w->objectName() + (w->isHidden() ? QStringLiteral(" hidden") : QString());
        if (const auto *label = qobject_cast<const QLabel *>(w))
            line += QLatin1Char(' ') + label->text();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            line += QStringLiteral(" %1 %2").arg(button->text()).arg(button->isChecked());
        else if (const auto *box = qobject_cast<const QGroupBox *>(w))
            line += QLatin1Char(' ') + box->title();
        else if (const auto *text = qobject_cast<const QPlainTextEdit *>(w))
            line += QLatin1Char(' ') + text->toPlainText();
        else if (const auto *list = qobject_cast<const QListWidget *>(w)) {
            line += QStringLiteral(" at %1:").arg(list->currentRow());
            for (int i = 0; i < list->count(); ++i)
                line += QLatin1Char(' ') + list->item(i)->text();
        } else if (const auto *table = qobject_cast<const QTableView *>(w)) {
            line += QStringLiteral(" at %1,%2 hides")
                        .arg(table->currentIndex().row())
                        .arg(table->currentIndex().column());
            for (int r = 0; r < table->model()->rowCount(); ++r)
                if (table->isRowHidden(r))
                    line += QStringLiteral(" %1").arg(r);
        } else
            continue;
        lines << line;
    }
    return lines;
}

/// Sends a space-separated list of key names ("Tab", "Down", "Return", ...) to whatever
/// has the keyboard focus, as the player's keyboard would.
void press(const QString &keys) {
    static const QHash<QString, Qt::Key> names = {
        {"Tab", Qt::Key_Tab},     {"Down", Qt::Key_Down},   {"Up", Qt::Key_Up},
        {"Left", Qt::Key_Left},   {"Right", Qt::Key_Right}, {"Return", Qt::Key_Return},
        {"Enter", Qt::Key_Enter}, {"Space", Qt::Key_Space}};
    for (const QString &key : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QVERIFY2(names.contains(key), qPrintable(key));
        QVERIFY(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), names.value(key));
    }
}
} // namespace

Q_DECLARE_METATYPE(PlayerAction)

void TestWindows::actionsKeepThePlayersPlace_data() {
    QTest::addColumn<PlayerAction>("action");
    const QString late = kLate;
    const std::pair<const char *, PlayerAction> rows[] = {
        {"load grid: click loads", {false, "", 1, "Unigrid", -1, 6, 1, "", 6, 1, "spit16.3dz"}},
        // The player's way in from the tab bar.
        {"load grid: Tab in, Down, Enter loads",
         {false, "", 1, "Unigrid", -1, -1, 1, "Tab Down Return", 1, 1, "109g.3dz"}},
        {"load grid: Space on a loaded row unloads",
         {false, late, 1, "Unigrid", -1, 6, 1, "Space", 6, 1, "spit16.3dz"}},
        {"load grid, 1,000 folders: a click far down keeps the row in place",
         {true, "", 1, "Unigrid", 480, 495, 1, "", 495, 1, "extra0493.dat"}},
        {"load grid, 1,000 folders: keys far down",
         {true, "", 1, "Unigrid", 700, 705, 1, "Down Down Return", 707, 1, "extra0705.dat"}},
        {"group filter", {false, "", 1, "List3", -1, 2, 0, "", 2, 0, ""}},
        {"aircraft grid: click swaps", {false, late, 2, "G1", -1, 0, 3, "", 0, 3, "planes.dat"}},
        {"aircraft grid: Up, Space swaps",
         {false, late, 2, "G1", -1, 2, 3, "Up Up Space", 0, 3, "pnames.str"}},
        {"slot filter", {false, late, 2, "List1", -1, 12, 0, "", 12, 0, ""}},
        {"fuel grid: click writes a load",
         {false, late, 5, "Fuel", 12, 20, 4, "", 20, 4, "planes.dat"}},
        {"fuel grid: Right, Down, Enter",
         {false, late, 5, "Fuel", -1, 3, 4, "Right Down Enter", 4, 5, "planes.dat"}},
        {"skin grid: Enter loads",
         {false, "", 2, "SK1", -1, 2, 0, "Down Return", 3, 0, "109e01.tpc"}},
        {"skin grid: a double-click loads",
         {false, "", 2, "SK1", -1, 4, 0, "DoubleClick", 4, 0, "190a01.tpc"}},
        {"autoscript list", {false, "", 4, "File10", -1, 1, 0, "", 1, 0, ""}},
        {"reset on Autoscripts", {false, late, 4, "Command11", -1, -1, 0, "", -1, 0, "spit16.3dz"}},
        {"General: an option", {false, "", 0, "Option2(0)", -1, -1, 0, "", -1, 0, "eaw.ini"}},
        {"General: a keyboard feature",
         {false, "", 0, "Option13(1)", -1, -1, 0, "", -1, 0, "eaw.ini"}},
        {"General: a music set", {false, "", 0, "Option12(1)", -1, -1, 0, "", -1, 0, ""}},
    };
    for (const auto &[tag, action] : rows)
        QTest::newRow(tag) << action;
}

void TestWindows::actionsKeepThePlayersPlace() {
    QFETCH(PlayerAction, action);
    const auto &[many, before, page, control, scrollTo, row, column, keys, endRow, endColumn,
                 changed] = action;
    DemoWindows demo;
    auto &[f, prompt, windows] = demo;
    for (int i = 0; many && i < 1000; ++i)
        TestFolders::write(f.vek() + QStringLiteral("/A-Extra %1").arg(i, 4, 10, QChar('0')),
                           QStringLiteral("extra%1.dat").arg(i, 4, 10, QChar('0')), "x");
    QVERIFY(demo.start());
    VEKForm *form = windows.vekForm();
    form->resize(900, 520);
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
    QCOMPARE(form->SSTab1->currentIndex(), 0);
    if (!before.isEmpty())
        demo.load(before);

    // To the page by the keyboard: forward from "General", or backward round the end.
    for (int i = 0; i < (page <= 3 ? page : 6 - page); ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form,
                        Qt::Key_Tab,
                        page <= 3 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(form->SSTab1->currentIndex(), page);

    // Views first: the page "Fuel" and its grid share a name.
    auto *view = form->findChild<QAbstractItemView *>(control);
    QWidget *target = view ? view : form->findChild<QWidget *>(control);
    QVERIFY2(target && target->isVisible(), qPrintable(control));
    if (view && scrollTo >= 0) {
        view->scrollTo(view->model()->index(scrollTo, column), QAbstractItemView::PositionAtTop);
        QVERIFY(view->verticalScrollBar()->value() > 0);
    }
    // The keys before the last move the current cell; the last one (or a click) acts.
    QStringList moves = keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString act = moves.isEmpty() ? QString() : moves.takeLast();
    if (view && row >= 0 && !act.isEmpty() && act != QLatin1String("DoubleClick")) {
        view->setFocus();
        view->setCurrentIndex(view->model()->index(row, column));
    }
    press(moves.join(QLatin1Char(' ')));
    const QMap<QString, QByteArray> was = filesOf(f.game());
    const QAbstractItemModel *loadGrid = form->loadFiles->Unigrid->model();
    QSignalSpy loadGridCells(loadGrid, &QAbstractItemModel::dataChanged);
    QSignalSpy loadGridRows(loadGrid, &QAbstractItemModel::modelReset);
    const int scrolled = view ? view->verticalScrollBar()->value() : 0;
    const QRect place = view ? view->visualRect(view->model()->index(endRow, endColumn)) : QRect();
    if (!view)
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
    else if (act.isEmpty())
        clickCell(view, view->model()->index(row, column));
    else if (act == QLatin1String("DoubleClick")) {
        // A player's double-click: the first click arrives as a click of its own.
        clickCell(view, view->model()->index(row, column));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                           view->visualRect(view->model()->index(row, column)).center());
    } else
        press(act);
    // Where the player is: the same page, the same current cell, the same scroll position and
    // so the same place on the screen.
    QApplication::processEvents();
    QCOMPARE(form->SSTab1->currentIndex(), page);
    if (view) {
        QCOMPARE(view->currentIndex(), view->model()->index(endRow, endColumn));
        QCOMPARE(view->verticalScrollBar()->value(), scrolled);
        QCOMPARE(view->visualRect(view->currentIndex()), place);
        QVERIFY(view->viewport()->rect().contains(place.center()));
    }
    // Only what the action changed was shown again, and that was all: showing everything
    // again changes nothing on the screen. The load grid, the longest, is left alone by the
    // other pages' actions.
    const QStringList shown = windowShows(form);
    QCOMPARE(loadGridCells.count() + loadGridRows.count() > 0,
             page == 1 || control == QLatin1String("Command11"));
    form->refresh();
    QCOMPARE(windowShows(form), shown);
    const QMap<QString, QByteArray> now = filesOf(f.game());
    if (changed.isEmpty())
        QCOMPARE(now, was);
    else
        QVERIFY2(now.value(changed) != was.value(changed), qPrintable(changed));
    // Nothing is told; only the reset asks first (answered OK), and its sweep tells where it
    // moved the demo's loose files.
    const bool asks = control == QLatin1String("Command11");
    QCOMPARE(prompt.shown.size(), asks ? 2 : 0);
    if (asks) {
        QCOMPARE(prompt.shown.first().buttons, Prompt::Buttons::OkCancel);
        QVERIFY(
            prompt.shown.last().text.contains(QLatin1String("so they were moved, not deleted")));
    }
}

/// "Save current settings" clicked, with `name` typed into the autoscript name box first, the
/// question it asks (if `asked`) answered with `answer`; `done`: the step was taken. (The reset's
/// question is asked in tst_window_keys, in the window's own box.)
struct BigStep {
    const char *tag, *name;
    bool answer, asked, done;
};

void TestWindows::bigStepsAskFirst_data() {
    const BigStep rows[] = {
        {"save over a script, OK", "late war escort", true, true, true},
        {"save over a script, Cancel", "Late war escort", false, true, false},
        {"save under a new name", "Mine", false, false, true},
    };
    addRows(rows);
}

// The window asks before a step that is hard to take back, and Cancel changes nothing.
void TestWindows::bigStepsAskFirst() {
    QFETCH(BigStep, row);
    const QString name = row.name;
    const bool answer = row.answer, asked = row.asked, done = row.done;
    DemoWindows w(TestFolders::Demo, {answer});
    auto &[f, prompt, windows] = w;
    QVERIFY(w.start());
    w.load(kLate);
    auto *box = w.form()->findChild<QLineEdit *>(QStringLiteral("Text1"));
    QVERIFY(box);
    // The name box starts empty, with its hint.
    QVERIFY(box->text().isEmpty());
    QCOMPARE(box->placeholderText(), QStringLiteral("Enter Autoscript Filename"));
    QTest::keyClicks(box, name);
    const QByteArray scriptBefore = TestFolders::read(f.vek() + "/Autoscripts", "Late war escort");
    w.form()->autoscripts->Command7->click();
    QCOMPARE(!prompt.shown.isEmpty() && prompt.shown.first().buttons == Prompt::Buttons::OkCancel,
             asked);
    const bool replaced =
        TestFolders::read(f.vek() + "/Autoscripts", "Late war escort") != scriptBefore;
    if (name.compare("Late war escort", Qt::CaseInsensitive) == 0)
        QCOMPARE(replaced, done);
    else
        QVERIFY(!replaced && QFile::exists(f.vek() + QStringLiteral("/Autoscripts/") + name));
}

void TestWindows::newVekDirectoryGoesBackToTheLocator_data() {
    // "Command9", or a click ("Restore my original eaw.ini") that finds the VEK folder gone
    // and asks, answered OK or Cancel.
    QTest::addColumn<QString>("how");
    for (const char *how : {"Command9", "VEK folder gone, OK", "VEK folder gone, Cancel"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestWindows::newVekDirectoryGoesBackToTheLocator() {
    QFETCH(QString, how);
    const bool gone = how != QLatin1String("Command9");
    const bool ok = !how.endsWith(QLatin1String("Cancel"));
    DemoWindows w(TestFolders::WithGameFiles, {ok});
    auto &[f, prompt, windows] = w;
    TestFolders::write(f.vek() + QStringLiteral("/G-Kept"), QStringLiteral("contents.txt"), "k");
    TestFolders::write(f.vek(), QStringLiteral("FoldersLoaded.txt"), "G-Kept\r\n\r\n");
    QVERIFY(w.start());
    TestFolders::write(f.vek(), QStringLiteral("FoldersLoaded.txt"), "");
    QPointer<VEKForm> form = windows.vekForm();
    form->SSTab1->setCurrentIndex(3);
    QVERIFY(prompt.shown.isEmpty());
    const QString moved = f.root() + QStringLiteral("/VEK moved");
    if (gone) {
        QVERIFY(QDir().rename(f.vek(), moved));
        form->general->Command2->click();
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY2(prompt.shown.at(0).text.contains(QStringLiteral("is gone")),
                 qPrintable(prompt.shown.at(0).text));
        if (!ok) {
            QCoreApplication::processEvents();
            QVERIFY(windows.vekForm() && windows.vekForm()->isVisible());
            QVERIFY(!windows.form2()->isVisible());
            return;
        }
        // The window goes once the click has returned; the player then puts the folder back.
        QTRY_VERIFY(!windows.vekForm());
        QVERIFY(QDir().rename(moved, f.vek()));
    } else {
        form->general->Command9->click();
        // The loaded list is written as it stands.
        QCOMPARE(TestFolders::read(f.vek(), QStringLiteral("FoldersLoaded.txt")),
                 QByteArray("G-Kept\r\n\r\n"));
    }
    // The locator comes back as it was left: the remembered folder shown, OK still to be
    // earned by choosing a VEK folder.
    QVERIFY(!windows.vekForm());
    QVERIFY(windows.form2()->isVisible());
    QCOMPARE(windows.form2()->Label1->text(), QDir::toNativeSeparators(f.vek()));
    QVERIFY(!windows.form2()->Command1->isEnabled());
    QTRY_VERIFY(form.isNull()); // the old window goes once its click has finished
    windows.form2()->Dir1->setPath(f.vek());
    windows.form2()->Command1->click();
    QVERIFY(windows.vekForm() && windows.vekForm()->isVisible());
    QCOMPARE(windows.vekForm()->SSTab1->currentIndex(), 0); // loaded anew: "General"
}

void TestWindows::pointingAtARowTellsWhatItsLoadReplaces() {
    DemoWindows demo;
    QVERIFY(demo.start());
    auto &[f, prompt, windows] = demo;
    VEKForm *form = demo.form();
    demo.expose({1100, 800});
    form->SSTab1->setCurrentWidget(form->findChild<LoadFilesPage *>());
    Selector &selector = demo.s();
    const QString coast = QStringLiteral("T-Channel coast");
    const QString clouds = QStringLiteral("G-Better clouds");
    auto *preview = form->findChild<QLabel *>(QStringLiteral("ClickPreview"));
    auto *grid = form->findChild<QTableView *>(QStringLiteral("Unigrid"));
    QVERIFY(preview && grid);
    const auto point = [&](const QString &name) {
        const QModelIndex cell = grid->model()->index(selector.Unigrid.find(name) - 1, 1);
        // A move event as the window system delivers it (QTest's move only sets the cursor
        // on a platform without one).
        const QPoint at = grid->visualRect(cell).center();
        QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid->viewport(), &move);
        return preview->isVisible() ? preview->text() : QString();
    };
    QCOMPARE(point(clouds), QStringLiteral("Loading it replaces no file in the game folder."));
    clickCell(grid, grid->model()->index(selector.Unigrid.find(coast) - 1, 1));
    QCOMPARE(selector.loadedFiles().order(), QStringList{coast});
    QCOMPARE(point(coast), QStringLiteral("Unloading it deletes 5 files from the game folder."));
    QCOMPARE(point(clouds), QStringLiteral("Loading it replaces 2 files in the game folder: 2 of "
                                           "\"T-Channel coast\"."));
    clickCell(grid, grid->model()->index(selector.Unigrid.find(clouds) - 1, 1));
    // The click's own refresh tells what a second click would do now.
    QCOMPARE(preview->text(), QStringLiteral("Unloading it deletes 3 files from the game folder. "
                                             "Folders that stay loaded carry some of them too, so "
                                             "they come back: 2 from \"T-Channel coast\"."));

    // The pointer on the filter list takes the description and the picture away.
    auto *list = form->findChild<QListWidget *>(QStringLiteral("List3"));
    auto *label = form->findChild<QLabel *>(QStringLiteral("MyLabel"));
    auto *image = form->findChild<PictureBox *>(QStringLiteral("MyImage"));
    QVERIFY(list && label && image);
    point(coast);
    QVERIFY(!label->text().isEmpty() && !image->path().isEmpty());
    QTest::mouseMove(form->windowHandle(), list->viewport()->mapTo(form, QPoint(20, 20)));
    QCOMPARE(label->text(), QString());
    QCOMPARE(image->path(), QString());

    form->SSTab1->setCurrentIndex(3);
    auto *view = form->findChild<QTableWidget *>(QStringLiteral("Conflicts"));
    QVERIFY(view);
    QStringList rows;
    for (int r = 0; r < view->rowCount(); ++r)
        rows << view->item(r, 0)->text() + '|' + view->item(r, 1)->text() + '|' +
                    view->item(r, 2)->text();
    QCOMPARE(rows, (QStringList{QStringLiteral("clouds.tpc|G-Better clouds|T-Channel coast"),
                                QStringLiteral("sky02.pic|G-Better clouds|T-Channel coast")}));
    QVERIFY(prompt.shown.isEmpty());

    // The page shows the engine's check and repair: a deleted file is listed, Repair copies it
    // back and says so, and the next check finds all whole.
    QVERIFY(QFile::remove(f.game() + QStringLiteral("/channel.ter")));
    auto *result = form->findChild<QLabel *>(QStringLiteral("CheckResult"));
    QVERIFY(result);
    form->findChild<QPushButton *>(QStringLiteral("CheckLoadedFiles"))->click();
    QVERIFY2(result->text().contains(
                 QStringLiteral("<td style=\"padding-right:16px\">%1</td>").arg(coast)),
             qPrintable(result->text()));
    QVERIFY(result->text().contains(QStringLiteral(">missing<")));
    QVERIFY(result->text().contains(QStringLiteral(">channel.ter<")));
    form->findChild<QPushButton *>(QStringLiteral("RepairLoadedFiles"))->click();
    QVERIFY(QFile::exists(f.game() + QStringLiteral("/channel.ter")));
    QCOMPARE(result->text(), QStringLiteral("All loaded files are whole."));
    QCOMPARE(prompt.shown.size(), 1);
    QVERIFY(prompt.shown.at(0).text.endsWith(QStringLiteral("channel.ter from \"%1\"").arg(coast)));
    QCOMPARE(form->SSTab1->currentIndex(), 3);
}

// The load grid shows 25 folders at once; after a slot filter every skin name shown fits.
void TestWindows::gridsShowWholeRowsAndNames() {
    DemoWindows demo;
    for (int i = 1; i <= 30; ++i)
        TestFolders::write(demo.f.vek() + QStringLiteral("/G-Folder %1").arg(i, 2, 10, QChar('0')),
                           QStringLiteral("g%1.tpc").arg(i), "x");
    QVERIFY(demo.start());
    VEKForm *form = demo.form();
    form->SSTab1->setCurrentWidget(form->findChild<LoadFilesPage *>());
    demo.expose({1100, 1000});
    auto *grid = form->findChild<QTableView *>(QStringLiteral("Unigrid"));
    QVERIFY(grid && grid->model()->rowCount() > 30);
    // The header and 25 rows, as the rows are drawn, and no more.
    int whole = 0;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        whole += !grid->isRowHidden(r) &&
                 grid->visualRect(grid->model()->index(r, 1)).bottom() < grid->viewport()->height();
    QCOMPARE(whole, 25);

    form->SSTab1->setCurrentWidget(form->findChild<PlanesSkinsPage *>());
    auto *list = form->findChild<QListWidget *>(QStringLiteral("List1"));
    auto *skins = form->findChild<QTableView *>(QStringLiteral("SK1"));
    QVERIFY(list && skins);
    // A slot with short names, then "ALL": every name shown fits its column.
    for (const int entry : {6, 0}) {
        list->scrollToItem(list->item(entry));
        clickCell(list, list->model()->index(entry, 0));
    }
    QCOMPARE(list->currentRow(), 0);
    for (int r = 0; r < skins->model()->rowCount(); ++r) {
        QVERIFY(!skins->isRowHidden(r));
        const QString name = skins->model()->index(r, 0).data().toString();
        QVERIFY2(skins->fontMetrics().horizontalAdvance(name) < skins->columnWidth(0),
                 qPrintable(name));
    }
}

// Every path the pointer takes, taken by the keys: the script highlighted by Down is the one
// shown and run, the group reached by Down filters the grid, the description follows the
// grid's current row, and the credits are reached by Tab and opened by Enter. A click on them
// opens the links browser over the whole screen, each time. A screen reader names each control
// the keyboard reaches, side windows' too: buttons and boxes by their captions, lists and grids
// by a name of their own.
void TestWindows::keysDoWhatThePointerDoes() {
    DemoWindows demo;
    QVERIFY(demo.start());
    Selector &s = *demo.windows.selector();
    VEKForm *form = demo.windows.vekForm();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form));

    // The next page from a button: the focus moves onto the new page's script list, whose
    // first script is shown then, and the window stays on the page the player turned to.
    QListWidget *scripts = form->autoscripts->File10;
    form->SSTab1->setCurrentWidget(form->loaded);
    form->loaded->CheckLoadedFiles->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->loaded->CheckLoadedFiles, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(form->SSTab1->currentWidget(), form->autoscripts);
    QCOMPARE(QApplication::focusWidget(), scripts);
    QCOMPARE(s.autoscripts().File10Index, 0);

    QVERIFY(scripts->count() >= 2);
    clickCell(scripts, scripts->model()->index(0, 0));
    const QStringList first = s.autoscripts().List2;
    QTest::keyClick(scripts, Qt::Key_Down);
    QCOMPARE(scripts->currentRow(), 1);
    QCOMPARE(s.autoscripts().File10Index, 1);
    QVERIFY(s.autoscripts().List2 != first);
    QCOMPARE(form->autoscripts->List2->count(), s.autoscripts().List2.size());
    QTest::mouseClick(form->autoscripts->Command6, Qt::LeftButton);
    const QStringList loaded =
        s.loadedList().Label8().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    int folders = 0;
    for (const QString &entry : s.autoscripts().List2)
        if (!entry.isEmpty() && !entry.startsWith(QLatin1String("P-")))
            QVERIFY2(++folders && loaded.contains(entry), qPrintable(loaded.join('|')));
    QVERIFY(folders > 0);

    form->SSTab1->setCurrentWidget(form->loadFiles);
    auto *groups = form->findChild<QListWidget *>(QStringLiteral("List3"));
    auto *grid = form->findChild<QTableView *>(QStringLiteral("Unigrid"));
    QVERIFY(groups && grid);
    groups->setFocus(Qt::TabFocusReason);
    QTest::keyClick(groups, Qt::Key_Down);
    QTest::keyClick(groups, Qt::Key_Down);
    QCOMPARE(s.List3Index, 2);
    int shown = 0;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        shown += !grid->isRowHidden(r);
    QVERIFY(shown > 0 && shown < grid->model()->rowCount());

    QTest::keyClick(groups, Qt::Key_Up);
    QTest::keyClick(groups, Qt::Key_Up);
    QCOMPARE(s.List3Index, 0);
    grid->setFocus(Qt::TabFocusReason);
    const int hidden = s.loadFiles().LastHoverRow;
    grid->setCurrentIndex(grid->model()->index(0, 1));
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(s.loadFiles().LastHoverRow, 2);
    QVERIFY(hidden != 2);

    form->SSTab1->setCurrentWidget(form->general);
    int linksAsked = 0;
    connect(form, &VEKForm::linksRequested, this, [&] { ++linksAsked; });
    ClickableLabel *credits = form->general->Label3;
    QCOMPARE(credits->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    credits->setFocus(Qt::TabFocusReason);
    QTest::keyClick(credits, Qt::Key_Return);
    QTest::keyClick(credits, Qt::Key_Space);
    QCOMPARE(linksAsked, 2);

    // The browser as the window program opens it: a window of its own, child of the main
    // window (its web engine is not part of this test).
    QPointer<QWidget> browser;
    connect(&demo.windows, &SelectorWindows::linksRequested, form, [&] {
        if (!browser) {
            browser = new QWidget(form, Qt::Window);
            browser->setObjectName(QStringLiteral("frmBrowser"));
            browser->resize(820, 600);
        }
        browser->show();
    });
    const QRect screen = form->screen()->geometry();
    QTest::mouseClick(credits, Qt::LeftButton);
    QVERIFY(browser);
    QCOMPARE(browser->geometry(), screen);
    browser->setGeometry(100, 80, 400, 300);
    QTest::mouseClick(credits, Qt::LeftButton);
    QCOMPARE(browser->geometry(), screen);

    form->openAirgrid();
    form->openStringEditor();
    QCOMPARE(unnamedControls(form).join(','), QString());
}

// Success needs no box: the main window's status line says what the last click did.
void TestWindows::statusLineSaysWhatTheClickDid() {
    DemoWindows demo;
    QVERIFY(demo.start());
    Selector &s = *demo.windows.selector();
    VEKForm *form = demo.windows.vekForm();
    const auto shown = [&] {
        form->refresh();
        return form->StatusLine->text();
    };
    const QString desert = QStringLiteral("A-Desert Air Force"),
                  eastern = QStringLiteral("A-Eastern Front");
    int files = 0;
    for (const QString &name : QDir(demo.f.vek() + "/" + eastern).entryList(QDir::Files))
        files += !FileMover::skipped(name);
    QVERIFY(s.loadFiles().click(s.Unigrid.find(desert)));
    QVERIFY(s.loadFiles().click(s.Unigrid.find(eastern)));
    QCOMPARE(
        shown(),
        QStringLiteral("Loaded %1: %2 files; took out %3.").arg(eastern).arg(files).arg(desert));
    QVERIFY(s.loadFiles().click(s.Unigrid.find(eastern)));
    QCOMPARE(shown(), QStringLiteral("Unloaded %1: %2 files.").arg(eastern).arg(files));
    QVERIFY(s.skins().activate(s.SK1.find(QStringLiteral("A-05 Blue Nose"))));
    QVERIFY(s.skins().activate(s.SK1.find(QStringLiteral("A-05 Red Tails"))));
    QCOMPARE(shown(),
             QStringLiteral("Loaded the skin A-05 Red Tails; took out the skin A-05 Blue Nose."));
    QVERIFY(s.loadFiles().click(s.Unigrid.find(kLate)));
    QVERIFY(s.planes().click(3));
    QCOMPARE(shown(), QStringLiteral("Swapped Mustang IV into slot A-05 (P51D)."));
    QVERIFY(s.planes().fuelClick(4, 6));
    QCOMPARE(shown(), QStringLiteral("Set the fuel of P-47D to 80% (2376)."));
    QVERIFY(s.completeReset().run());
    QCOMPARE(shown(), QStringLiteral("Reset Completely took everything out."));
    // A click that fails says so, and its message box says why: a read-only game file the
    // load would replace.
    QString blocked;
    for (const QString &name : QDir(demo.f.vek() + "/" + desert).entryList(QDir::Files))
        if (blocked.isEmpty() && !FileMover::skipped(name))
            blocked = name;
    TestFolders::write(demo.f.game(), blocked, "the player's own");
    QVERIFY(QFile::setPermissions(demo.f.game() + "/" + blocked, QFileDevice::ReadOwner));
    QVERIFY(!s.loadFiles().click(s.Unigrid.find(desert)));
    QCOMPARE(shown(), QStringLiteral("Loading \"%1\" did not work: see the message.").arg(desert));
}

// A folder copied into the VEK folder, or taken away, shows in the grids without a restart;
// a loaded folder that went stays, marked, so it can still be unloaded.
void TestWindows::foldersAddedOrRemovedShowWithoutARestart() {
    DemoWindows demo;
    QVERIFY(demo.start());
    Selector &s = *demo.windows.selector();
    VEKForm *form = demo.windows.vekForm();
    auto *grid = form->findChild<QTableView *>(QStringLiteral("Unigrid"));
    auto *skins = form->findChild<QTableView *>(QStringLiteral("SK1"));
    QVERIFY(grid && skins);
    const QString desert = QStringLiteral("A-Desert Air Force");
    QVERIFY(s.loadFiles().click(s.Unigrid.find(desert)));
    const int rows = grid->model()->rowCount(), skinRows = skins->model()->rowCount();

    // The player's place is a name: a row that comes above it does not move it.
    const QString late = kLate;
    grid->setCurrentIndex(grid->model()->index(columnOf(grid->model(), 1).indexOf(late), 1));
    TestFolders::write(demo.f.vek() + "/A-Fresh", "fresh.3dz", "new");
    TestFolders::write(demo.f.vek() + "/Skinfolder/A-07 Fresh paint", "fresh.tpc", "new");
    QTRY_COMPARE(grid->model()->rowCount(), rows + 1);
    QTRY_COMPARE(skins->model()->rowCount(), skinRows + 1);
    QVERIFY(columnOf(grid->model(), 1).contains(QStringLiteral("A-Fresh")));
    QVERIFY(columnOf(skins->model()).contains(QStringLiteral("A-07 Fresh paint")));
    QVERIFY(s.Unigrid.row(s.Unigrid.find(desert)).loaded);
    QCOMPARE(grid->currentIndex().siblingAtColumn(1).data().toString(), late);

    // Gone: the new one goes; the loaded one stays.
    QVERIFY(QDir(demo.f.vek() + "/A-Fresh").removeRecursively());
    QVERIFY(QDir(demo.f.vek() + "/" + desert).removeRecursively());
    QTRY_COMPARE(grid->model()->rowCount(), rows);
    QVERIFY(!columnOf(grid->model(), 1).contains(QStringLiteral("A-Fresh")));
    QVERIFY(s.Unigrid.row(s.Unigrid.find(desert)).loaded);
}

void TestWindows::colouredTextReads_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light theme") << false;
    QTest::newRow("dark theme") << true;
}

// The window's own colours (loaded rows, skins, the swapped aircraft, the chosen fuel, the
// coloured buttons) stay whatever the theme, with a text colour that reads on them.
void TestWindows::colouredTextReads() {
    QFETCH(bool, dark);
    const QPalette saved = QApplication::palette();
    if (dark)
        QApplication::setPalette(darkPalette());
    const auto restore = qScopeGuard([&] { QApplication::setPalette(saved); });
    DemoWindows demo;
    QVERIFY(demo.start());
    Selector &s = demo.s();
    demo.load(kLate);
    QVERIFY(s.skins().activate(s.SK1.find(QStringLiteral("A-05 Blue Nose"))));
    QVERIFY(s.planes().click(3)); // Mustang IV, slot 5 like the skin
    QVERIFY(s.planes().fuelClick(1, FuelGrid::FirstColumn));
    VEKForm *form = demo.form();
    form->refresh();
    demo.expose({1100, 800});

    const auto reads = [](const QImage &image, const QString &what) {
        const double contrast = textContrast(image);
        QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("%1: %2:1").arg(what).arg(contrast)));
    };
    for (const char *name : {"Unigrid", "SK1", "G1", "Fuel"}) {
        auto *view = form->findChild<QTableView *>(QLatin1String(name));
        QVERIFY(view);
        for (int page = 0; page < form->SSTab1->count(); ++page)
            if (form->SSTab1->widget(page)->isAncestorOf(view))
                form->SSTab1->setCurrentIndex(page);
        view->setCurrentIndex({});
        QApplication::processEvents();
        int coloured = 0;
        QAbstractItemModel *model = view->model();
        for (int r = 0; r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c) {
                const QModelIndex cell = model->index(r, c);
                if (!cell.data(Qt::BackgroundRole).isValid() || view->isRowHidden(r))
                    continue;
                ++coloured;
                view->scrollTo(cell);
                const QRect rect = view->visualRect(cell).adjusted(2, 2, -2, -2);
                reads(view->viewport()->grab(rect).toImage(),
                      QStringLiteral("%1 row %2 column %3").arg(name).arg(r).arg(c));
            }
        QVERIFY2(coloured > 0, name);
    }
    form->SSTab1->setCurrentIndex(0);
    const std::pair<const char *, QColor> buttons[] = {{"Command5", QColor(128, 128, 255)},
                                                       {"Command8", QColor(224, 224, 224)},
                                                       {"Command3", QColor(255, 192, 192)},
                                                       {"Command9", QColor(192, 192, 255)},
                                                       {"Command14", QColor(128, 128, 128)}};
    for (const auto &[name, colour] : buttons) {
        auto *button = form->findChild<QPushButton *>(QLatin1String(name));
        QVERIFY(button);
        const QImage image = button->grab().toImage();
        reads(image.copy(image.rect().adjusted(4, 4, -4, -4)), QLatin1String(name));
        // Inside the border, clear of the centred text: the colour itself.
        for (const QPoint at : {QPoint(6, 4), QPoint(6, image.height() - 5),
                                QPoint(image.width() - 7, image.height() / 2)})
            QCOMPARE(image.pixelColor(at).rgb(), colour.rgb());
    }
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"

void TestWindows::progressDialogOverTheThreshold_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("interval");  // ms between updates
    QTest::addColumn<int>("showAfter"); // ms before a small operation shows the dialog
    QTest::addColumn<int>("cancelAt");  // files done when Cancel is clicked; -1 for never
    QTest::addColumn<QList<qsizetype>>("updates"); // files done at each update; any when empty
    constexpr int never = std::numeric_limits<int>::max();
    QTest::newRow("at the threshold: no dialog")
        << int(ProgressWindow::Threshold) << 0 << never << -1 << QList<qsizetype>{};
    QTest::newRow("over it: shown, and Cancel undoes the load")
        << 300 << 0 << never << 120 << QList<qsizetype>{};
    // Between updates a file costs a look at the clock: with a long interval only the first
    // and the last file are shown, and events are still handled while the load runs.
    QTest::newRow("paced: the first and the last file")
        << 300 << never << never << -1 << QList<qsizetype>{0, 299};
    QTest::newRow("few files that take long: shown as well")
        << 5 << 0 << 0 << -1 << QList<qsizetype>{0, 1, 2, 3, 4};
}

void TestWindows::progressDialogOverTheThreshold() {
    QFETCH(int, files);
    QFETCH(int, interval);
    QFETCH(int, showAfter);
    QFETCH(int, cancelAt);
    QFETCH(QList<qsizetype>, updates);
    DemoWindows w(TestFolders::WithGameFiles);
    auto &[f, prompt, windows] = w;
    for (int i = 0; i < files; ++i)
        TestFolders::write(f.vek() + "/A-Big",
                           QStringLiteral("big%1.dat").arg(i, 3, 10, QLatin1Char('0')), "x");
    QVERIFY(w.start());
    VEKForm *form = windows.vekForm();
    ProgressWindow *dialog = form->progress;
    dialog->setInterval(interval);
    dialog->setShowAfter(showAfter);
    const QStringList before = QDir(f.game()).entryList(QDir::Files);
    const QByteArray ledger = TestFolders::read(f.vek(), Ledgers::FoldersLoaded);
    QList<qsizetype> shown;
    // An event queued before the click is handled while the load runs, not after it.
    bool queuedHandled = false;
    QMetaObject::invokeMethod(
        this, [&] { queuedHandled = true; }, Qt::QueuedConnection);
    bool queuedBeforeLast = false;
    connect(dialog, &ProgressWindow::shown, this, [&](qsizetype done, const QString &file) {
        if (file.isEmpty()) // the dialog opening, before its first file
            return;
        shown << done;
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->isModal());
        // The dialog and the main window's title name the file the load is on.
        const QString name = QStringLiteral("big%1.dat").arg(done, 3, 10, QLatin1Char('0'));
        QCOMPARE(file, name);
        QCOMPARE(dialog->Label->text(), "Please wait- copying: :" + name);
        QCOMPARE(dialog->Counts->text(), QStringLiteral("%1 of %2 files").arg(done).arg(files));
        QCOMPARE(dialog->Bar->value(), int(done));
        QCOMPARE(dialog->windowTitle(), "Please wait- copying: :" + name);
        QCOMPARE(form->windowTitle(), FolderLine::title(dialog->windowTitle(), f.game()));
        if (done == files - 1)
            queuedBeforeLast = queuedHandled;
        if (done == cancelAt)
            QTest::mouseClick(dialog->Cancel, Qt::LeftButton);
    });
    const bool loaded =
        windows.selector()->loadFiles().click(windows.selector()->Unigrid.find("A-Big"));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(form->windowTitle(), FolderLine::title(Selector::Caption, f.game()));
    if (cancelAt < 0) {
        QVERIFY(loaded);
        QVERIFY(TestFolders::exists(f.game(),
                                    QStringLiteral("big%1.dat").arg(files - 1, 3, 10, QChar('0'))));
        if (files <= ProgressWindow::Threshold && showAfter > 0) {
            QVERIFY(shown.isEmpty());
            return;
        }
        if (!updates.isEmpty())
            QCOMPARE(shown, updates);
        QVERIFY(queuedBeforeLast);
        return;
    }
    QCOMPARE(shown.last(), qsizetype(cancelAt));
    QVERIFY(queuedHandled);
    QVERIFY(!loaded);
    QCOMPARE(QDir(f.game()).entryList(QDir::Files), before);
    QCOMPARE(TestFolders::read(f.vek(), Ledgers::FoldersLoaded), ledger);
    QVERIFY(!windows.selector()->Unigrid.row(windows.selector()->Unigrid.find("A-Big")).loaded);
    QVERIFY(prompt.shown.last().text.contains("was cancelled"));
}

void TestWindows::launchLeavesTheWindowMinimisedOnlyOnceStarted_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("started");
    QTest::newRow("started") << QByteArray("exit 0\n") << true;
    QTest::newRow("ends at once with 1") << QByteArray("exit 1\n") << false;
}

// "Launch EAW" minimises the window once the game has started; a start that fails after that
// brings the window back before the message, which would otherwise belong to a minimised window
// the player may never see again.
void TestWindows::launchLeavesTheWindowMinimisedOnlyOnceStarted() {
#ifdef Q_OS_WIN
    QSKIP("the launcher override is for Wine");
#else
    QFETCH(QByteArray, script);
    QFETCH(bool, started);
    DemoWindows w(TestFolders::WithGameFiles);
    auto &[f, prompt, windows] = w;
    const QString launcher = QDir(f.root()).filePath("fake-wine.sh");
    TestFolders::write(f.root(), "fake-wine.sh", "#!/bin/sh\n" + script);
    QFile::setPermissions(launcher, QFile::permissions(launcher) | QFileDevice::ExeOwner);
    qputenv("VEK_LAUNCHER", launcher.toLocal8Bit());
    const auto unset = qScopeGuard([] { qunsetenv("VEK_LAUNCHER"); });
    QVERIFY(w.start());
    VEKForm *form = windows.vekForm();
    QSignalSpy minimised(windows.selector(), &Selector::minimiseRequested);
    bool minimisedWhenTold = true;
    prompt.onShow = [&](const ScriptedPrompt::Shown &) { minimisedWhenTold = form->isMinimized(); };
    form->general->Command5->click();
    QCOMPARE(minimised.size(), 1);
    QCOMPARE(form->isMinimized(), started);
    QVERIFY(form->isVisible());
    if (started) {
        QVERIFY(prompt.shown.isEmpty());
    } else {
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY(prompt.shown.at(0).text.contains("exit code 1"));
        QVERIFY(!minimisedWhenTold);
    }
#endif
}

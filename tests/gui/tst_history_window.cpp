// SPDX-License-Identifier: GPL-3.0-or-later
#include "Airgrid.h"
#include "DemoWindows.h"
#include "FileBytes.h"
#include "FileChanges.h"
#include "FlexGrid.h"
#include "FolderListBox.h"
#include "Form2.h"
#include "FuelPage.h"
#include "GeneralPage.h"
#include "History.h"
#include "HistoryWindow.h"
#include "LoadFilesPage.h"
#include "LoadOrder.h"
#include "LoadedPage.h"
#include "Niteform.h"
#include "ProgressWindow.h"
#include "SRForm.h"
#include "SelectorApplication.h"
#include "Views.h"
#include "WindowHistory.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>

namespace {
const QString kLate = QStringLiteral("F-Late war fighters");

/// A player's action: a cell of the view `control` clicked (or double-clicked, or a key typed
/// into it), or the button `control` clicked when `row` is -1; on the main window's page
/// `page`, or in the side window `window` (opened first) when `page` is -1.
struct WindowAction {
    QString before; // loaded first, by the engine (not an entry)
    QString window; // the side window open while it happens: "SRForm", "Airgrid", "niteform"
    int page;
    QString control;
    int row, column;
    bool twice;
    int undoFrom;     // the page Ctrl+Z is pressed on; -1: the Undo button; -2: the side window
    QString sentence; // what the entry says, in part
    char key = 0;     // typed into the cell instead of clicking it
};

/// Opens a side window as the player does and makes it show something to change.
QWidget *openSide(VEKForm *form, const QString &window) {
    if (window == QLatin1String("SRForm")) {
        form->openStringEditor();
        form->srForm()->Command1->click();
        return form->srForm();
    }
    if (window == QLatin1String("Airgrid")) {
        form->openAirgrid();
        form->airgrid()->List1->setCurrentRow(0);
        return form->airgrid();
    }
    if (window == QLatin1String("HistoryWindow")) {
        form->openHistory();
        return form->historyWindow();
    }
    if (window == QLatin1String("niteform")) {
        form->general->Command14->click();
        return form->general->niteform;
    }
    return nullptr;
}

void act(VEKForm *form, QWidget *side, const WindowAction &a) {
    QWidget *root = a.page < 0 ? side : form;
    QApplication::setActiveWindow(root->window());
    if (a.page >= 0)
        form->SSTab1->setCurrentIndex(a.page);
    auto *view = root->findChild<QAbstractItemView *>(a.control);
    QWidget *target = view ? view : root->findChild<QWidget *>(a.control);
    QVERIFY2(target && target->isVisible(), qPrintable(a.control));
    if (!view || a.row < 0) {
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
        return;
    }
    const QModelIndex cell = view->model()->index(a.row, a.column);
    view->scrollTo(cell);
    const QPoint at = view->visualRect(cell).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (a.key) {
        view->setCurrentIndex(cell);
        QTest::keyClick(view, a.key);
    }
    if (a.twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

/// A key with Ctrl wherever the keyboard is in `window`, on the page `page` of the main window.
void ctrlKeyIn(QWidget *window, int page, Qt::Key key) {
    QApplication::setActiveWindow(window);
    auto *form = qobject_cast<VEKForm *>(window);
    if (form)
        form->SSTab1->setCurrentIndex(page);
    // A control, not a text box (which keeps Ctrl+Z for its own text).
    QWidget *in = form ? form->SSTab1->currentWidget() : window;
    for (QWidget *w : in->findChildren<QWidget *>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() &&
            !w->inherits("QLineEdit")) {
            w->setFocus();
            break;
        }
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && focus->window() == window);
    QTest::keyClick(focus, key, Qt::ControlModifier);
}

void undoOn(VEKForm *form, int page) {
    ctrlKeyIn(form, page, Qt::Key_Z);
}

/// What the windows show: every cell of every view in sight, every box's mark, every label but
/// the status line; to see that a going back leaves nothing on the screen out of date.
QStringList shown(VEKForm *form) {
    QStringList texts;
    QList<QWidget *> windows{form};
    for (QWidget *w : form->findChildren<QWidget *>())
        if (w->isWindow() && w->isVisible() && !qobject_cast<HistoryWindow *>(w))
            windows << w;
    // The descriptions of the row under the pointer or chosen follow the player, not the files.
    const QStringList pointed{"MyLabel", "ClickPreview", "Label4", "Label18", "List2"};
    for (QWidget *window : std::as_const(windows)) {
        for (const QAbstractItemView *view : window->findChildren<QAbstractItemView *>())
            for (int c = 0;
                 view->isVisible() && view->window() == window && view->model() &&
                 !pointed.contains(view->objectName()) && c < view->model()->columnCount();
                 ++c)
                for (int r = 0; r < view->model()->rowCount(); ++r) {
                    // The cell's colour shows a choice too (the fuel in force).
                    const QModelIndex cell = view->model()->index(r, c);
                    texts << QStringLiteral("%1(%2,%3):%4 %5")
                                 .arg(view->objectName())
                                 .arg(r)
                                 .arg(c)
                                 .arg(cell.data().toString(),
                                      cell.data(Qt::BackgroundRole).value<QBrush>().color().name());
                }
        for (const QAbstractButton *b : window->findChildren<QAbstractButton *>())
            if (b->isCheckable() && b->isVisible() && b->window() == window)
                texts << b->objectName() +
                             (b->isChecked() ? QStringLiteral("+") : QStringLiteral("-"));
        for (const QLabel *l : window->findChildren<QLabel *>())
            if (l != form->StatusLine && l->isVisible() && l->window() == window &&
                !pointed.contains(l->objectName()))
                texts << l->objectName() + QLatin1Char('=') + l->text();
    }
    return texts;
}

void activate(VEKForm *form) {
    form->resize(1000, 640);
    form->show();
    QApplication::setActiveWindow(form);
    QVERIFY(QTest::qWaitForWindowActive(form));
}
} // namespace

Q_DECLARE_METATYPE(WindowAction)

class TestHistoryWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachActionIsOneEntryAndCtrlZTakesItBack_data();
    void eachActionIsOneEntryAndCtrlZTakesItBack();
    void historyViewGoesBackToAnEntry();
    void goingBackOverManyFilesShowsTheProgress_data();
    void goingBackOverManyFilesShowsTheProgress();
    void aNewVekFolderIsRecordedToo();
    void loadOrderMovesAndCtrlZBringsItBack_data();
    void loadOrderMovesAndCtrlZBringsItBack();
};

void TestHistoryWindow::eachActionIsOneEntryAndCtrlZTakesItBack_data() {
    QTest::addColumn<WindowAction>("action");
    const QString srForm = QStringLiteral("SRForm"), airgrid = QStringLiteral("Airgrid");
    const std::pair<const char *, WindowAction> rows[] = {
        {"load grid click, Ctrl+Z on Load Files", {"", "", 1, "Unigrid", 6, 1, false, 1, "Loaded"}},
        {"load grid click, Ctrl+Z on General", {"", "", 1, "Unigrid", 6, 1, false, 0, "Loaded"}},
        {"unload click, Ctrl+Z on What is loaded!",
         {kLate, "", 1, "Unigrid", 6, 1, false, 3, "Unloaded"}},
        {"aircraft swap, Ctrl+Z on Planes and Skins",
         {kLate, "", 2, "G1", 0, 3, false, 2, "Swapped"}},
        {"skin double-click, Ctrl+Z on Autoscripts", {"", "", 2, "SK1", 4, 0, true, 4, "the skin"}},
        {"fuel cell, Ctrl+Z on Fuel", {kLate, "", 5, "Fuel", 20, 4, false, 5, "fuel"}},
        {"an option, the Undo button",
         {"", "", 0, "Option2(0)", -1, 0, false, -1,
          "Option \"640 x 480\" chosen under \"Screen resolution\"."}},
        {"a box, Ctrl+Z on Fuel",
         {"", "", 0, "Check1", -1, 0, false, 5, "Option \"Start on ground\" turned on."}},
        {"keyboard feature, Ctrl+Z on General",
         {"", "", 0, "Option13(1)", -1, 0, false, 0, "Keyboard feature \"02 No external views\""}},
        {"complete reset, one entry",
         {kLate, "", 4, "Command11", -1, 0, false, 4, "Reset Completely"}},
        {"string editor byte, Ctrl+Z in it",
         {"", srForm, -1, "SFG1", 0, 20, false, -2, "Byte 21 of pnames.str set to \"q\".", 'q'}},
        {"load while the string editor is open, Ctrl+Z in it",
         {"", srForm, 1, "Unigrid", 6, 1, false, -2, "Loaded"}},
        {"planes.dat box, Ctrl+Z in its editor",
         {"", airgrid, -1, "Check1(3)", -1, 0, false, -2, "in the record of"}},
        {"swap under the planes.dat editor, Ctrl+Z in it",
         {kLate, airgrid, 2, "G1", 0, 3, false, -2, "Swapped"}},
        {"load, Ctrl+Z in the history of changes",
         {"", "HistoryWindow", 1, "Unigrid", 6, 1, false, -2, "Loaded"}},
        {"load under the night switch, Ctrl+Z in it",
         {"", "niteform", 1, "Unigrid", 6, 1, false, -2, "Loaded"}},
    };
    for (const auto &[tag, action] : rows)
        QTest::newRow(tag) << action;
}

void TestHistoryWindow::eachActionIsOneEntryAndCtrlZTakesItBack() {
    QFETCH(WindowAction, action);
    DemoWindows demo(TestFolders::Demo, {true, true, true});
    QVERIFY(demo.start());
    VEKForm *form = demo.form();
    activate(form);
    if (!action.before.isEmpty())
        demo.load(action.before);
    QWidget *side = openSide(form, action.window);
    QApplication::processEvents();
    History &history = demo.s().history();
    const int entries = history.lines().size();
    const Tree before = treeOf(demo.f.game());
    const int page = qMax(action.page, 0);
    form->SSTab1->setCurrentIndex(page);
    const QStringList shownBefore = shown(form);

    act(form, side, action);
    QApplication::processEvents();
    QVERIFY2(treeOf(demo.f.game()) != before, "the action changed nothing");
    // A side window shows its own change.
    QVERIFY(action.page >= 0 || shown(form) != shownBefore);
    // One entry for the whole action, named by the status line when it spoke.
    const QStringList lines = history.lines();
    QCOMPARE(lines.size(), entries + 1);
    const QString sentence = lines.last().section(QLatin1Char('\t'), 2);
    QVERIFY2(sentence.contains(action.sentence), qPrintable(sentence));

    // Under a modal box the keys do nothing, in any window.
    QWidget *keys = action.undoFrom == -2 ? side : form;
    {
        QDialog box(form);
        box.setModal(true);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const Tree changed = treeOf(demo.f.game());
        QApplication::setActiveWindow(keys);
        QTest::keyClick(keys, Qt::Key_Z, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(treeOf(demo.f.game()), changed);
    }

    if (action.undoFrom == -1)
        QTest::mouseClick(form->UndoButton, Qt::LeftButton);
    else
        ctrlKeyIn(keys, action.undoFrom, Qt::Key_Z);
    QApplication::processEvents();
    QCOMPARE(changedFiles(before, treeOf(demo.f.game())), QStringList());
    // Every window shows the files as they are again.
    form->SSTab1->setCurrentIndex(page);
    QCOMPARE(shown(form), shownBefore);
    QCOMPARE(form->StatusLine->text().left(11), QStringLiteral("Taken back:"));
    QVERIFY2(form->StatusLine->text().contains(sentence.chopped(1) + " (entry"),
             qPrintable(form->StatusLine->text()));
    // The going back is an entry of its own.
    QCOMPARE(history.lines().size(), entries + 2);

    // The history of changes opens from the same window.
    ctrlKeyIn(keys, qMax(action.undoFrom, 0), Qt::Key_H);
    QVERIFY(form->historyWindow() && form->historyWindow()->isVisible());
}

void TestHistoryWindow::historyViewGoesBackToAnEntry() {
    DemoWindows demo;
    QVERIFY(demo.start());
    VEKForm *form = demo.form();
    activate(form);
    History &history = demo.s().history();
    const int start = history.current();
    const Tree atStart = treeOf(demo.f.game());
    const auto grid = [form] {
        QStringList cells;
        for (int c = 0; c < form->loadFiles->Unigrid->model()->columnCount(); ++c)
            cells << columnOf(form->loadFiles->Unigrid->model(), c);
        return cells;
    };
    const QStringList gridAtStart = grid();
    act(form, nullptr, {"", "", 1, "Unigrid", 6, 1, false, 0, ""});
    act(form, nullptr, {"", "", 1, "Unigrid", 2, 1, false, 0, ""});
    QCOMPARE(history.current(), start + 2);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::ControlModifier);
    HistoryWindow *view = form->historyWindow();
    QVERIFY(view && view->isVisible());
    QTreeWidget *list = view->HistoryList;
    // Newest at the top, every entry there, the current one selected.
    QCOMPARE(list->topLevelItemCount(), history.lines().size());
    QCOMPARE(view->entryAt(0), start + 2);
    QCOMPARE(list->currentItem(), list->topLevelItem(0));
    QVERIFY(!list->accessibleName().isEmpty() && !view->GoBack->accessibleName().isEmpty());

    // A modal box up: Ctrl+Z in the main window leaves the files alone.
    QDialog box(form);
    box.setModal(true);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const Tree loaded = treeOf(demo.f.game());
    form->windowHistory()->undo();
    QCOMPARE(treeOf(demo.f.game()), loaded);
    box.close();

    // Enter on the entry before both loads brings the start back.
    view->activateWindow();
    list->setFocus();
    list->setCurrentItem(list->topLevelItem(2));
    QCOMPARE(view->entryAt(2), start);
    QTest::keyClick(list, Qt::Key_Return);
    QApplication::processEvents();
    QCOMPARE(changedFiles(atStart, treeOf(demo.f.game())), QStringList());
    QCOMPARE(grid(), gridAtStart);
    QVERIFY(form->StatusLine->text().contains(QStringLiteral("(entry %1)").arg(start)));
    QCOMPARE(list->topLevelItemCount(), history.lines().size());
    QCOMPARE(history.current(), start);

    // Back to where the history begins with the button; then there is nothing to take back.
    list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() - 1));
    view->GoBack->setFocus();
    QTest::keyClick(view->GoBack, Qt::Key_Space);
    QCOMPARE(history.current(), 0);
    form->windowHistory()->undo();
    QVERIFY(form->StatusLine->text().startsWith(QStringLiteral("There is nothing to take back")));
    QVERIFY(demo.prompt.shown.isEmpty());
}

void TestHistoryWindow::goingBackOverManyFilesShowsTheProgress_data() {
    QTest::addColumn<int>("cancelAt"); // -1: not cancelled
    QTest::newRow("to the end") << -1;
    QTest::newRow("Cancel half-way: the state before, untouched") << 150;
}

void TestHistoryWindow::goingBackOverManyFilesShowsTheProgress() {
    QFETCH(int, cancelAt);
    DemoWindows demo(TestFolders::WithGameFiles);
    for (int i = 0; i < 300; ++i)
        TestFolders::write(demo.f.vek() + "/A-Big", QStringLiteral("big%1.dat").arg(i), "x");
    QVERIFY(demo.start());
    VEKForm *form = demo.form();
    activate(form);
    form->progress->setInterval(0);
    const Tree before = treeOf(demo.f.game());
    const QAbstractItemModel *grid = form->loadFiles->Unigrid->model();
    int row = 0;
    while (row < grid->rowCount() && !grid->index(row, 1).data().toString().contains("Big"))
        ++row;
    act(form, nullptr, {"", "", 1, "Unigrid", row, 1, false, 0, ""});
    const Tree loaded = treeOf(demo.f.game());
    QVERIFY(loaded.size() >= before.size() + 300);
    const QStringList shownLoaded = shown(form);
    const int entries = demo.s().history().lines().size();
    QSignalSpy progress(form->progress, &ProgressWindow::shown);
    connect(form->progress, &ProgressWindow::shown, form, [&](qsizetype done) {
        if (done == cancelAt)
            form->progress->Cancel->click();
    });
    undoOn(form, 1);
    QVERIFY(progress.size() > 1);
    if (cancelAt < 0) {
        QCOMPARE(changedFiles(before, treeOf(demo.f.game())), QStringList());
        return;
    }
    QCOMPARE(changedFiles(loaded, treeOf(demo.f.game())), QStringList());
    QCOMPARE(shown(form), shownLoaded);
    QVERIFY2(form->StatusLine->text().contains(QStringLiteral("cancelled")),
             qPrintable(form->StatusLine->text()));
    QCOMPARE(demo.s().history().lines().size(), entries);
    QCOMPARE(demo.prompt.shown.size(), 1);
}

void TestHistoryWindow::aNewVekFolderIsRecordedToo() {
    DemoWindows demo;
    QVERIFY(demo.start());
    // "New VEK Directory" and OK at once: the old engine goes only after the new one is made.
    demo.form()->general->Command9->click();
    demo.windows.form2()->Dir1->setPath(demo.f.vek());
    demo.windows.form2()->Command1->click();
    QTRY_VERIFY(demo.windows.vekForm());
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    VEKForm *form = demo.form();
    activate(form);
    const int entries = demo.s().history().lines().size();
    act(form, nullptr, {"", "", 1, "Unigrid", 6, 1, false, 0, ""});
    QCOMPARE(demo.s().history().lines().size(), entries + 1);
}

void TestHistoryWindow::loadOrderMovesAndCtrlZBringsItBack_data() {
    QTest::addColumn<QString>("how");   // "Alt+Up", "Alt+Down", "drag", "win", "lose"
    QTest::addColumn<QString>("entry"); // the load order's entry, or the carrier made to win
    QTest::addColumn<QStringList>("order");
    const QString clouds = QStringLiteral("G-Better clouds"),
                  coast = QStringLiteral("T-Channel coast"), hud = QStringLiteral("G-Hud tweaks");
    const QStringList moved{coast, clouds, hud};
    QTest::newRow("Alt+Down") << "Alt+Down" << clouds << moved;
    QTest::newRow("Alt+Up") << "Alt+Up" << coast << moved;
    QTest::newRow("Alt+Up on the first: nothing") << "Alt+Up" << clouds << QStringList{};
    QTest::newRow("drag onto the lower half of the next") << "drag" << clouds << moved;
    QTest::newRow("drag below the last") << "drag" << coast << QStringList{clouds, hud, coast};
    QTest::newRow("Make this one win") << "win" << clouds << moved;
    QTest::newRow("Make this one lose, from the Menu key") << "lose" << coast << moved;
}

void TestHistoryWindow::loadOrderMovesAndCtrlZBringsItBack() {
    QFETCH(QString, how);
    QFETCH(QString, entry);
    QFETCH(QStringList, order);
    DemoWindows demo;
    QVERIFY(demo.start());
    VEKForm *form = demo.form();
    activate(form);
    for (const char *folder : {"G-Better clouds", "T-Channel coast", "G-Hud tweaks"})
        demo.load(QString::fromLatin1(folder));
    LoadedPage *page = form->loaded;
    form->SSTab1->setCurrentWidget(page);
    const QStringList start = page->orderShown();
    QCOMPARE(start, (QStringList{"G-Better clouds", "T-Channel coast", "G-Hud tweaks"}));
    const auto owners = [page] { return columnOf(page->Conflicts->model(), 1); };
    QCOMPARE(owners(), (QStringList{"T-Channel coast", "T-Channel coast"}));
    const Tree before = treeOf(demo.f.game());
    const int entries = demo.s().history().lines().size();
    QTreeWidget *list = page->Order;
    QTreeWidgetItem *item = list->topLevelItem(int(start.indexOf(entry)));
    list->setFocus();
    list->setCurrentItem(item);

    if (how.startsWith(QLatin1String("Alt+"))) {
        QTest::keyClick(list, how.endsWith(QLatin1String("Up")) ? Qt::Key_Up : Qt::Key_Down,
                        Qt::AltModifier);
    } else if (how == QLatin1String("drag")) {
        // Dropped where the player lets go: on the next row's lower half, or under the rows.
        const int next = int(start.indexOf(entry)) + 1;
        const QPoint at =
            next < start.size()
                ? list->visualItemRect(list->topLevelItem(next)).bottomLeft() + QPoint(4, -2)
                : QPoint(4, list->viewport()->height() - 2);
        // A drag's drop event reaches a widget only from a running drag, which a test cannot
        // start: the page is given the place the drop event names, in an entry as the
        // application makes one of a drop.
        form->windowHistory()->begin(list->viewport());
        page->dropAt(at);
        form->windowHistory()->end();
    } else {
        page->Conflicts->setFocus();
        page->Conflicts->selectRow(0);
        if (how == QLatin1String("win")) {
            QTest::keyClick(page->MakeWin, Qt::Key_Space);
        } else {
            QTest::keyClick(page->Conflicts, Qt::Key_Menu);
            auto *menu = page->findChild<QMenu *>(QStringLiteral("MakeChoices"));
            QVERIFY(menu && menu->isVisible());
            QCOMPARE(menu->actions().last()->text(), "Make \"" + entry + "\" lose");
            menu->setActiveAction(menu->actions().last());
            QTest::keyClick(menu, Qt::Key_Return);
        }
    }
    QApplication::processEvents();
    if (order.isEmpty()) {
        QCOMPARE(page->orderShown(), start);
        QCOMPARE(demo.s().history().lines().size(), entries);
        return;
    }
    QCOMPARE(page->orderShown(), order);
    QCOMPARE(demo.s().loadOrder().rows().size(), order.size());
    // The shared files follow at once; the moved entry stays the chosen one.
    const QString owner = order.indexOf("G-Better clouds") > order.indexOf("T-Channel coast")
                              ? "G-Better clouds"
                              : "T-Channel coast";
    QCOMPARE(owners(), (QStringList{owner, owner}));
    if (how != QLatin1String("win") && how != QLatin1String("lose"))
        QCOMPARE(list->currentItem()->data(0, Qt::UserRole).toString(), entry);
    QVERIFY2(!form->StatusLine->text().isEmpty(), "the engine's sentence");
    QCOMPARE(demo.s().history().lines().size(), entries + 1);

    undoOn(form, 3);
    QApplication::processEvents();
    QCOMPARE(page->orderShown(), start);
    QCOMPARE(owners(), (QStringList{"T-Channel coast", "T-Channel coast"}));
    QCOMPARE(changedFiles(before, treeOf(demo.f.game())), QStringList());
}

int main(int argc, char *argv[]) {
    SelectorApplication app(argc, argv);
    TestHistoryWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_history_window.moc"

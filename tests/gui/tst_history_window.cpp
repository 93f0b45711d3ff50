// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoWindows.h"
#include "FileBytes.h"
#include "FileChanges.h"
#include "FlexGrid.h"
#include "FolderListBox.h"
#include "Form2.h"
#include "GeneralPage.h"
#include "History.h"
#include "HistoryWindow.h"
#include "LoadFilesPage.h"
#include "ProgressWindow.h"
#include "SelectorApplication.h"
#include "Views.h"
#include "WindowHistory.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTreeWidget>

namespace {
const QString kLate = QStringLiteral("F-Late war fighters");

/// A player's action in the main window: a cell of the view `control` clicked (or
/// double-clicked), or the button `control` clicked when `row` is -1.
struct WindowAction {
    QString before; // loaded first, by the engine (not an entry)
    int page;
    QString control;
    int row, column;
    bool twice;
    int undoFrom;     // the page Ctrl+Z is pressed on; -1: the Undo button
    QString sentence; // what the entry says, in part
};

void act(VEKForm *form, const WindowAction &a) {
    form->SSTab1->setCurrentIndex(a.page);
    auto *view = form->findChild<QAbstractItemView *>(a.control);
    QWidget *target = view ? view : form->findChild<QWidget *>(a.control);
    QVERIFY2(target && target->isVisible(), qPrintable(a.control));
    if (!view || a.row < 0) {
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(8, target->height() / 2));
        return;
    }
    const QModelIndex cell = view->model()->index(a.row, a.column);
    view->scrollTo(cell);
    const QPoint at = view->visualRect(cell).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (a.twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

/// Ctrl+Z wherever the keyboard is on the page `page`.
void undoOn(VEKForm *form, int page) {
    QApplication::setActiveWindow(form);
    form->SSTab1->setCurrentIndex(page);
    // A control of the page, not a text box (which keeps Ctrl+Z for its own text).
    for (QWidget *w : form->SSTab1->currentWidget()->findChildren<QWidget *>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() &&
            !w->inherits("QLineEdit")) {
            w->setFocus();
            break;
        }
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && focus->window() == form);
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
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
    void goingBackOverManyFilesShowsTheProgress();
    void aNewVekFolderIsRecordedToo();
};

void TestHistoryWindow::eachActionIsOneEntryAndCtrlZTakesItBack_data() {
    QTest::addColumn<WindowAction>("action");
    const std::pair<const char *, WindowAction> rows[] = {
        {"load grid click, Ctrl+Z on Load Files", {"", 1, "Unigrid", 6, 1, false, 1, "Loaded"}},
        {"load grid click, Ctrl+Z on General", {"", 1, "Unigrid", 6, 1, false, 0, "Loaded"}},
        {"unload click, Ctrl+Z on What is loaded!",
         {kLate, 1, "Unigrid", 6, 1, false, 3, "Unloaded"}},
        {"aircraft swap, Ctrl+Z on Planes and Skins", {kLate, 2, "G1", 0, 3, false, 2, "Swapped"}},
        {"skin double-click, Ctrl+Z on Autoscripts", {"", 2, "SK1", 4, 0, true, 4, "the skin"}},
        {"fuel cell, Ctrl+Z on Fuel", {kLate, 5, "Fuel", 20, 4, false, 5, "fuel"}},
        {"an option, the Undo button",
         {"", 0, "Option2(0)", -1, 0, false, -1, "\"640 x 480\" on the page \"General\""}},
        {"keyboard feature, Ctrl+Z on General", {"", 0, "Option13(1)", -1, 0, false, 0, "\"# 2\""}},
        {"complete reset, one entry", {kLate, 4, "Command11", -1, 0, false, 4, "Reset Completely"}},
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
    History &history = demo.s().history();
    const int entries = history.lines().size();
    const Tree before = treeOf(demo.f.game());

    act(form, action);
    QApplication::processEvents();
    QVERIFY2(treeOf(demo.f.game()) != before, "the action changed nothing");
    // One entry for the whole action, named by the status line when it spoke.
    const QStringList lines = history.lines();
    QCOMPARE(lines.size(), entries + 1);
    const QString sentence = lines.last().section(QLatin1Char('\t'), 2);
    QVERIFY2(sentence.contains(action.sentence), qPrintable(sentence));
    QVERIFY2(sentence != QLatin1String("A change in the window."), qPrintable(sentence));

    if (action.undoFrom < 0)
        QTest::mouseClick(form->UndoButton, Qt::LeftButton);
    else
        undoOn(form, action.undoFrom);
    QApplication::processEvents();
    const Tree after = treeOf(demo.f.game());
    QCOMPARE(changedFiles(before, after), QStringList());
    QCOMPARE(form->StatusLine->text().left(11), QStringLiteral("Taken back:"));
    QVERIFY2(form->StatusLine->text().contains(sentence.chopped(1) + " (entry"),
             qPrintable(form->StatusLine->text()));
    // The going back is an entry of its own.
    QCOMPARE(history.lines().size(), entries + 2);
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
    act(form, {"", 1, "Unigrid", 6, 1, false, 0, ""});
    act(form, {"", 1, "Unigrid", 2, 1, false, 0, ""});
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

void TestHistoryWindow::goingBackOverManyFilesShowsTheProgress() {
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
    act(form, {"", 1, "Unigrid", row, 1, false, 0, ""});
    QVERIFY(treeOf(demo.f.game()).size() >= before.size() + 300);
    QSignalSpy shown(form->progress, &ProgressWindow::shown);
    undoOn(form, 1);
    QVERIFY(shown.size() > 1);
    QCOMPARE(changedFiles(before, treeOf(demo.f.game())), QStringList());
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
    act(form, {"", 1, "Unigrid", 6, 1, false, 0, ""});
    QCOMPARE(demo.s().history().lines().size(), entries + 1);
}

int main(int argc, char *argv[]) {
    SelectorApplication app(argc, argv);
    TestHistoryWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_history_window.moc"

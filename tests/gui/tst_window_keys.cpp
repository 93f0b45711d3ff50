// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program runs at scale 2 here, so the offscreen screen is far too small for the
// main window: every key must reach its control all the same.
#include "Contrast.h"
#include "FileBytes.h"
#include "FlexGrid.h"
#include "GeneralPage.h"
#include "HelpMenu.h"
#include "HelpWindow.h"
#include "LoadFiles.h"
#include "LoadedList.h"
#include "Rows.h"
#include "Selector.h"
#include "SelectorWindows.h"
#include "TestFolders.h"
#include "VEKForm.h"
#include "WindowGeometry.h"

#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

namespace {
enum class Then { Focus, Option, Exits, Help, Shut, About, Kept, Reset, Outline, Fits };
struct KeyCase {
    const char *tag;
    int page;
    const char *focus, *keys; // keys after a "|" go to the menu or box the keys before opened
    Then then;
    const char *what;
};

// The keys go where the player's would: an open menu, else the focused control (of a box).
void press(const QString &keys) {
    for (const QString &k : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QWidget *modal = QApplication::activeModalWidget(), *focus = QApplication::focusWidget();
        // A box not yet given the focus takes the key itself, as the active window.
        QWidget *target = QApplication::activePopupWidget()      ? QApplication::activePopupWidget()
                          : !modal || modal->isAncestorOf(focus) ? focus
                          : modal->focusWidget()                 ? modal->focusWidget()
                                                                 : modal;
        const QKeyCombination key = QKeySequence(k)[0];
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
        QApplication::processEvents(); // a window the key opened comes to the front
    }
}
} // namespace

Q_DECLARE_METATYPE(KeyCase)

class TestWindowKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysDoWhatTheyDoOnEveryDesktop_data() {
        const KeyCase rows[] = {
            {"Enter on a button", 0, "Command13", "Return", Then::Focus, "Airgrid"},
            {"keypad Enter on a button", 0, "EditStrings", "Enter", Then::Focus, "SRForm"},
            {"Tab leaves the autoscript text", 4, "Text2", "Tab", Then::Focus, "Command7"},
            {"arrow keys choose an option", 0, "Option2(1)", "Space Down", Then::Option, "2"},
            {"slot list, then its aircraft", 2, "List1", "Tab", Then::Focus, "G1"},
            {"then the skins", 2, "List1", "Tab Tab", Then::Focus, "SK1"},
            {"then the check box", 2, "List1", "Tab Tab Tab", Then::Focus, "Check5"},
            {"Enter swaps no aircraft a slot filter hides", 2, "G1", "Shift+Tab Down Tab Return",
             Then::Kept, "planes.dat"},
            {"focused row of a grid, light", 1, "Unigrid", "Down", Then::Outline, ""},
            {"focused row of a grid, dark", 1, "Unigrid", "Down", Then::Outline, "dark"},
            {"F1 opens the guide", 5, "", "F1", Then::Help, ""},
            {"Escape closes the guide", 0, "", "F1 Esc", Then::Shut, "HelpWindow"},
            {"Escape closes the night switch", 0, "Command14", "Return Esc", Then::Shut,
             "niteform"},
            {"? menu: Help", 0, "HelpButton", "Return|H", Then::Help, ""},
            {"? menu: About", 0, "HelpButton", "Space|A|Return", Then::About, ""},
            {"reset asked, Return cancels", 0, "Command1", "Return|Return", Then::Kept,
             "spit16.3dz"},
            {"reset asked, Escape cancels", 4, "Command11", "Return|Esc", Then::Kept, "spit16.3dz"},
            {"reset asked, OK by the keys", 0, "Command1", "Return|Tab Return|Return", Then::Reset,
             ""},
            // At scale 2 the window is far larger than the screen: it fits and scrolls, and a
            // place kept on a monitor that is gone comes back. Every tab and "Exit" are reached.
            {"fits the screen, nothing kept", 0, "", "", Then::Fits, ""},
            {"fits the screen, kept there", 0, "", "", Then::Fits, "10 20 300 200"},
            {"fits the screen, kept on a monitor gone", 0, "", "", Then::Fits, "2000 1500 300 200"},
            {"fits the screen, kept larger", 0, "", "", Then::Fits, "0 0 1650 1294"},
            // Last: the program is asked to quit, and no box opens after that.
            {"Ctrl+Q exits", 3, "", "Ctrl+Q", Then::Exits, ""},
        };
        addRows(rows);
    }

    void keysDoWhatTheyDoOnEveryDesktop() {
        QFETCH(KeyCase, row);
        const QString what = QString::fromLatin1(row.what);
        const QPalette light = QApplication::palette();
        if (what == QLatin1String("dark")) {
            QPalette dark(QColor(53, 53, 53), QColor(36, 36, 36)); // button, window
            dark.setColor(QPalette::Base, QColor(36, 36, 36));
            QApplication::setPalette(dark);
        }
        const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
        TestFolders f(TestFolders::Demo);
        qputenv("VEK_INSTANCE_LOCK", QFile::encodeName(f.root() + "/instance.lock"));
        f.rememberVek();
        const QStringList r = what.split(QLatin1Char(' '));
        const QRect kept =
            r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
        if (kept.isValid()) {
            QWidget keptWindow;
            keptWindow.setObjectName(QStringLiteral("VEKForm"));
            keptWindow.setGeometry(kept);
            WindowGeometry::keep(&keptWindow);
        }
        SelectorWindows windows; // the window program's own message boxes
        QVERIFY(windows.start(f.game()));
        VEKForm *form = windows.vekForm();
        Selector &s = *windows.selector();
        QVERIFY(s.loadFiles().click(s.Unigrid.find("F-Late war fighters")));
        form->refresh();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->SSTab1->setCurrentIndex(row.page);
        if (QWidget *focus = form->findChild<QWidget *>(row.focus); focus && *row.focus)
            focus->setFocus(Qt::TabFocusReason);
        const QMap<QString, QByteArray> before = filesOf(f.game());
        QStringList seen; // the text and default button of each box (or "menu") the keys met
        const QStringList stages = QString::fromLatin1(row.keys).split(QLatin1Char('|'));
        // Each stage's keys go to the menu or box the keys before opened, once it is up.
        QPointer<QWidget> last;
        std::function<void(int)> stage, await;
        await = [&](int i) {
            // A menu or a message box, not the progress dialog of the step taken.
            QWidget *up = QApplication::activePopupWidget();
            if (!up)
                up = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!up || up == last)
                return QTimer::singleShot(20, form, [&, i] { await(i); });
            last = up;
            auto *box = qobject_cast<QMessageBox *>(up);
            seen << (!box ? "menu"
                          : box->text() + "|" +
                                (box->defaultButton() ? box->defaultButton()->text() : ""));
            stage(i);
        };
        stage = [&](int i) {
            if (i + 1 < stages.size())
                QTimer::singleShot(20, form, [&, i] { await(i + 1); });
            press(stages.at(i));
        };
        stage(0);
        QCOMPARE(seen.size(), stages.size() - 1);
        QCOMPARE(!windows.vekForm(), row.then == Then::Exits); // Ctrl+Q: the window has gone
        if (row.then == Then::Exits)
            return;
        HelpWindow *help = form->HelpButton->helpWindow();
        auto *area = form->findChild<QScrollArea *>();
        const auto inView = [area](QWidget *w, QRect r) {
            return area->viewport()->rect().contains(
                QRect(w->mapTo(area->viewport(), r.topLeft()), r.size()));
        };
        switch (row.then) {
        case Then::Exits:
            break;
        case Then::Focus: // the control the keys went to, or the window they opened
            QCOMPARE(QApplication::focusWidget()->window() == form
                         ? QApplication::focusWidget()->objectName()
                         : QApplication::focusWidget()->window()->objectName(),
                     what);
            break;
        case Then::Option:
            QCOMPARE(s.ini.resolution, what.toInt());
            break;
        case Then::Shut: // the side window the keys opened, closed by Escape
            QVERIFY(form->findChild<QWidget *>(what) &&
                    !form->findChild<QWidget *>(what)->isVisible());
            QVERIFY(form->isVisible());
            break;
        case Then::Help:
            QVERIFY(help && help->isVisible());
            // The guide's own first heading, as built into the program; the program's icon.
            QCOMPARE(help->Guide->document()->firstBlock().text(),
                     HelpWindow::guide().section(QLatin1Char('\n'), 0, 0).mid(2));
            QVERIFY(!help->windowIcon().isNull());
            break;
        case Then::About:
            QVERIFY(seen.last().contains(qVersion()) && seen.last().contains("GPL-3.0-or-later"));
            break;
        case Then::Kept:
            QCOMPARE(filesOf(f.game()).value(what), before.value(what));
            QVERIFY(seen.isEmpty() || seen.first().endsWith(QLatin1String("|Cancel")));
            break;
        case Then::Reset:
            QVERIFY(s.loadedList().Label8().isEmpty());
            break;
        case Then::Outline: {
            // The row is outlined in the highlight colour, which reads on the cells' own colours;
            // the outline goes with the focus.
            auto *grid = qobject_cast<FlexGrid *>(QApplication::focusWidget());
            QVERIFY(grid);
            const QRect cell = grid->visualRect(grid->currentIndex());
            const auto at = [&](int y) {
                const QImage image = grid->viewport()->grab().toImage();
                return image.pixelColor(QPoint(cell.center().x(), y) * image.devicePixelRatio());
            };
            const QColor mark = grid->palette().color(QPalette::Highlight);
            QCOMPARE(at(cell.top()), mark);
            QVERIFY(Contrast::ratio(mark, at(cell.center().y() - 3)) >= 3);
            press("Tab");
            QVERIFY(at(cell.top()) != mark);
            break;
        }
        case Then::Fits: {
            QVERIFY(form->screen()->availableGeometry().contains(form->frameGeometry()));
            QVERIFY(!kept.intersects(form->screen()->availableGeometry()) || kept.width() > 400 ||
                    form->geometry() == kept);
            for (int i = 0; i < 200 && !qobject_cast<QTabBar *>(QApplication::focusWidget()); ++i)
                press("Tab");
            auto *bar = qobject_cast<QTabBar *>(QApplication::focusWidget());
            QVERIFY(bar);
            for (int page = bar->currentIndex(); page < bar->count(); ++page, press("Right"))
                QVERIFY2(inView(bar, bar->tabRect(page)), qPrintable(bar->tabText(page)));
            form->SSTab1->setCurrentIndex(0);
            for (int i = 0; i < 200 && QApplication::focusWidget() != form->general->Command3; ++i)
                press("Tab");
            QVERIFY(inView(form->general->Command3, form->general->Command3->rect()));
        }
        }
    }
};

int main(int argc, char *argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestWindowKeys test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window_keys.moc"

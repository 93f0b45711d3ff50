// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a player's task on the real window and saves the window's own picture after each
// step, to look at what a player sees. Run it under a display (xvfb-run).
//   vekselector-play GAME_FOLDER OUT_PREFIX STEP...
// A step is a key ("ctrl+tab", "ctrl+shift+tab", "tab", "down", "up", "left", "right",
// "enter", "space", "ctrl+z", "ctrl+h", "alt+up", "f1", "escape", "ctrl+q"), sent to the widget
// with the keyboard focus, or "click:NAME:ROW:COLUMN" (a cell of the grid or list NAME) or
// "click:NAME" (a button), or "hover:NAME:ROW:COLUMN" (the pointer moved onto that cell), or
// "wait:MS" (the window left alone for MS milliseconds, as while a player copies a folder in by
// hand), or "type:TEXT" (TEXT typed into the widget with the focus). A message box that a step
// opens is answered as a player would: its picture is saved (OUT_PREFIX-NN-message-K.png), its text
// printed, and its default button pressed. A menu a step opens is saved too
// (OUT_PREFIX-NN-menu.png), and the next step is a key pressed in it ("a", "down", "enter").
#include "Form2.h"
#include "SelectorApplication.h"
#include "SelectorWindows.h"
#include "VEKForm.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>
#include <QTimer>

namespace {
/// The widget with the keyboard focus, by its name or, unnamed, by its class and its named
/// parent's name.
QString focusName() {
    const QWidget *w = QApplication::focusWidget();
    if (!w)
        return QStringLiteral("(none)");
    if (!w->objectName().isEmpty())
        return w->objectName();
    const QWidget *named = w->parentWidget();
    while (named && named->objectName().isEmpty())
        named = named->parentWidget();
    return QStringLiteral("a %1 in %2")
        .arg(QString::fromLatin1(w->metaObject()->className()),
             named ? named->objectName() : QStringLiteral("(none)"));
}

bool pressKey(const QString &step) {
    static const QHash<QString, Qt::Key> keys = {
        {"tab", Qt::Key_Tab},     {"down", Qt::Key_Down},       {"up", Qt::Key_Up},
        {"left", Qt::Key_Left},   {"right", Qt::Key_Right},     {"enter", Qt::Key_Return},
        {"space", Qt::Key_Space}, {"backtab", Qt::Key_Backtab}, {"z", Qt::Key_Z},
        {"h", Qt::Key_H},         {"menu", Qt::Key_Menu},       {"q", Qt::Key_Q},
        {"f1", Qt::Key_F1},       {"escape", Qt::Key_Escape}};
    QStringList parts = step.split(QLatin1Char('+'));
    const QString name = parts.takeLast();
    Qt::KeyboardModifiers modifiers;
    for (const QString &m : parts)
        modifiers |= m == QLatin1String("ctrl")  ? Qt::ControlModifier
                     : m == QLatin1String("alt") ? Qt::AltModifier
                                                 : Qt::ShiftModifier;
    if (!keys.contains(name) || !QApplication::focusWidget())
        return false;
    const Qt::Key key = name == QLatin1String("tab") && modifiers.testFlag(Qt::ShiftModifier)
                            ? Qt::Key_Backtab
                            : keys.value(name);
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    return true;
}

bool click(QWidget *window, const QStringList &parts) {
    if (parts.size() == 4) {
        auto *view = window->findChild<QAbstractItemView *>(parts.at(1));
        if (!view)
            return false;
        const QModelIndex cell = view->model()->index(parts.at(2).toInt(), parts.at(3).toInt());
        view->scrollTo(cell);
        // A view on a page not shown, or a hidden row or column, has no place on the screen: a
        // click there would go nowhere.
        if (!view->isVisible() || !cell.isValid() || view->visualRect(cell).isEmpty())
            return false;
        if (parts.at(0) == QLatin1String("hover"))
            QTest::mouseMove(view->viewport(), view->visualRect(cell).center());
        else
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                              view->visualRect(cell).center());
        return true;
    }
    auto *widget = window->findChild<QWidget *>(parts.at(1));
    if (!widget || !widget->isVisible())
        return false;
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    return true;
}
} // namespace

int main(int argc, char *argv[]) {
    SelectorApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() < 3) {
        err << "usage: vekselector-play GAME_FOLDER OUT_PREFIX STEP...\n";
        return 2;
    }
    QDir::setCurrent(args.at(1));
    const QString prefix = args.at(2);
    int stepNumber = 0, messages = 0, i = 3;
    // Answers the boxes of the start too (step 00), which open before the window shows.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        // A menu a step opened takes the next step's key (a letter of an entry, "down",
        // "enter") once its picture is saved.
        if (QWidget *menu = QApplication::activePopupWidget()) {
            menu->grab().save(
                QStringLiteral("%1-%2-menu.png").arg(prefix).arg(stepNumber, 2, 10, QChar('0')));
            if (i + 1 < args.size()) {
                const QString key = args.at(++i);
                const QKeySequence typed(key.left(1).toUpper() + key.mid(1));
                // Later, so that a box the key opens is answered by this timer too.
                QTimer::singleShot(0, menu, [menu, typed] {
                    QTest::keyClick(menu, typed[0].key(), typed[0].keyboardModifiers());
                });
                err << "   menu: " << key << "\n";
            }
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        box->grab().save(QStringLiteral("%1-%2-message-%3.png")
                             .arg(prefix)
                             .arg(stepNumber, 2, 10, QChar('0'))
                             .arg(++messages));
        err << "   message \"" << box->windowTitle() << "\": " << box->text() << "\n";
        err.flush();
        QAbstractButton *button = box->defaultButton();
        if (!button)
            button = box->buttons().value(0);
        if (button)
            button->click();
    });
    answer.start(200);
    SelectorWindows windows;
    if (!windows.start(QDir::currentPath()))
        return 3;
    // The steps go to the main window, or to the locator while it waits; its OK opens the main
    // window, which takes the later steps.
    const auto current = [&windows]() -> QWidget * {
        if (windows.vekForm())
            return windows.vekForm();
        return windows.form2();
    };
    const auto where = [&windows]() {
        if (VEKForm *form = windows.vekForm())
            return QStringLiteral("page \"%1\"")
                .arg(form->SSTab1->tabText(form->SSTab1->currentIndex()));
        return QStringLiteral("the locator");
    };
    current()->activateWindow();
    if (!QTest::qWaitForWindowActive(current()))
        err << "the window did not become active; keys may go astray\n";
    current()->grab().save(prefix + QStringLiteral("-00-start.png"));
    for (; i < args.size(); ++i) {
        stepNumber = i - 2;
        const QString step = args.at(i);
        bool done = true;
        if (step.startsWith(QLatin1String("wait:")))
            QTest::qWait(step.mid(5).toInt());
        else if (step.startsWith(QLatin1String("type:")) && QApplication::focusWidget())
            QTest::keyClicks(QApplication::focusWidget(), step.mid(5));
        else
            done =
                step.startsWith(QLatin1String("click:")) || step.startsWith(QLatin1String("hover:"))
                    ? click(current(), step.split(QLatin1Char(':')))
                    : pressKey(step);
        if (!done) {
            err << "cannot do step " << step << "\n";
            return 1;
        }
        QTest::qWait(50);
        QString name = step;
        name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("_"));
        const QString picture =
            QStringLiteral("%1-%2-%3").arg(prefix).arg(i - 2, 2, 10, QChar('0')).arg(name);
        current()->grab().save(picture + QStringLiteral(".png"));
        // A side window the step opened or acts in (the history of changes) gets its own.
        if (QWidget *active = QApplication::activeWindow(); active && active != current())
            active->grab().save(picture + QStringLiteral("-") + active->objectName() +
                                QStringLiteral(".png"));
        err << i - 2 << ' ' << step << ": " << where() << ", focus " << focusName() << "\n";
    }
    return 0;
}

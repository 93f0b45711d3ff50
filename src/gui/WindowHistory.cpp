// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHistory.h"

#include "History.h"
#include "Selector.h"
#include "SelectorApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>

#include <utility>

WindowHistory::WindowHistory(Selector &selector, QObject *parent)
    : QObject(parent), selector_(&selector) {
    SelectorApplication::setRecorder(this);
    connect(&selector, &Selector::changed, this, [this](Changes what) {
        if (depth_ > 0 && what.testFlag(Change::Status))
            statusTold_ = true;
    });
}

WindowHistory::~WindowHistory() {
    // Gone in the middle of an input: what it changed so far is still an entry.
    if (depth_ > 0 && !busy_ && selector_)
        selector_->history().close();
    if (SelectorApplication::recorder() == this)
        SelectorApplication::setRecorder(nullptr);
}

QString WindowHistory::describe(QObject *receiver) {
    QString control;
    QString place;
    if (auto *shortcut = qobject_cast<QShortcut *>(receiver))
        control = QStringLiteral("the key ") + shortcut->key().toString(QKeySequence::NativeText);
    for (QObject *o = receiver; o && control.isEmpty(); o = o->parent()) {
        if (auto *button = qobject_cast<QAbstractButton *>(o); button && !button->text().isEmpty())
            control = QLatin1Char('"') + button->text().remove(QLatin1Char('&')) + QLatin1Char('"');
        else if (auto *w = qobject_cast<QWidget *>(o); w && !w->accessibleName().isEmpty())
            control = QLatin1Char('"') + w->accessibleName() + QLatin1Char('"');
        else if (!o->objectName().isEmpty() && !o->objectName().startsWith(QLatin1String("qt_")))
            control = o->objectName();
    }
    // The page of the main window, or the side window's title.
    for (QObject *o = receiver; o; o = o->parent()) {
        auto *w = qobject_cast<QWidget *>(o);
        auto *tabs = w && qobject_cast<QStackedWidget *>(w->parentWidget())
                         ? qobject_cast<QTabWidget *>(w->parentWidget()->parentWidget())
                         : nullptr;
        if (tabs && tabs->indexOf(w) >= 0) {
            place = QStringLiteral("page \"%1\"").arg(tabs->tabText(tabs->indexOf(w)));
            break;
        }
        if (w && w->isWindow() && w->parent()) {
            place = QStringLiteral("window \"%1\"").arg(w->windowTitle());
            break;
        }
    }
    if (control.isEmpty())
        control = QStringLiteral("the window");
    return place.isEmpty() ? QStringLiteral("Changed by %1.").arg(control)
                           : QStringLiteral("Changed by %1 on the %2.").arg(control, place);
}

void WindowHistory::begin(QObject *receiver) {
    // The first widget the input reaches names it (the window system's own window object
    // comes first and is no widget).
    if (control_.isEmpty() && (receiver->isWidgetType() || qobject_cast<QShortcut *>(receiver)))
        control_ = describe(receiver);
    if (depth_++ > 0 || busy_ || !selector_)
        return;
    statusTold_ = false;
    statusAtOpen_ = selector_->Status;
    selector_->history().open(QStringLiteral("A change in the window."));
}

void WindowHistory::end() {
    if (depth_ == 0 || --depth_ > 0)
        return;
    const QString control = std::exchange(control_, QString());
    if (!busy_ && selector_) {
        History &history = selector_->history();
        // A status line told again with the same words is still what this input did; without
        // one the control names the change.
        if (!statusTold_ || selector_->Status.isEmpty())
            history.name(control.isEmpty() ? QStringLiteral("A change in the window.") : control);
        else if (selector_->Status == statusAtOpen_)
            history.name(selector_->Status);
        history.close();
    }
    for (const auto &action : std::exchange(after_, {}))
        action();
    if (!busy_)
        Q_EMIT recorded();
}

void WindowHistory::afterEntry(std::function<void()> action) {
    if (depth_ > 0)
        after_.append(std::move(action));
    else
        action();
}

void WindowHistory::undo() {
    afterEntry([this] {
        // A box waiting for an answer keeps the files as they are.
        if (!selector_ || busy_ || QApplication::activeModalWidget())
            return;
        History &history = selector_->history();
        // Pressed once too often: said on the status line, with no box to dismiss.
        if (const QString why = history.undoRefusal(); !why.isEmpty()) {
            selector_->setStatus(why);
        } else {
            busy_ = true;
            history.undo();
            busy_ = false;
        }
        Q_EMIT wentBack();
    });
}

void WindowHistory::back(int number) {
    afterEntry([this, number] {
        if (!selector_ || busy_ || QApplication::activeModalWidget())
            return;
        busy_ = true;
        selector_->history().back(number);
        busy_ = false;
        Q_EMIT wentBack();
    });
}

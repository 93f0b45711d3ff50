// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowHistory.h"

#include "History.h"
#include "Selector.h"
#include "SelectorApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
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

namespace {
/// Where a control is: the page of the main window, or the side window's title.
QString placeOf(QObject *receiver) {
    for (QObject *o = receiver; o; o = o->parent()) {
        auto *w = qobject_cast<QWidget *>(o);
        auto *tabs = w && qobject_cast<QStackedWidget *>(w->parentWidget())
                         ? qobject_cast<QTabWidget *>(w->parentWidget()->parentWidget())
                         : nullptr;
        if (tabs && tabs->indexOf(w) >= 0)
            return QStringLiteral("page \"%1\"").arg(tabs->tabText(tabs->indexOf(w)));
        if (w && w->isWindow() && w->parent())
            return QStringLiteral("window \"%1\"").arg(w->windowTitle());
    }
    return {};
}

QString captionOf(const QAbstractButton *button) {
    return button->text().remove(QLatin1Char('&')).trimmed();
}
} // namespace

QString WindowHistory::describe(QObject *receiver) {
    const QString place = placeOf(receiver);
    // In a side window the sentence says which; on a page the option's own words suffice.
    const QString inWindow =
        place.startsWith(QLatin1String("window")) ? QStringLiteral(" in the ") + place : QString();
    auto *button = qobject_cast<QAbstractButton *>(receiver);
    for (QObject *o = receiver; o && !button; o = o->parent())
        button = qobject_cast<QAbstractButton *>(o);
    if (button && !captionOf(button).isEmpty()) {
        const QString caption = captionOf(button);
        if (qobject_cast<QCheckBox *>(button))
            return QStringLiteral("Option \"%1\" turned %2%3.")
                .arg(caption, button->isChecked() ? QStringLiteral("on") : QStringLiteral("off"),
                     inWindow);
        if (qobject_cast<QRadioButton *>(button)) {
            QString group;
            for (QObject *o = button->parent(); o && group.isEmpty(); o = o->parent())
                if (auto *box = qobject_cast<QGroupBox *>(o))
                    group = box->title().trimmed();
            while (group.endsWith(QLatin1Char(':')))
                group.chop(1);
            return group.isEmpty()
                       ? QStringLiteral("Option \"%1\" chosen%2.").arg(caption, inWindow)
                       : QStringLiteral("Option \"%1\" chosen under \"%2\"%3.")
                             .arg(caption, group, inWindow);
        }
        return !inWindow.isEmpty() ? QStringLiteral("Clicked \"%1\"%2.").arg(caption, inWindow)
               : place.isEmpty()   ? QStringLiteral("Clicked \"%1\".").arg(caption)
                                 : QStringLiteral("Clicked \"%1\" on the %2.").arg(caption, place);
    }
    QString control;
    if (auto *shortcut = qobject_cast<QShortcut *>(receiver))
        control = QStringLiteral("the key ") + shortcut->key().toString(QKeySequence::NativeText);
    for (QObject *o = receiver; o && control.isEmpty(); o = o->parent()) {
        if (auto *w = qobject_cast<QWidget *>(o); w && !w->accessibleName().isEmpty())
            control = QLatin1Char('"') + w->accessibleName() + QLatin1Char('"');
        else if (!o->objectName().isEmpty() && !o->objectName().startsWith(QLatin1String("qt_")))
            control = o->objectName();
    }
    if (control.isEmpty())
        control = QStringLiteral("the window");
    return place.isEmpty() ? QStringLiteral("Changed by %1.").arg(control)
                           : QStringLiteral("Changed by %1 on the %2.").arg(control, place);
}

void WindowHistory::nameChange(const QString &sentence) {
    WindowHistory *recorder = SelectorApplication::recorder();
    if (recorder && recorder->depth_ > 0 && !recorder->busy_)
        recorder->named_ = sentence;
}

void WindowHistory::begin(QObject *receiver) {
    // The first widget the input reaches names it (the window system's own window object
    // comes first and is no widget).
    if (!controlTaken_ && (receiver->isWidgetType() || qobject_cast<QShortcut *>(receiver))) {
        control_ = receiver;
        controlTaken_ = true;
    }
    if (depth_++ > 0 || busy_ || !selector_)
        return;
    statusTold_ = false;
    statusAtOpen_ = selector_->Status;
    selector_->history().open(QStringLiteral("A change in the window."));
}

void WindowHistory::end() {
    if (depth_ == 0 || --depth_ > 0)
        return;
    // What the control says is read now, once the input has had its effect (a box ticked).
    const QPointer<QObject> control = std::exchange(control_, nullptr);
    const QString named = std::exchange(named_, QString());
    controlTaken_ = false;
    if (!busy_ && selector_) {
        History &history = selector_->history();
        // A status line told again with the same words is still what this input did; without
        // one the handler's words, or the control's, name the change.
        if (!statusTold_ || selector_->Status.isEmpty())
            history.name(!named.isEmpty() ? named
                         : control        ? describe(control)
                                          : QStringLiteral("A change in the window."));
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

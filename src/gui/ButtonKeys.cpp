// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

void ButtonKeys::install() {
    if (!qApp || qApp->findChild<ButtonKeys *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    qApp->installEventFilter(new ButtonKeys(qApp));
}

bool ButtonKeys::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto *button = qobject_cast<QPushButton *>(watched);
    // In a dialog the button's own default handling already does it.
    if (!button || !button->hasFocus() || !button->isEnabled() || button->autoDefault() ||
        button->isDefault())
        return false;
    if (!key->isAutoRepeat()) {
        if (button->menu())
            button->showMenu();
        else
            button->click();
    }
    return true;
}

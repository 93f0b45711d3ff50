// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

/// Enter and Return press the push button that has the keyboard focus, in every window of the
/// program, as Space does; Qt gives them to a button only inside a dialog. A button with a menu
/// opens its menu.
class ButtonKeys : public QObject {
    Q_OBJECT
public:
    /// Puts the keys in force for the whole application (once, however often it is called).
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};

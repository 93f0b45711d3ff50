// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompt.h"

class QWidget;

/// Messages of the window program: a modal message box.
class MessageBoxPrompt : public Prompt {
public:
    explicit MessageBoxPrompt(QWidget *parent = nullptr) : parent_(parent) {}
    bool message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    /// A question with OK and Cancel whose OK is a big step: Cancel is the box's default
    /// button, so Enter pressed in haste does nothing.
    bool askCancelFirst(const QString &title, const QString &text, Icon icon);

private:
    bool show(const QString &title, const QString &text, Icon icon, Buttons buttons,
              bool cancelFirst);
    QWidget *parent_;
};

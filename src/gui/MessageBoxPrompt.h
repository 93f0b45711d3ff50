// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompt.h"

class QWidget;

/// Messages of the window program: a modal message box.
class MessageBoxPrompt : public Prompt {
public:
    explicit MessageBoxPrompt(QWidget *parent = nullptr) : parent_(parent) {}
    bool message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;

private:
    QWidget *parent_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompt.h"

#include <QList>
#include <QStringList>

#include <functional>

/// Answers messages from a pre-set list (OK when the list runs out) and keeps every message
/// shown, so a test can check both what the player was told and what followed from the answer.
class ScriptedPrompt : public Prompt {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon;
        Buttons buttons;
    };

    explicit ScriptedPrompt(QList<bool> answers = {}) : answers_(std::move(answers)) {}

    bool message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;

    QList<Shown> shown;
    /// The text of every message shown, each ending in a line feed: to look for what the player
    /// was told, wherever it stood.
    QString allText() const {
        QString all;
        for (const Shown &s : shown)
            all += s.text + QLatin1Char('\n');
        return all;
    }
    /// Called with each message as it is shown, to look at the windows at that moment.
    std::function<void(const Shown &)> onShow;

private:
    QList<bool> answers_;
};

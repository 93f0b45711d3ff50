// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Prompt.h"

#include <functional>

/// Messages of the command-line tool: written to stderr; a question is answered as the
/// `--answer` option says.
class StderrPrompt : public Prompt {
public:
    explicit StderrPrompt(bool answerOk) : answerOk_(answerOk) {}
    bool message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;

    /// Rewrites each message before it is shown (a dry run names the real folders, not its
    /// twin's).
    void setFilter(std::function<QString(const QString &)> filter) { filter_ = std::move(filter); }

    /// Called before each message is written (the progress bar clears its line).
    void setBeforeWriting(std::function<void()> call) { beforeWriting_ = std::move(call); }

private:
    bool answerOk_;
    std::function<QString(const QString &)> filter_;
    std::function<void()> beforeWriting_;
};

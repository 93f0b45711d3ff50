#pragma once

#include "Prompt.h"

/// Messages of the command-line tool: written to stderr; a question is answered as the
/// `--answer` option says.
class StderrPrompt : public Prompt {
public:
    explicit StderrPrompt(bool answerOk) : answerOk_(answerOk) {}
    bool message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;

private:
    bool answerOk_;
};

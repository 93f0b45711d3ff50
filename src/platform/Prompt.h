// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// How the engine asks or tells the player something. The window program shows a message
/// box, the command-line tool writes to stderr and answers as its `--answer` option says,
/// tests give pre-set answers and keep what was shown.
class Prompt {
public:
    enum class Icon { None, Exclamation, Information, Critical };
    enum class Buttons { Ok, OkCancel };

    virtual ~Prompt();

    /// Shows a message; answers true when it was answered OK.
    virtual bool message(const QString &title, const QString &text, Icon icon, Buttons buttons) = 0;

    /// Tells the player that something could not be done. `text` names the file and reason.
    bool fail(const QString &text) {
        return message(QStringLiteral("VEK Selector"), text, Icon::Exclamation, Buttons::Ok);
    }
};

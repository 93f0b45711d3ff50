// SPDX-License-Identifier: GPL-3.0-or-later
#include "Questions.h"

#include "CompleteReset.h"
#include "MessageBoxPrompt.h"
#include "Prompt.h"

bool Questions::reset(Prompt &prompt) {
    const QString text =
        QStringLiteral("Reset Completely takes every loaded folder, skin and alternative aircraft "
                       "out of the game folder and puts the original eaw.ini back.\n\nGo on?");
    // In the window's box Cancel comes first: Enter pressed in haste resets nothing.
    if (auto *boxes = dynamic_cast<MessageBoxPrompt *>(&prompt))
        return boxes->askCancelFirst(CompleteReset::Caption, text, Prompt::Icon::Exclamation);
    return prompt.message(CompleteReset::Caption, text, Prompt::Icon::Exclamation,
                          Prompt::Buttons::OkCancel);
}

bool Questions::replaceAutoscript(Prompt &prompt, const QString &name) {
    return prompt.message(QStringLiteral("VEK Selector"),
                          QStringLiteral("An autoscript named \"%1\" is already saved.\n\n"
                                         "Replace it with the current settings?")
                              .arg(name),
                          Prompt::Icon::Exclamation, Prompt::Buttons::OkCancel);
}

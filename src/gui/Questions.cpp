// SPDX-License-Identifier: GPL-3.0-or-later
#include "Questions.h"

#include "CompleteReset.h"
#include "Prompt.h"

bool Questions::reset(Prompt &prompt) {
    return prompt.message(CompleteReset::Caption,
                          QStringLiteral("Reset Completely takes every loaded folder, skin and "
                                         "alternative aircraft out of the game folder and puts "
                                         "the original eaw.ini back.\n\nGo on?"),
                          Prompt::Icon::Exclamation, Prompt::Buttons::OkCancel);
}

bool Questions::replaceAutoscript(Prompt &prompt, const QString &name) {
    return prompt.message(QStringLiteral("VEK Selector"),
                          QStringLiteral("An autoscript named \"%1\" is already saved.\n\n"
                                         "Replace it with the current settings?")
                              .arg(name),
                          Prompt::Icon::Exclamation, Prompt::Buttons::OkCancel);
}

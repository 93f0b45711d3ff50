// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedPrompt.h"

bool ScriptedPrompt::message(const QString &title, const QString &text, Icon icon,
                             Buttons buttons) {
    shown.append({title, text, icon, buttons});
    if (onShow)
        onShow(shown.last());
    return answers_.isEmpty() ? true : answers_.takeFirst();
}

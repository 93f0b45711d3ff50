// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class Prompt;

/// The questions the window asks before a step that is hard to take back. The command line's
/// commands are explicit and do not ask.
namespace Questions {
/// Before "Reset Completely": answers whether the player chose OK.
bool reset(Prompt &prompt);
/// Before saving an autoscript over the one named `name`: answers whether to replace it.
bool replaceAutoscript(Prompt &prompt, const QString &name);
} // namespace Questions

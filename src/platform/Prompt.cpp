// SPDX-License-Identifier: GPL-3.0-or-later
#include "Prompt.h"

Prompt::~Prompt() = default;

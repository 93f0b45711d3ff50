// SPDX-License-Identifier: GPL-3.0-or-later
#include "Terminal.h"

bool Terminal::stderrIsTerminal() {
    return false;
}

int Terminal::stderrColumns() {
    return 80;
}

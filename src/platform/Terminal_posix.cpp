// SPDX-License-Identifier: GPL-3.0-or-later
#include "Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

bool Terminal::stderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

int Terminal::stderrColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 20)
        return size.ws_col;
    return 80;
}

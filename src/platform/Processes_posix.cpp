// SPDX-License-Identifier: GPL-3.0-or-later
#include "Processes.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

bool Processes::gone(qint64 pid) {
    if (pid <= 0)
        return false;
    // Signal 0 is delivered to no one: only whether the process exists is checked.
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::optional<uint> Processes::userId() {
    return uint(::geteuid());
}

bool Processes::runsAsRoot() {
    return ::geteuid() == 0;
}

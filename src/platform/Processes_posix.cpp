// SPDX-License-Identifier: GPL-3.0-or-later
#include "Processes.h"

#include <QProcess>

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

void Processes::ownSession(QProcess &process) {
    // Runs in the child between fork and exec, where only async-signal-safe calls belong.
    process.setChildProcessModifier([] { ::setsid(); });
}

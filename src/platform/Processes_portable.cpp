// SPDX-License-Identifier: GPL-3.0-or-later
#include "Processes.h"

#include <QProcess>

bool Processes::gone(qint64 pid) {
    Q_UNUSED(pid);
    return false;
}

std::optional<uint> Processes::userId() {
    return std::nullopt;
}

bool Processes::runsAsRoot() {
    return false;
}

void Processes::ownSession(QProcess &process) {
    Q_UNUSED(process);
}

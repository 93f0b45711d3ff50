// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

class QProcess;

/// What the selector asks the system about processes and users: whether a process that left
/// its number in a lock is still there, who runs the selector, and how the game it starts is
/// set apart from it. Where the system gives no
/// answer (the portable room), the careful one: a process counts as running, and there is no
/// user number.
namespace Processes {

/// Whether the process `pid` of this machine has certainly ended.
bool gone(qint64 pid);

/// The user the selector runs as, as the file system numbers owners; none where it does not.
std::optional<uint> userId();

/// Whether the selector runs as the system's all-powerful user (root).
bool runsAsRoot();

/// Makes `process` start in a session of its own, so that what ends the selector (the
/// terminal it runs in closing, Ctrl+C there) does not reach the program it started. The
/// portable room leaves the process as it is (on Windows a started program outlives its
/// starter anyway).
void ownSession(QProcess &process);

} // namespace Processes

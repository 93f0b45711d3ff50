// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

/// What the selector asks the system about processes and users: whether a process that left
/// its number in a lock is still there, and who runs the selector. Where the system gives no
/// answer (the portable room), the careful one: a process counts as running, and there is no
/// user number.
namespace Processes {

/// Whether the process `pid` of this machine has certainly ended.
bool gone(qint64 pid);

/// The user the selector runs as, as the file system numbers owners; none where it does not.
std::optional<uint> userId();

/// Whether the selector runs as the system's all-powerful user (root).
bool runsAsRoot();

} // namespace Processes

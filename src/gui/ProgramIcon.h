// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

/// The program's icon, the one the package installs (data/icons), built into the program so
/// that every window shows it, installed or not.
struct ProgramIcon {
    static QIcon icon();
    /// Makes it the icon of the application and so of every window.
    static void install();
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Starts the game without waiting for it. On Windows the program itself is started; elsewhere
/// it runs through Wine, or through the program named by the environment variable
/// `VEK_LAUNCHER`. The working directory is the game folder, where the game looks for its
/// files.
class Launcher {
public:
    /// The launcher used off Windows: `VEK_LAUNCHER`, else "wine". Empty on Windows.
    static QString launcher();

    /// Starts `program` in `workDir`. Answers false with `error` naming the program and the
    /// reason when it is missing or could not be started. In a dry run (`FileHook::isolated`)
    /// the start is only reported.
    static bool start(const QString &program, const QString &workDir, QString *error);
};

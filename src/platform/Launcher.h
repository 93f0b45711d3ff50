// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

/// Starts the game without waiting for it to end. On Windows the program itself is started;
/// elsewhere it runs through Wine, or through the program named by the environment variable
/// `VEK_LAUNCHER`. The working directory is the game folder, where the game looks for its
/// files.
///
/// A start that goes wrong is told in words the player can act on: a launcher that is not
/// installed, and one that ends at once (Wine without the 32-bit part a 32-bit game needs ends
/// at once with an error), named with its exit code and what to install. For this the start
/// is watched for `Watch` milliseconds; a launcher still running then is taken to have
/// started the game, and is left running: it outlives the selector and has no pipe to us
/// (its output goes to the null device), so nothing the selector does later can stop it.
class Launcher {
public:
    /// How long a start is watched for a launcher that ends at once.
    static constexpr int Watch = 2500;

    /// What kind of Windows program a file is, from its PE header.
    enum class Machine {
        Unknown, ///< not a PE file, or one for another processor
        X86,     ///< 32-bit x86 (machine 0x14c)
        X64,     ///< 64-bit x86 (machine 0x8664)
    };
    /// Reads the "MZ" header's pointer at 0x3C to the "PE\0\0" signature and the machine word
    /// after it. A file that cannot be read, or is too short for either, is `Unknown`.
    static Machine machine(const QString &program);

    /// The launcher used off Windows: `VEK_LAUNCHER`, else "wine". Empty on Windows.
    static QString launcher();

    /// Starts `program` in `workDir` and watches it for `Watch` ms. Answers false with `error`
    /// saying what failed and what to install: the program or the launcher missing, the
    /// launcher failing to start, or ending within the watch with a non-zero exit code or a
    /// crash. `started`, when given, is called once the program has been started and before
    /// the watch (the window minimises itself then). In a dry run (`FileHook::isolated`) the
    /// checks are made and the start is only reported.
    static bool start(const QString &program, const QString &workDir, QString *error,
                      const std::function<void()> &started = {});
};

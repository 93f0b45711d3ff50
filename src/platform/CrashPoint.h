// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// A test seam for the journal: with the environment variable `VEK_CRASH_AFTER` set to k, the
/// process ends abruptly (no destructors, no clean-up, no flushing) right after the k-th file
/// operation that changes a file: a copy, a delete, a whole-file write or an in-place patch.
/// This is how a killed or powerless machine leaves the folders, and the crash test starts the
/// command-line tool with every k in turn to prove the next start puts things right.
///
/// With `VEK_INTERRUPT_AFTER` set to k, the process sends itself SIGINT right after the k-th
/// such operation instead: Ctrl+C pressed at a known point while files move.
///
/// With `VEK_CRASH_WITHIN=1` the steps inside each write count too (`inside`).
///
/// Operations are counted only after `startCounting`, so that k counts from the first file
/// operation of the commands and not from the files the start-up writes; with `VEK_CRASH_IN`
/// set to "start", k counts from the first file operation of the start-up instead (the
/// locator's OK and the load sequence), to end the process in the middle of those. Without the
/// variables (every normal run) `passed` costs one predictable branch.
class CrashPoint {
public:
    /// The exit status of a process ended by the seam.
    static constexpr int ExitStatus = 86;

    /// Counts one file operation that has just changed a file; ends the process at the k-th.
    static void passed();
    /// A step inside a write (its temporary file made, its bytes in, a temporary name given):
    /// counted like a file operation only when `VEK_CRASH_WITHIN` is "1", so that k also ends
    /// the process halfway through a rewrite, as a kill between two system calls does.
    static void inside();

    /// Where counting may start: before the start-up's file operations, or before the
    /// commands'.
    enum class Phase { StartUp, Commands };
    /// Starts counting (reads `VEK_CRASH_AFTER` once) when `VEK_CRASH_IN` asks for `phase`
    /// ("start" for `StartUp`; anything else, or nothing, for `Commands`).
    static void startCounting(Phase phase = Phase::Commands);
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Progress.h"

#include <functional>
#include <utility>

/// A progress listener that hands each file to `step` (the files done so far and the next
/// one's name) and goes on as it answers: a test's way to change the folders while an operation
/// runs, or to stop it where the player's Cancel would.
class ProgressHook : public Progress {
public:
    using Step = std::function<bool(qsizetype done, const QString &file)>;
    explicit ProgressHook(Step step) : step_(std::move(step)) {}

    /// The number of files the operation announced at its start; -1 before.
    qsizetype announced = -1;

protected:
    void beginning(qsizetype total) override { announced = total; }
    bool proceed(qsizetype done, const QString &file) override { return step_(done, file); }

private:
    Step step_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Replica.h"

#include <QString>
#include <QTextStream>

#include <memory>

/// A dry run of one invocation: the game and VEK folders are twinned (`Replica`), the
/// files of the twin that remember a folder by its path (LastVEKDir, the journal) are made to
/// name the twin's folders, every change is confined to the twin and printed to `out` as the
/// real paths it stands for. Ending the object removes the twin and lifts the confinement.
class DryRun {
public:
    /// `vek` may be empty (no VEK folder known yet). Null with `error` when the twin could not
    /// be made.
    static std::unique_ptr<DryRun> start(const QString &game, const QString &vek, QTextStream &out,
                                         QString *error);
    ~DryRun();
    DryRun(const DryRun &) = delete;
    DryRun &operator=(const DryRun &) = delete;

    const Replica &replica() const { return *replica_; }

private:
    DryRun() = default;
    std::unique_ptr<Replica> replica_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// The option controls of the "General" page and the values that `inisave` keeps in the
/// window between runs. The window shows this state; IniOptions reads and writes it.
struct IniState {
    /// `Option2` index 0..6 that is selected, -1 for none. The buttons are exclusive, so one
    /// index stands for the whole array.
    int resolution = -1;
    /// `Option4` index 0..5 (the caption equals the index).
    int squads = 0;
    /// `Check1` "Start on ground", `Check2` "No AIs", `Check3` "Allow Respawn".
    bool startOnGround = false, noAI = false, allowRespawn = false;
    /// `Option8` index: 0 keeps the original file's sync lines, 1 and 2 write fixed rates.
    int sync = 0;

    /// Set by the keyboard-control features; the next `inisave` applies `featureCodes`
    /// and clears it.
    bool ApplyFeature = false;
    /// The codes of the selected feature row, columns 1..n; empty cells may be among them.
    QStringList featureCodes;
    /// The display-info value to write, the fixed HUD colour value (empty for none), and the
    /// caption of the chosen feature (empty until one is chosen).
    QString DispLab, HUDLab, Label21;
    /// 1-based positions among the kept lines of the last rebuild, 0 while not found.
    int DisplaySectionLine = 0, DisplayInfoLine = 0;
    /// The value after "DisplayInfoSetting=" as last found; kept when a rebuild finds none.
    QString DisplayInfoValue;

    bool operator==(const IniState &) const = default;
};

#pragma once

#include <QString>

class Selector;

/// "Reset Completely" (`Command1` on "General", `Command11` on "Autoscripts"): takes every
/// loaded content folder and skin out through the grids' own unload, empties the aircraft
/// grid, sweeps the content kinds out of the game folder, empties FoldersLoaded.txt, puts the
/// original eaw.ini back, switches the cheat check off and clears its byte in flt.cdf.
class CompleteReset {
public:
    static inline const QString Caption = QStringLiteral("Reset Completely");
    static inline const QString ToolTip =
        QStringLiteral("Moves all extra files added by this software to the EAW folder back to "
                       "their original folders.");

    explicit CompleteReset(Selector &selector) : s_(selector) {}

    /// Runs the reset to its end whatever fails on the way: a folder or skin that vanished or
    /// a file that cannot be deleted loses its mark all the same. Everything that could not be
    /// taken out is told once, at the end; answers false when there was any such thing.
    /// Only the player stops it: a cancel (through the selector's `Progress`) undoes the unload
    /// under way, does nothing more, and tells the player what is still loaded.
    bool run();

private:
    /// Each answers false when an unload was cancelled.
    bool unloadContent();
    bool unloadSkins();

    Selector &s_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct IniState;

/// The options the player chose for a game folder, kept between runs.
///
/// Every start puts the original eaw.ini back and rewrites it from the option controls, so a
/// resolution, "Extra Squads", an online option or a sync rate the player set would be gone by
/// the next start. What the player sets is kept here, one option at a time, in the selector's
/// own settings ("vekselector/vekselector.conf" under the configuration folder), keyed by the
/// game folder: never in the game or VEK folder, which players copy and share. The start lays
/// them over the controls after the original has been read; "Restore my original eaw.ini"
/// forgets them. A dry run reads them but keeps nothing.
class KeptOptions {
public:
    /// Which options `keep` takes from the controls.
    enum Option : unsigned {
        Resolution = 0x01,
        Squads = 0x02,
        StartOnGround = 0x04,
        NoAI = 0x08,
        AllowRespawn = 0x10,
        Sync = 0x20,
    };

    /// Keeps the `options` of `state` as the player's choice for `game`.
    static void keep(const QString &game, const IniState &state, unsigned options);
    /// Lays the options kept for `game` over `state`; true when there were any. A value out of
    /// range (a hand-edited file) is skipped.
    static bool apply(const QString &game, IniState &state);
    /// Forgets every option kept for `game`.
    static void forget(const QString &game);

    /// Every option kept for `game` as one line ("resolution=2;squads=1"), empty for none:
    /// what the history keeps with each change, and `setText` puts back.
    static QString text(const QString &game);
    static void setText(const QString &game, const QString &text);
};

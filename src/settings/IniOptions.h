// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IniState.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

/// The game's options file eaw.ini, seen through the option controls of the "General" page.
///
/// The selector owns a few keys of the file: the resolution pair after [GRAPHICS], the online
/// keys and sync rates after [NETOPTION], ExtraSquads= after [EAW], and what the keyboard-control
/// features change. Every rewrite starts from the original copy kept in the VEK folder, so each
/// write is the player's own file with the current choices laid over it; all other lines pass
/// through byte for byte. Lines stay bytes (8-bit text); output lines end in CR LF. Files are
/// looked up without regard to case, and written under the name already present.
///
/// Choices made where the game's own behaviour gives no answer:
/// - SaveOriginals: a game eaw.ini or eaw.exe that is missing has nothing to copy; that is
///   reported naming the file. An original copy present under any case is never replaced.
/// - ReadIniOptions: a missing game eaw.ini is reported; the controls keep what step 1 of the
///   read (clearing) left. A "Width" line at the end of the file has an empty height line. An
///   ExtraSquads= line whose last character is a digit above 5 selects nothing (there is no
///   such button).
/// - save: without an original copy nothing is written, the game's file is left as it is
///   (attributes too), and the answer is false with a message. So it is with an original copy
///   that cannot be an options file (empty, holding NUL bytes, or without a "[section]" line):
///   the message names it and says why. A failed write leaves the game's file with its old
///   bytes (the write is atomic) and names the file.
/// - Feature codes: a code is a number when, after leading blanks, it starts with decimal
///   digits; the digits are the number and the rest is ignored, so a stray blank or note after
///   "57" in a hand-edited KC file still means 57. Any other code not starting with C, D or S
///   has no number and is skipped, as is an empty cell. A number code without a [REMAP line, a
///   sound code whose key line is absent, and the HUD value without a [DISPLAY] line have no anchor
///   and are skipped; so is a target beyond the last kept line. Nothing is ever addressed out of
///   range.
/// - DisplaySectionLine and DisplayInfoLine are found afresh on every rebuild (0 when the
///   original has no such line), so a stale position can never rewrite a foreign line; the
///   last DisplayInfoValue found is kept.
/// - Option4 index 5 writes "ExtraSquads=5", which is what a player who clicked "5" expects;
///   for the same reason Restore selects index 5 for an "ExtraSquads=5" line.
/// - Restore: without an original eaw.ini, or with one that cannot be an options file (as for
///   save), the game's eaw.ini and the controls are left alone and the problem is reported; eaw.exe
///   is still restored when its copy is there. Without an original eaw.exe, eaw.ini is restored and
///   eaw.exe reported. A read-only game eaw.exe is not forced (only eaw.ini is the selector's to
///   unlock) and is reported. Only a night-switched, damaged (empty, cut, no version's
///   bytes) or missing eaw.exe is put back; another program is kept and becomes the original
///   copy (`GameProgram`). The first copy of eaw.exe holds the day pair wherever the night
///   switch had put the night pair.
class IniOptions {
public:
    /// `Option2` captions in index order.
    static const QStringList ResolutionCaptions;

    /// The first time an installation is seen: keeps copies of the game's eaw.ini and eaw.exe
    /// in `mod`. Answers false when a copy was needed and could not be made; `problems` gets
    /// one sentence per failure.
    static bool SaveOriginals(const QString &game, const QString &mod, QStringList *problems);

    /// Sets the resolution, `Check1` and `Option4` from the game's current eaw.ini. `Check2`,
    /// `Check3` and the sync mode are not read from the file and keep their state.
    static void ReadIniOptions(const QString &game, IniState &state, QStringList *problems);

    /// The pure core of inisave: the kept lines of the original with the state laid over.
    /// Updates DisplayInfoValue, DispLab, HUDLab, the two display positions, and clears
    /// ApplyFeature.
    static QList<QByteArray> build(const QList<QByteArray> &original, IniState &state);

    /// inisave's file steps: make the game's eaw.ini writable, rebuild it from the original
    /// copy, write it atomically. The FormReady test before, and the cheat-check step and the
    /// read-only attribute after, are the caller's.
    static bool save(const QString &game, const QString &mod, IniState &state, QString *error);

    /// Restore's file and control steps: both originals are copied back and the controls are
    /// set from the original eaw.ini. FormReady is the caller's. The game's eaw.ini is left
    /// writable. `notice` receives what the player is to be told of a game program that
    /// became the new original copy (empty otherwise). With `rewriteFollows` the caller
    /// rewrites eaw.ini from the original at once (the start does): the copy, which that
    /// rewrite would replace with bytes built from the same original, is not made.
    static bool Restore(const QString &game, const QString &mod, IniState &state,
                        QStringList *problems, QString *notice = nullptr,
                        bool rewriteFollows = false);
};

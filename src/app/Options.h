// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class Reporter;
struct SelectorState;
struct OptionsFields;

/// The game's settings the "General" page and the night switch change: eaw.ini rewritten from
/// the original copy and the option controls, the cheat-check byte, and the night bytes of
/// eaw.exe.
class Options {
public:
    Options(SelectorState &state, Reporter &reporter) : s_(state), r_(reporter) {}

    /// Rewrites the game's eaw.ini from the original copy and the option controls, then the
    /// cheat-check byte, and leaves eaw.ini read-only; nothing while the window loads. False
    /// (the player told) when eaw.ini or the cheat byte could not be written: a command whose
    /// write failed must say so.
    bool inisave();
    /// Puts the original eaw.ini and eaw.exe back and sets the option controls from them. A
    /// game eaw.exe that differs by more than the night switch is a new program: it stays and
    /// becomes the original copy, and the player is told (once, as it is the copy from then).
    /// False (the player told) when something could not be put back.
    bool Restore(bool rewriteFollows = false);
    /// `Command2` "Restore my original eaw.ini": Restore, and the options the player chose for
    /// this game folder are forgotten, so the next start keeps the original's too.
    bool restoreOriginal();
    /// The start's Restore: the original back, then the options the player chose for this game
    /// folder laid over the controls (`KeptOptions`), for the rewrite that follows. The game's
    /// eaw.ini is left to that rewrite, which builds it from the same original: a start
    /// writes the file once, and not at all when it holds those bytes already.
    bool restoreKept();

    /// Option handlers of the "General" page; false when the rewrite they make failed. Each
    /// keeps the option it sets as the player's choice for this game folder.
    bool clickResolution(int index);
    bool clickSquads(int index);
    bool clickOnline(int check, bool on); ///< 1 Start on ground, 2 No AIs, 3 Allow Respawn
    bool clickSync(int index);

    /// A click on `Check4` "Activate the cheatcheck" that leaves it `checked`: rewrites eaw.ini,
    /// which writes the cheat byte. Nothing happens when the box is already in that state
    /// (setting a check box to its own value is no click).
    bool setCheatCheck(bool checked);
    /// `Command12` "V1cheksum": the cheat byte of flt.cdf as decimal text in the caption.
    /// Answers false (the player told) when flt.cdf is missing or too short.
    bool V1cheksum();
    /// Writes `value` as the cheat byte of V1V1.FLT and flt.cdf. A file that cannot take it is
    /// told once, and again only when the problem changes: the same short file would otherwise
    /// be told at every option change and again at the exit.
    bool writeCheatByte(unsigned char value);
    /// The load sequence's step: the cheat byte of flt.cdf cleared.
    void clearCheatByte();
    /// The night switch of `niteform`: "Day ==> Night" (`night`) or "Reset to normal" for
    /// `niteopt`(version). Answers false (the player told, eaw.exe untouched) when refused.
    bool nightSwitch(int version, bool night);

    /// The load sequence's steps on the option controls: the feature of the last run not to
    /// be applied again, a resolution option of the last run cleared, the options read from
    /// the game's eaw.ini.
    /// Forgets the keyboard feature last applied (its codes, its caption): a going back left
    /// eaw.ini as it was without it, as a start does.
    void forgetFeature();
    void clearApplyFeature();
    void clearResolution();
    void readIniOptions(QStringList *problems);

    /// The keyboard-control feature's codes shown ("C" the HUD, "D" the display), or the
    /// defaults for none; its caption in `Label21`; and the feature applied with the next
    /// rewrite (which it makes).
    void showFeatureCodes(const QStringList &codes);
    void setFeatureCaption(const QString &caption);
    bool applyFeature(const QStringList &codes);

private:
    /// Keeps the `options` (KeptOptions::Option) of the controls, once the window is ready.
    void keep(unsigned options);

    OptionsFields &own();
    SelectorState &s_;
    Reporter &r_;
    QString cheatProblem_; ///< last cheat-byte problem told, so a rewrite does not repeat it
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FeatureTable.h"

#include <QString>

class Reporter;
struct SelectorState;
struct FeaturesFields;
class Options;

/// The frame "Disable Keyboard Control" of the page "General": the feature grid `G7` read from
/// the game folder's KC, the 30 buttons `Option13`, "OK! Set this one" and the labels that
/// describe the selected feature. Choosing a feature lays its codes over eaw.ini through
/// `inisave`, and its number becomes `FeatureNumber`, the value of the cheat check.
///
/// The row in force is the one last applied (by its button or by "OK! Set this one"); every
/// later `inisave` applies it again. A click on a grid row only shows that row's values.
class KeyboardFeatures {
public:
    KeyboardFeatures(SelectorState &state, Reporter &reporter, Options &options)
        : s_(state), r_(reporter), options_(options) {}

    /// The load step: fills `G7` and the buttons from KC. The `inisave` that ends the set-up
    /// is the load sequence's next step.
    void setUp();

    /// After a going back: no feature is in force any more (eaw.ini is as it was), as after a
    /// start; the grid and the buttons stay.
    void forget();

    /// A click on `G7` row `row`: makes it current and shows its selection number, display-info
    /// and HUD values.
    void clickG7(int row);
    /// `Command15` "OK! Set this one": applies the current row (nothing for the header).
    bool Command15();
    /// A click on `Option13`(index): chooses feature index + 1.
    bool clickOption13(int index);
    /// The pointer is over `Option13`(index): its description in `Label18`.
    void hoverOption13(int index);
    /// The pointer is over the frame itself.
    void hoverFrame() { Label18.clear(); }

    /// Whether `Option13`(index) is shown (and enabled): only buttons with a feature are.
    bool optionShown(int index) const { return index >= 0 && index < G7.count(); }
    /// "# 1" ... "# 30".
    static QString optionCaption(int index) { return QStringLiteral("# %1").arg(index + 1); }

    FeatureTable G7;
    int G7Row = 0;   ///< the current row of `G7`
    QString Label18; ///< description of the feature under the pointer
    QString Label14; ///< "Selection Number": the first two characters of the row's description
    /// What the frame says about the table itself: that there are no features, or that only
    /// the first 30 are offered. Empty when there is nothing to say.
    QString Notice;

private:
    FeaturesFields &own();
    SelectorState &s_;
    Reporter &r_;
    Options &options_;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyboardFeatures.h"

#include "Options.h"
#include "Reporter.h"
#include "SelectorState.h"

FeaturesFields &KeyboardFeatures::own() {
    return s_.own(Key<KeyboardFeatures>());
}

void KeyboardFeatures::setUp() {
    s_.touch(Change::Options);
    QString error;
    if (!G7.read(s_.GameFolder(), &error))
        r_.report(error);
    G7Row = 0;
    Label18.clear();
    Label14.clear();
    Notice.clear();
    if (G7.count() == 0) {
        Notice = G7.present ? QStringLiteral("There are no features: the file KC is empty.")
                            : QStringLiteral("There are no features: the game folder has no "
                                             "KC file.");
    } else if (G7.skipped > 0) {
        Notice = QStringLiteral("KC lists %1 features; only the first %2 can be chosen.")
                     .arg(G7.count() + G7.skipped)
                     .arg(FeatureTable::MaxFeatures);
        r_.report(Notice);
    }
}

void KeyboardFeatures::clickG7(int row) {
    s_.touch(Change::Options);
    if (row < 0 || row >= G7.rowCount())
        return;
    G7Row = row;
    Label14.clear();
    if (row < 1) {
        options_.showFeatureCodes({});
        return;
    }
    Label14 = G7.cell(row, 0).left(2);
    options_.showFeatureCodes(G7.codes(row));
}

bool KeyboardFeatures::Command15() {
    s_.touch(Change::Options);
    if (G7Row < 1)
        return true;
    return options_.applyFeature(G7.codes(G7Row));
}

void KeyboardFeatures::forget() {
    own().FeatureNumber = 0;
    G7Row = 0;
    Label14.clear();
    options_.forgetFeature();
}

bool KeyboardFeatures::clickOption13(int index) {
    s_.touch(Change::Options);
    if (!optionShown(index))
        return true;
    clickG7(index + 1);
    options_.setFeatureCaption(optionCaption(index));
    own().FeatureNumber = index + 1;
    return Command15();
}

void KeyboardFeatures::hoverOption13(int index) {
    if (optionShown(index))
        Label18 = G7.cell(index + 1, 0);
}

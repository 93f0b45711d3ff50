// SPDX-License-Identifier: GPL-3.0-or-later
#include "Options.h"

#include "BytePatch.h"
#include "CheatCheck.h"
#include "FileList.h"
#include "FileOps.h"
#include "IniOptions.h"
#include "KeptOptions.h"
#include "NightSwitch.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "VekFolderCheck.h"

#include <QFileInfo>

OptionsFields &Options::own() {
    return s_.own(Key<Options>());
}

bool Options::inisave() {
    if (!s_.FormReady)
        return true;
    // The rewrite starts from the original copy in the VEK folder.
    if (!VekFolderCheck::there(s_, r_))
        return false;
    QString error;
    const bool saved =
        IniOptions::save(s_.folders().GameFolder, s_.folders().ModFolder, own().ini, &error);
    if (!saved)
        r_.report(error);
    const bool cheatWritten = writeCheatByte(CheatCheck::value(s_.Check4, s_.FeatureNumber));
    const QString iniPath = FileList::resolve(s_.folders().GameFolder, QStringLiteral("eaw.ini"));
    if (QFileInfo::exists(iniPath))
        FileOps::setReadOnly(iniPath, true);
    return saved && cheatWritten;
}

bool Options::Restore(bool rewriteFollows) {
    s_.touch(Change::Options);
    QStringList problems;
    QString notice;
    const bool restored = IniOptions::Restore(s_.folders().GameFolder, s_.folders().ModFolder,
                                              own().ini, &problems, &notice, rewriteFollows);
    r_.tell(problems);
    // Once only: from now on the game's program is the original copy.
    if (!notice.isEmpty())
        r_.inform(notice);
    return restored;
}

bool Options::restoreOriginal() {
    if (!VekFolderCheck::there(s_, r_))
        return false;
    KeptOptions::forget(s_.folders().optionsFolder());
    return Restore();
}

bool Options::restoreKept() {
    const bool restored = Restore(true);
    KeptOptions::apply(s_.folders().optionsFolder(), own().ini);
    return restored;
}

void Options::keep(unsigned options) {
    // The window's own changes while it loads or restores are not the player's choice.
    if (s_.FormReady)
        KeptOptions::keep(s_.folders().optionsFolder(), s_.ini, options);
}

bool Options::clickResolution(int index) {
    s_.touch(Change::Options);
    own().ini.resolution = index;
    keep(KeptOptions::Resolution);
    return inisave();
}

bool Options::clickSquads(int index) {
    s_.touch(Change::Options);
    own().ini.squads = index;
    keep(KeptOptions::Squads);
    return inisave();
}

bool Options::clickOnline(int check, bool on) {
    s_.touch(Change::Options);
    switch (check) {
    case 1:
        own().ini.startOnGround = on;
        keep(KeptOptions::StartOnGround);
        break;
    case 2:
        own().ini.noAI = on;
        keep(KeptOptions::NoAI);
        break;
    case 3:
        own().ini.allowRespawn = on;
        keep(KeptOptions::AllowRespawn);
        break;
    default:
        return true;
    }
    return inisave();
}

bool Options::clickSync(int index) {
    s_.touch(Change::Options);
    own().ini.sync = index;
    // "Eaw.ini Sync Rate" puts the whole original back, every option with it: what the window
    // then shows is what the next start shows.
    if (index == 0)
        return restoreOriginal();
    keep(KeptOptions::Sync);
    return inisave();
}

bool Options::setCheatCheck(bool checked) {
    s_.touch(Change::Options);
    if (s_.Check4 == checked)
        return true;
    own().Check4 = checked;
    return inisave();
}

void Options::forgetFeature() {
    own().ini.ApplyFeature = false;
    own().ini.featureCodes.clear();
    own().ini.Label21.clear();
    // Its HUD colour and display info no longer go into the next rewrite.
    own().ini.HUDLab.clear();
    own().ini.DispLab = own().ini.DisplayInfoValue;
}

void Options::clearApplyFeature() {
    own().ini.ApplyFeature = false;
}

void Options::clearResolution() {
    if (s_.ini.resolution >= 0 && s_.ini.resolution <= 5)
        own().ini.resolution = -1;
}

void Options::readIniOptions(QStringList *problems) {
    IniOptions::ReadIniOptions(s_.folders().GameFolder, own().ini, problems);
}

void Options::showFeatureCodes(const QStringList &codes) {
    IniState &ini = own().ini;
    ini.HUDLab.clear();
    ini.DispLab = ini.DisplayInfoValue;
    for (const QString &code : codes) {
        if (code.startsWith(QLatin1Char('C')))
            ini.HUDLab = code.mid(1);
        else if (code.startsWith(QLatin1Char('D')))
            ini.DispLab = code.mid(1);
    }
}

void Options::setFeatureCaption(const QString &caption) {
    own().ini.Label21 = caption;
}

bool Options::applyFeature(const QStringList &codes) {
    own().ini.featureCodes = codes;
    own().ini.ApplyFeature = true;
    return inisave();
}

bool Options::V1cheksum() {
    s_.touch(Change::Options);
    unsigned char value = 0;
    QString error;
    const QString path = FileList::resolve(s_.folders().GameFolder, QStringLiteral("flt.cdf"));
    if (!BytePatch::readByte(path, CheatCheck::FltCdfPosition, &value, &error)) {
        r_.report(error);
        return false;
    }
    r_.setCaption(QString::number(value));
    return true;
}

bool Options::writeCheatByte(unsigned char value) {
    QString error;
    const bool written = CheatCheck::step(s_.folders().GameFolder, value, &error);
    if (!written && error != cheatProblem_)
        r_.report(error);
    cheatProblem_ = error;
    return written;
}

bool Options::nightSwitch(int version, bool night) {
    s_.touch(Change::Options);
    QString error;
    if (NightSwitch::apply(s_.folders().GameFolder, version, night, &error))
        return true;
    r_.report(error);
    return false;
}
void Options::clearCheatByte() {
    QString error;
    if (!CheatCheck::clearAtLoad(s_.folders().GameFolder, &error))
        r_.report(error);
    // The same file refuses the option changes' writes too: told here, not again there.
    cheatProblem_ = error;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeptOptions.h"

#include "FileHook.h"
#include "IniState.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {
const char *const kResolution = "resolution";
const char *const kSquads = "squads";
const char *const kStartOnGround = "startOnGround";
const char *const kNoAI = "noAI";
const char *const kAllowRespawn = "allowRespawn";
const char *const kSync = "sync";

QString settingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("vekselector/vekselector.conf"));
}

/// "Options/<the game folder's path, percent-encoded>": a separator in the path would
/// otherwise open a group per folder level.
QString group(const QString &game) {
    return QStringLiteral("Options/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QDir::cleanPath(QDir(game).absolutePath())));
}

void readInt(const QSettings &s, const char *key, int lowest, int highest, int &into) {
    if (!s.contains(QLatin1String(key)))
        return;
    bool ok = false;
    const int value = s.value(QLatin1String(key)).toInt(&ok);
    if (ok && value >= lowest && value <= highest)
        into = value;
}

void readBool(const QSettings &s, const char *key, bool &into) {
    if (s.contains(QLatin1String(key)))
        into = s.value(QLatin1String(key)).toBool();
}
} // namespace

void KeptOptions::keep(const QString &game, const IniState &state, unsigned options) {
    // A dry run changes nothing outside its twin of the folders.
    if (FileHook::isolated() || options == 0)
        return;
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(group(game));
    if (options & Resolution)
        s.setValue(QLatin1String(kResolution), state.resolution);
    if (options & Squads)
        s.setValue(QLatin1String(kSquads), state.squads);
    if (options & StartOnGround)
        s.setValue(QLatin1String(kStartOnGround), state.startOnGround);
    if (options & NoAI)
        s.setValue(QLatin1String(kNoAI), state.noAI);
    if (options & AllowRespawn)
        s.setValue(QLatin1String(kAllowRespawn), state.allowRespawn);
    if (options & Sync)
        s.setValue(QLatin1String(kSync), state.sync);
    s.endGroup();
    s.sync();
}

bool KeptOptions::apply(const QString &game, IniState &state) {
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(group(game));
    if (s.childKeys().isEmpty())
        return false;
    readInt(s, kResolution, 0, 6, state.resolution);
    readInt(s, kSquads, 0, 5, state.squads);
    readBool(s, kStartOnGround, state.startOnGround);
    readBool(s, kNoAI, state.noAI);
    readBool(s, kAllowRespawn, state.allowRespawn);
    readInt(s, kSync, 0, 2, state.sync);
    return true;
}

void KeptOptions::forget(const QString &game) {
    if (FileHook::isolated())
        return;
    QSettings s(settingsFile(), QSettings::IniFormat);
    if (!s.childGroups().contains(QStringLiteral("Options")))
        return;
    s.remove(group(game));
    s.sync();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeptOptions.h"

#include "FileHook.h"
#include "IniState.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QVariant>

#include <algorithm>
#include <utility>

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

/// The game folder's path, percent-encoded: a separator in it would otherwise open a group
/// per folder level.
QString key(const QString &game) {
    return QString::fromLatin1(QUrl::toPercentEncoding(QDir::cleanPath(QDir(game).absolutePath())));
}

/// Where the options of `game` are kept in the settings file.
QString group(const QString &game) {
    return QStringLiteral("Options/") + key(game);
}

/// Tells the file hook (a dry run's listing, a trace) of the settings file written, and of
/// the folders a first write makes for it (`makes`): a dry run shows it as the real run does.
void told(bool makes) {
    const QString file = settingsFile();
    if (makes) {
        QStringList missing;
        for (QString dir = QFileInfo(file).absolutePath(); !QFileInfo::exists(dir);
             dir = QFileInfo(dir).absolutePath())
            missing.prepend(dir);
        for (const QString &dir : std::as_const(missing))
            FileHook::done(FileOperation::of(FileOperation::Kind::Folder, dir));
    }
    FileHook::done(FileOperation::of(FileOperation::Kind::Rewrite, file));
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
    QList<std::pair<const char *, QVariant>> values;
    if (options & Resolution)
        values.append({kResolution, state.resolution});
    if (options & Squads)
        values.append({kSquads, state.squads});
    if (options & StartOnGround)
        values.append({kStartOnGround, state.startOnGround});
    if (options & NoAI)
        values.append({kNoAI, state.noAI});
    if (options & AllowRespawn)
        values.append({kAllowRespawn, state.allowRespawn});
    if (options & Sync)
        values.append({kSync, state.sync});
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(group(game));
    const bool differs = std::any_of(values.cbegin(), values.cend(), [&s](const auto &v) {
        const QString key = QLatin1String(v.first);
        return !s.contains(key) || s.value(key).toString() != v.second.toString();
    });
    if (!differs)
        return;
    told(true);
    // A dry run changes nothing outside its twin of the folders; it only says what it would.
    if (FileHook::isolated())
        return;
    for (const auto &[key, value] : std::as_const(values))
        s.setValue(QLatin1String(key), value);
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
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Options"));
    const bool kept = s.childGroups().contains(key(game));
    s.endGroup();
    if (!kept)
        return;
    told(false);
    if (FileHook::isolated())
        return;
    s.remove(group(game));
    s.sync();
}

QString KeptOptions::text(const QString &game) {
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.beginGroup(group(game));
    QStringList keys = s.childKeys();
    keys.sort();
    QStringList pairs;
    for (const QString &k : std::as_const(keys))
        pairs << k + QLatin1Char('=') + s.value(k).toString();
    return pairs.join(QLatin1Char(';'));
}

void KeptOptions::setText(const QString &game, const QString &text) {
    if (KeptOptions::text(game) == text)
        return;
    told(true);
    if (FileHook::isolated())
        return;
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.remove(group(game));
    s.beginGroup(group(game));
    for (const QString &pair : text.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        s.setValue(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    s.endGroup();
    s.sync();
}

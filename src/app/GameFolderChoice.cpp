// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFolderChoice.h"

#include "Locator.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
/// The one folder earlier versions kept; still read, so an update keeps the player's folder.
const QString kLastKey = QStringLiteral("LastGameFolder");
const QString kRecentKey = QStringLiteral("RecentGameFolders");

QString settingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("vekselector/vekselector.conf"));
}

/// Every folder kept, the latest first, dead ones included.
QStringList kept(const QSettings &s) {
    QStringList folders = s.value(kRecentKey).toStringList();
    const QString last = s.value(kLastKey).toString();
    if (!last.isEmpty() && !folders.contains(last))
        folders.prepend(last);
    folders.removeAll(QString());
    return folders;
}
} // namespace

QString GameFolderChoice::choose(const QString &currentDir) {
    if (Locator::isGameFolder(currentDir))
        return currentDir;
    const QStringList live = recent();
    return live.isEmpty() ? QString() : live.first();
}

void GameFolderChoice::remember(const QString &folder) {
    QSettings s(settingsFile(), QSettings::IniFormat);
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    QStringList folders = kept(s);
    folders.removeAll(path);
    folders.prepend(path);
    // A folder that has gone is no choice; it is forgotten once the list changes anyway.
    QStringList live;
    for (const QString &f : std::as_const(folders)) {
        if (live.size() < Kept && (f == path || Locator::isGameFolder(f)))
            live << f;
    }
    s.setValue(kLastKey, path);
    s.setValue(kRecentKey, live);
    s.sync();
}

QString GameFolderChoice::remembered() {
    return QSettings(settingsFile(), QSettings::IniFormat).value(kLastKey).toString();
}

QStringList GameFolderChoice::recent() {
    QStringList live;
    for (const QString &f : kept(QSettings(settingsFile(), QSettings::IniFormat))) {
        if (live.size() < Kept && Locator::isGameFolder(f))
            live << f;
    }
    return live;
}

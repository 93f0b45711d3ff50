// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFolderChoice.h"

#include "FileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kKey = QStringLiteral("LastGameFolder");

QString settingsFile() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("vekselector/vekselector.conf"));
}
} // namespace

bool GameFolderChoice::isGameFolder(const QString &folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    const QStringList names = FileList::files(folder, QStringLiteral("eaw.exe;LastVEKDir"));
    return !names.isEmpty();
}

QString GameFolderChoice::choose(const QString &currentDir) {
    if (isGameFolder(currentDir))
        return currentDir;
    const QString last = remembered();
    return isGameFolder(last) ? last : QString();
}

void GameFolderChoice::remember(const QString &folder) {
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.setValue(kKey, QDir(folder).absolutePath());
    s.sync();
}

QString GameFolderChoice::remembered() {
    return QSettings(settingsFile(), QSettings::IniFormat).value(kKey).toString();
}

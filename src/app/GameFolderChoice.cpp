// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameFolderChoice.h"

#include "Locator.h"

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

QString GameFolderChoice::choose(const QString &currentDir) {
    if (Locator::isGameFolder(currentDir))
        return currentDir;
    const QString last = remembered();
    return Locator::isGameFolder(last) ? last : QString();
}

void GameFolderChoice::remember(const QString &folder) {
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.setValue(kKey, QDir(folder).absolutePath());
    s.sync();
}

QString GameFolderChoice::remembered() {
    return QSettings(settingsFile(), QSettings::IniFormat).value(kKey).toString();
}

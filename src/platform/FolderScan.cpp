// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderScan.h"

#include <QDir>

QString FolderScan::unreadable(const QString &folder, const QString &reason) {
    return QStringLiteral("Could not list the folder \"%1\": %2.")
        .arg(QDir::toNativeSeparators(folder), reason);
}

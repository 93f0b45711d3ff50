// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileIdentity.h"

#include <QStringList>

QString FileIdentity::text() const {
    return exists ? QStringLiteral("%1:%2:%3").arg(size).arg(modified).arg(inode)
                  : QStringLiteral("absent");
}

FileIdentity FileIdentity::fromText(const QString &text) {
    FileIdentity id;
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return id;
    id.exists = true;
    id.size = parts.at(0).toLongLong();
    id.modified = parts.at(1).toLongLong();
    id.inode = parts.at(2).toULongLong();
    return id;
}

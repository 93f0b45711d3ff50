// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileIdentity.h"

#include <QStringList>

QString FileIdentity::text() const {
    return exists ? QStringLiteral("%1:%2:%3:%4").arg(size).arg(modified).arg(inode).arg(changed)
                  : QStringLiteral("absent");
}

FileIdentity FileIdentity::fromText(const QString &text) {
    FileIdentity id;
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3 && parts.size() != 4)
        return id;
    id.exists = true;
    id.size = parts.at(0).toLongLong();
    id.modified = parts.at(1).toLongLong();
    id.inode = parts.at(2).toULongLong();
    id.changed = parts.size() == 4 ? parts.at(3).toLongLong() : 0;
    return id;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "NightSwitch.h"

#include "BytePatch.h"
#include "FileList.h"

#include <QDir>
#include <QFileInfo>

const NightSwitch::Version NightSwitch::Versions[4] = {
    {"EAW Version 1.2 and variants", "1.2", 594615},
    {"EAW Version 1.1 and variants", "1.1", 582209},
    {"EAW Version 1.0 and variants", "1.0", 699395},
    {"EAW Version 1.2a", "1.2a", 636635},
};

qint64 NightSwitch::reach() {
    // The shortest reach: a version whose bytes come early (1.1) may be a smaller program than
    // the offsets of another reach.
    qint64 end = Versions[0].offset + 2;
    for (const Version &v : Versions)
        end = qMin(end, v.offset + 2);
    return end;
}

int NightSwitch::versionNamed(const QString &name) {
    for (int i = 0; i < 4; ++i)
        if (name == QLatin1String(Versions[i].name))
            return i;
    return -1;
}

QString NightSwitch::state(const QString &gameFolder) {
    const QString path = FileList::resolve(gameFolder, QStringLiteral("eaw.exe"));
    if (!QFileInfo(path).isFile())
        return QStringLiteral("The game folder has no eaw.exe.");
    QString day;
    for (const Version &v : Versions) {
        QByteArray present;
        if (!BytePatch::readBytes(path, v.offset + 1, 2, &present, nullptr))
            continue;
        if (present == NightBytes)
            return QStringLiteral("Now: night missions (%1).").arg(QLatin1String(v.caption));
        if (present == NormalBytes && day.isEmpty())
            day = QStringLiteral("Now: day missions (%1).").arg(QLatin1String(v.caption));
    }
    return day.isEmpty() ? QStringLiteral("Now: eaw.exe is none of these versions.") : day;
}

bool NightSwitch::apply(const QString &gameFolder, int index, bool night, QString *error) {
    if (index < 0 || index > 3)
        return false;
    const Version &v = Versions[index];
    const QString path = FileList::resolve(gameFolder, QStringLiteral("eaw.exe"));
    const qint64 position = v.offset + 1;
    const QFileInfo info(path);
    if (info.isFile() && info.size() < position + 1) {
        if (error)
            *error = QStringLiteral("Could not patch \"%1\": it is %2 bytes long, too short to be "
                                    "%3. Nothing was written.")
                         .arg(QDir::toNativeSeparators(path))
                         .arg(info.size())
                         .arg(QLatin1String(v.caption));
        return false;
    }
    QByteArray present;
    if (!BytePatch::readBytes(path, position, 2, &present, error))
        return false;
    if (present != NormalBytes && present != NightBytes) {
        if (error)
            *error = QStringLiteral("Could not patch \"%1\": it does not look like %2 (the bytes "
                                    "at offset 0x%3 are %4, neither the day nor the night "
                                    "setting). Nothing was written.")
                         .arg(QDir::toNativeSeparators(path), QLatin1String(v.caption))
                         .arg(QString::number(v.offset, 16).toUpper())
                         .arg(QString::fromLatin1(present.toHex(' ')).toUpper());
        return false;
    }
    const QByteArray &wanted = night ? NightBytes : NormalBytes;
    if (present == wanted)
        return true;
    return BytePatch::overwriteBytes(path, position, wanted, error);
}

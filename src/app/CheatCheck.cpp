// SPDX-License-Identifier: GPL-3.0-or-later
#include "CheatCheck.h"

#include "BytePatch.h"
#include "FileList.h"

namespace {
QByteArray byte(unsigned char value) {
    return QByteArray(1, static_cast<char>(value));
}
} // namespace

bool CheatCheck::clearAtLoad(const QString &gameFolder, QString *error) {
    const QString name = FileList::find(gameFolder, QStringLiteral("flt.cdf"));
    if (name.isEmpty())
        return true;
    return BytePatch::overwriteBytes(FileList::join(gameFolder, name), FltCdfPosition, byte(0),
                                     error);
}

bool CheatCheck::step(const QString &gameFolder, unsigned char value, QString *error) {
    // One listing of the game folder answers both presence tests; only the two names are
    // sorted, not the tens of thousands of the folder.
    const QStringList names = FileList::files(gameFolder, QStringLiteral("V1V1.FLT;flt.cdf"));
    QStringList failures;
    const struct {
        const char *name;
        qint64 position;
    } targets[] = {{"V1V1.FLT", V1V1Position}, {"flt.cdf", FltCdfPosition}};
    for (const auto &t : targets) {
        const QString listed = FileList::findIn(names, QLatin1String(t.name));
        if (listed.isEmpty())
            continue;
        QString why;
        if (!BytePatch::overwriteBytes(FileList::join(gameFolder, listed), t.position, byte(value),
                                       &why))
            failures << why;
    }
    if (!failures.isEmpty() && error)
        *error = failures.join(QStringLiteral("\r\n"));
    return failures.isEmpty();
}

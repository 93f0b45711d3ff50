#include "CheatCheck.h"

#include "BytePatch.h"
#include "FileList.h"

bool CheatCheck::clearAtLoad(const QString &gameFolder, QString *error) {
    const QString name = FileList::find(gameFolder, QStringLiteral("flt.cdf"));
    if (name.isEmpty())
        return true;
    return BytePatch::writeByte(FileList::join(gameFolder, name), FltCdfPosition, 0, error);
}

bool CheatCheck::step(const QString &gameFolder, unsigned char value, QString *error) {
    bool ok = true;
    const QString v1 = FileList::find(gameFolder, QStringLiteral("V1V1.FLT"));
    if (!v1.isEmpty())
        ok = BytePatch::writeByte(FileList::join(gameFolder, v1), V1V1Position, value, error);
    const QString cdf = FileList::find(gameFolder, QStringLiteral("flt.cdf"));
    if (!cdf.isEmpty() && ok)
        ok = BytePatch::writeByte(FileList::join(gameFolder, cdf), FltCdfPosition, value, error);
    return ok;
}

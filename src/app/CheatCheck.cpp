#include "CheatCheck.h"

#include "BytePatch.h"
#include "FileList.h"

bool CheatCheck::clearAtLoad(const QString &gameFolder, QString *error) {
    const QString name = FileList::find(gameFolder, QStringLiteral("flt.cdf"));
    if (name.isEmpty())
        return true;
    return BytePatch::writeByte(FileList::join(gameFolder, name), FltCdfPosition, 0, error);
}

#include "StrayCleanup.h"

#include "FileList.h"
#include "FileOps.h"

bool StrayCleanup::kept(const QString &name) {
    const QString upper = name.toUpper();
    return upper == QLatin1String("EXTRA.SPT") || upper == QLatin1String("CHATLINE.TXT");
}

QStringList StrayCleanup::run(const QString &gameFolder) {
    QStringList failures;
    for (const QString &name : FileList::files(gameFolder, StrayPatterns)) {
        if (kept(name))
            continue;
        QString error;
        if (!FileOps::remove(FileList::join(gameFolder, name), &error))
            failures << error;
    }
    return failures;
}

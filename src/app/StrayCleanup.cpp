#include "StrayCleanup.h"

#include "FileList.h"
#include "FileOps.h"
#include "KeptFiles.h"

bool StrayCleanup::kept(const QString &name) {
    const QString upper = name.toUpper();
    return upper == QLatin1String("EXTRA.SPT") || upper == QLatin1String("CHATLINE.TXT");
}

QStringList StrayCleanup::run(const QString &gameFolder) {
    QStringList failures;
    for (const QString &name : FileList::files(gameFolder, StrayPatterns)) {
        // A file kept while a load replaced it is the game's own: the journal's recovery
        // settles it, never a sweep.
        if (kept(name) || !KeptFiles::keptFor(name).isEmpty())
            continue;
        QString error;
        if (!FileOps::remove(FileList::join(gameFolder, name), &error))
            failures << error;
    }
    return failures;
}

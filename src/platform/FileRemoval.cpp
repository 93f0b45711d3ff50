// SPDX-License-Identifier: GPL-3.0-or-later
// The portable part of `FileCopy`'s deletes: which file each name stands for, and the deletes
// by path that a dry run, a trace, or a system without the short way take.
#include "FileCopy.h"

#include "FileCopyParts.h"

#include "FileHook.h"

#include <vector>

using namespace FileCopyParts;

bool FileCopy::removeNamed(const QString &folder, const QStringList &names, QStringList *failures,
                           QString *error, const std::function<bool(const QString &)> &before,
                           const Variant &variant) {
    // A dry run or a trace wants each delete by its path; every other run takes the short way.
    if (!FileHook::recording() && !FileHook::isolated()) {
        switch (removeInFolder(folder, names, failures, error, before, variant)) {
        case Removal::Done:
            return true;
        case Removal::Unreadable:
            return false;
        case Removal::NotTaken:
            break;
        }
    }
    QList<qsizetype> group;
    QList<QStringList> found;
    if (!findGroups(folder, names, &group, &found, error))
        return false;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    std::vector<char> done(size_t(found.size()));
    QString reason;
    for (qsizetype i = 0; i < names.size(); ++i) {
        for (const QString *file :
             filesFor(i, names, group, found, done, folder, variant, failures)) {
            if (before && !before(*file))
                return true;
            if (!removeFile(prefix + *file, &reason))
                failures->append(reason);
        }
    }
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The portable part of `FileRemoval`'s deletes: which file each name stands for, and the deletes
// by path that a dry run, a trace, or a system without the short way take.
#include "FileRemoval.h"

#include "SharedListing.h"

#include "FileParts.h"

#include "FileHook.h"

#include <QFileInfo>

#include <vector>

using namespace FileParts;

bool FileRemoval::removeNamed(const QString &folder, const QStringList &names,
                              QStringList *failures, QString *error,
                              const std::function<bool(const QString &)> &before,
                              const Variant &variant, QList<Removed> *removed) {
    // A dry run or a trace wants each delete by its path; every other run takes the short way.
    if (!FileHook::recording() && !FileHook::isolated()) {
        // Its deletes are not told one by one: the folder's shared listing loses the files it
        // deleted; after a refusal or a failed delete (the folder changed meanwhile) every
        // listing is read again.
        QList<Removed> mine;
        QList<Removed> *out = removed ? removed : &mine;
        const qsizetype removedBefore = out->size();
        const qsizetype failedBefore = failures->size();
        const Removal outcome =
            removeInFolder(folder, names, failures, error, before, variant, out);
        if (failures->size() > failedBefore) {
            SharedListing::drop();
        } else {
            QStringList gone;
            gone.reserve(out->size() - removedBefore);
            for (qsizetype k = removedBefore; k < out->size(); ++k)
                gone << out->at(k).file;
            SharedListing::removed(folder, gone);
        }
        switch (outcome) {
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
    // Every file is looked at before the first goes: one that cannot keeps them all.
    struct Doomed {
        qsizetype asked;
        const QString *file;
    };
    std::vector<Doomed> doomed;
    const qsizetype refusedBefore = failures->size();
    for (qsizetype i = 0; i < names.size(); ++i)
        for (const QString *file :
             filesFor(i, names, group, found, done, folder, variant, failures))
            doomed.push_back({i, file});
    const QString folderWhy = doomed.empty() ? QString() : folderRefusal(folder);
    if (!folderWhy.isEmpty())
        failures->append(
            folderRefused(prefix + *doomed.front().file, qsizetype(doomed.size()) - 1, folderWhy));
    else
        for (const Doomed &d : doomed)
            if (const QString why = fileRefusal(prefix + *d.file); !why.isEmpty())
                fail(&failures->emplace_back(), QStringLiteral("delete"), prefix + *d.file, why);
    if (failures->size() > refusedBefore)
        return true;
    QString reason;
    for (const Doomed &d : doomed) {
        if (before && !before(*d.file))
            return true;
        const QString path = prefix + *d.file;
        const bool was = QFileInfo::exists(path) || QFileInfo(path).isSymLink();
        if (!removeFile(path, &reason)) {
            failures->append(reason);
            return true;
        }
        if (was && removed)
            removed->append({names.at(d.asked), *d.file});
    }
    return true;
}

QString FileRemoval::removable(const QString &path) {
    const QFileInfo fi(path);
    if (const QString why = folderRefusal(fi.absolutePath()); !why.isEmpty())
        return why;
    return fileRefusal(path);
}

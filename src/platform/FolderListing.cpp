// SPDX-License-Identifier: GPL-3.0-or-later
// `FolderListing`: the case-blind lookup of names in a folder, over `FolderScan`'s one pass.
#include "FolderListing.h"

#include "FileParts.h"

#include "FileList.h"
#include "FolderScan.h"

#include <QByteArray>
#include <QHash>

#include <atomic>
#include <thread>

using namespace FileParts;

bool FileParts::findGroups(const QString &folder, const QStringList &names,
                           QList<qsizetype> *groups, QList<QStringList> *found, QString *error) {
    // Names equal without regard to case share one group, found by their case-folded bytes.
    QHash<QByteArray, qsizetype> groupOf;
    groupOf.reserve(names.size());
    QList<qsizetype> &group = *groups;
    group.resize(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QByteArray key = FileList::fold(names[i]).toUtf8();
        auto it = groupOf.constFind(key);
        if (it == groupOf.cend())
            it = groupOf.insert(key, groupOf.size());
        group[i] = it.value();
    }
    *found = QList<QStringList>(groupOf.size());
    return FolderScan::collect(folder, groupOf, found, error);
}

bool FolderListing::fileNames(const QString &folder, QStringList *names, QString *error) {
    return FolderScan::names(folder, FolderScan::Kind::Files, names, error);
}

bool FolderListing::findAll(const QString &folder, const QStringList &names,
                            QList<QStringList> *present, QString *error) {
    QList<qsizetype> group;
    QList<QStringList> found;
    if (!findGroups(folder, names, &group, &found, error))
        return false;
    present->clear();
    present->reserve(names.size());
    for (const qsizetype g : std::as_const(group))
        present->append(found[g]);
    return true;
}

bool FolderListing::findAll(const QString &folder, const QStringList &names,
                            QList<QStringList> *present, QString *error,
                            const std::function<bool()> &meanwhile) {
    bool listed = false;
    std::atomic<bool> done{false};
    QString reason;
    {
        std::jthread lister([&] {
            listed = findAll(folder, names, present, &reason);
            done.store(true, std::memory_order_release);
        });
        while (!done.load(std::memory_order_acquire) && meanwhile()) {
        }
    }
    if (!listed && error)
        *error = reason;
    return listed;
}

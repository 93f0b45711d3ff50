// SPDX-License-Identifier: GPL-3.0-or-later
#include "Ownership.h"

#include "FileList.h"
#include "FolderListing.h"

#include <algorithm>

void Ownership::build(const QList<Carrier> &carriers, QStringList *problems) {
    carriers_ = carriers;
    carried_.clear();
    files_.clear();
    index_.clear();
    // Who carries what, by case-folded name, in load order.
    QHash<QString, File> by;
    for (int c = 0; c < carriers_.size(); ++c) {
        QStringList names;
        QString error;
        if (!FolderListing::fileNames(carriers_[c].folder, &names, &error)) {
            if (problems)
                problems->append(error);
            names.clear();
        }
        const Rule &skip = carriers_[c].skip;
        if (skip)
            names.removeIf([&skip](const QString &n) { return skip(n); });
        FileList::sortNames(names);
        for (const QString &n : std::as_const(names)) {
            File &file = by[n.toCaseFolded()];
            // One folder holding two names of one file in different cases counts once.
            if (!file.carriers.isEmpty() && file.carriers.last() == c)
                continue;
            file.carriers.append(c);
            file.names.append(n);
        }
        carried_.append(names);
    }
    for (auto it = by.cbegin(); it != by.cend(); ++it)
        files_.append(it.value());
    std::sort(files_.begin(), files_.end(), [](const File &a, const File &b) {
        if (a.owner() != b.owner())
            return a.owner() < b.owner();
        const int folded = a.name().compare(b.name(), Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name() < b.name();
    });
    for (qsizetype i = 0; i < files_.size(); ++i)
        index_.insert(files_[i].name().toCaseFolded(), i);
}

const Ownership::File *Ownership::find(const QString &name) const {
    const auto it = index_.constFind(name.toCaseFolded());
    return it == index_.cend() ? nullptr : &files_.at(*it);
}

int Ownership::indexOf(const QString &name) const {
    for (int c = 0; c < carriers_.size(); ++c)
        if (carriers_[c].name == name)
            return c;
    return -1;
}

QString Ownership::source(const File &file, qsizetype k) const {
    if (k < 0)
        k = file.carriers.size() - 1;
    return FileList::join(carriers_.at(file.carriers.at(k)).folder, file.names.at(k));
}

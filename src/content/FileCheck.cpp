// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCheck.h"

#include "FileCompare.h"
#include "FileCopy.h"
#include "FileList.h"
#include "FolderListing.h"

#include <QSet>

namespace {

// The name a copy into the game folder writes for a file present under `variants`: the exact
// name when present, else the first variant in name order (as `FileList::findIn` chooses).
QString presentName(const QString &name, QStringList variants) {
    if (variants.isEmpty() || variants.contains(name))
        return variants.isEmpty() ? QString() : name;
    FileList::sortNames(variants);
    return variants.first();
}

FileCheck::Finding finding(const Ownership &o, const Ownership::File &file,
                           const QString &gameFolder, const QString &present) {
    FileCheck::Finding f;
    f.kind = present.isEmpty() ? FileCheck::Finding::Missing : FileCheck::Finding::Changed;
    f.carrier = o.carriers().at(file.owner()).name;
    f.file = file.name();
    f.source = o.source(file);
    f.target = FileList::join(gameFolder, present.isEmpty() ? file.name() : present);
    return f;
}

} // namespace

QString FileCheck::Finding::line() const {
    return (kind == Missing ? QStringLiteral("missing") : QStringLiteral("changed")) +
           QLatin1Char('\t') + carrier + QLatin1Char('\t') + file;
}

QList<FileCheck::Finding> FileCheck::verify(const Ownership &ownership, const QString &gameFolder,
                                            const Ownership::Rule &presenceOnly,
                                            QStringList *problems) {
    QList<Finding> findings;
    QStringList names;
    for (const Ownership::File &file : ownership.files())
        names << file.name();
    QList<QStringList> present;
    QString error;
    if (!FolderListing::findAll(gameFolder, names, &present, &error)) {
        problems->append(error);
        return findings;
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        const Ownership::File &file = ownership.files().at(i);
        const QString name = presentName(file.name(), present.at(i));
        if (name.isEmpty()) {
            findings << finding(ownership, file, gameFolder, name);
            continue;
        }
        if (presenceOnly && presenceOnly(file.name()))
            continue;
        const Finding f = finding(ownership, file, gameFolder, name);
        switch (FileCompare::sameBytes(f.source, f.target, &error)) {
        case FileCompare::Result::Same:
            break;
        case FileCompare::Result::Differs:
            findings << f;
            break;
        case FileCompare::Result::Failed:
            problems->append(error);
            break;
        }
    }
    return findings;
}

bool FileCheck::repair(const QList<Finding> &findings, QList<Finding> *done,
                       QStringList *problems) {
    bool ok = true;
    for (const Finding &f : findings) {
        QString error;
        if (FileCopy::copyReplace(f.source, f.target, &error)) {
            done->append(f);
        } else {
            problems->append(error);
            ok = false;
        }
    }
    return ok;
}

bool FileCheck::restore(const Ownership &others, const QStringList &names,
                        const QString &gameFolder, QList<Finding> *restored,
                        QStringList *problems) {
    QStringList shared;
    QSet<QString> seen;
    for (const QString &n : names)
        if (others.find(n) && !seen.contains(n.toCaseFolded())) {
            seen.insert(n.toCaseFolded());
            shared << n;
        }
    if (shared.isEmpty())
        return true;
    QList<QStringList> present;
    QString error;
    if (!FolderListing::findAll(gameFolder, shared, &present, &error)) {
        problems->append(error);
        return false;
    }
    QList<Finding> gone;
    for (qsizetype i = 0; i < shared.size(); ++i)
        if (present.at(i).isEmpty())
            gone << finding(others, *others.find(shared.at(i)), gameFolder, QString());
    return repair(gone, restored, problems);
}

bool FileCheck::putBack(const Ownership &ownership, const QStringList &names,
                        const QString &gameFolder, QStringList *problems) {
    QList<const Ownership::File *> carried;
    QStringList asked;
    QSet<const Ownership::File *> seen;
    for (const QString &n : names) {
        const Ownership::File *file = ownership.find(n);
        if (file && !seen.contains(file)) {
            seen.insert(file);
            carried << file;
            asked << file->name();
        }
    }
    if (asked.isEmpty())
        return true;
    QList<QStringList> present;
    QString error;
    if (!FolderListing::findAll(gameFolder, asked, &present, &error)) {
        problems->append(error);
        return false;
    }
    QList<Finding> off;
    for (qsizetype i = 0; i < asked.size(); ++i) {
        const Finding f =
            finding(ownership, *carried.at(i), gameFolder, presentName(asked.at(i), present.at(i)));
        if (f.kind == Finding::Missing ||
            FileCompare::sameBytes(f.source, f.target, &error) != FileCompare::Result::Same)
            off << f;
    }
    QList<Finding> done;
    return repair(off, &done, problems);
}

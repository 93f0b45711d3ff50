// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderScan.h"

#include "SharedListing.h"

#include <QDir>

QString FolderScan::unreadable(const QString &folder, const QString &reason) {
    return QStringLiteral("Could not list the folder \"%1\": %2.")
        .arg(QDir::toNativeSeparators(folder), reason);
}

// Each answer below, taken from the shared listing, is the one its room gives: the same
// entries of the same kinds, and the same message for a folder that cannot be read.
namespace {
template <typename Keep>
bool fromListing(const SharedListing::Listing &listing, QStringList *out, QString *error,
                 Keep keep) {
    out->clear();
    if (!listing.ok) {
        if (error)
            *error = listing.error;
        return false;
    }
    for (const FolderScan::Entry &e : listing.entries)
        keep(e, out);
    return true;
}
} // namespace

bool FolderScan::names(const QString &folder, Kind kind, QStringList *names, QString *error) {
    const auto listing = SharedListing::of(folder);
    if (!listing)
        return systemNames(folder, kind, names, error);
    const Entry::Type want = kind == Kind::Files ? Entry::File : Entry::Folder;
    return fromListing(*listing, names, error, [want](const Entry &e, QStringList *out) {
        if (e.type == want)
            out->append(e.name);
    });
}

bool FolderScan::collect(const QString &folder, const QHash<QByteArray, qsizetype> &groupOf,
                         QList<QStringList> *found, QString *error) {
    const auto listing = SharedListing::of(folder);
    if (!listing)
        return systemCollect(folder, groupOf, found, error);
    if (!listing->ok) {
        if (error)
            *error = listing->error;
        return false;
    }
    // As the system's pass folds: ASCII by lower-casing into a buffer, anything else in full.
    char folded[256];
    for (const Entry &e : listing->entries) {
        if (e.type != Entry::File)
            continue;
        const qsizetype length = e.name.size();
        bool ascii = length < qsizetype(sizeof folded);
        for (qsizetype i = 0; ascii && i < length; ++i) {
            const char16_t c = e.name.at(i).unicode();
            ascii = c < 0x80;
            folded[i] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : char(c);
        }
        const auto it = groupOf.constFind(ascii ? QByteArray::fromRawData(folded, length)
                                                : e.name.toCaseFolded().toUtf8());
        if (it != groupOf.cend())
            (*found)[it.value()].append(e.name);
    }
    return true;
}

bool FolderScan::withPrefix(const QString &folder, const QString &prefix, QStringList *rests,
                            QString *error) {
    const auto listing = SharedListing::of(folder);
    if (!listing)
        return systemWithPrefix(folder, prefix, rests, error);
    return fromListing(*listing, rests, error, [&prefix](const Entry &e, QStringList *out) {
        if (!e.folderItself && e.name.size() > prefix.size() && e.name.startsWith(prefix))
            out->append(e.name.mid(prefix.size()));
    });
}

bool FolderScan::foldersWithPrefix(const QString &folder, const QString &prefix, QStringList *names,
                                   QString *error) {
    const auto listing = SharedListing::of(folder);
    if (!listing)
        return systemFoldersWithPrefix(folder, prefix, names, error);
    return fromListing(*listing, names, error, [&prefix](const Entry &e, QStringList *out) {
        if (e.type == Entry::Folder && e.name.startsWith(prefix))
            out->append(e.name);
    });
}

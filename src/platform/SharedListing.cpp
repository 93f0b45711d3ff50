// SPDX-License-Identifier: GPL-3.0-or-later
#include "SharedListing.h"

#include "FileList.h"

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <utility>

namespace {

// The listings are asked for on the engine's thread; a change may be told from a mover's
// helper thread, hence the lock. A listing handed out stays alive while its asker holds it.
QMutex lock;
int scopes = 0;
QHash<QString, std::shared_ptr<const SharedListing::Listing>> held;
// Whether `held` has any listing, readable without the lock: a file change with none held (the
// usual case, outside a start) costs one load, not a lock.
std::atomic<bool> holding = false;

void clearHeld() {
    held.clear();
    holding.store(false, std::memory_order_release);
}

QString keyOf(const QString &folder) {
    return QDir::cleanPath(QDir::fromNativeSeparators(folder));
}

// `path`'s folder's key and its name there.
std::pair<QString, QString> split(const QString &path) {
    const QString clean = keyOf(path);
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {};
    return {slash == 0 ? QStringLiteral("/") : clean.left(slash), clean.mid(slash + 1)};
}

// The place of the entry `name` in `listing`, or -1; the positions are made on the first ask
// (under the lock), so that a load's thousands of copies each cost one lookup.
qsizetype positionOf(const SharedListing::Listing &listing, const QString &name) {
    if (!listing.positioned) {
        listing.positions.reserve(listing.entries.size());
        listing.folded.reserve(listing.entries.size());
        for (qsizetype i = 0; i < listing.entries.size(); ++i) {
            listing.positions.insert(listing.entries.at(i).name, i);
            listing.folded.insert(FileList::fold(listing.entries.at(i).name));
        }
        listing.positioned = true;
    }
    return listing.positions.value(name, -1);
}

// Whether the listing of `path`'s folder holds `path`'s name as a plain file (no link), so a
// change of its bytes, attributes or whole content (a rename over the same name) leaves the
// names and kinds of every listing as they were.
bool heldPlainFile(const QString &path) {
    const auto [folder, name] = split(path);
    const auto it = held.constFind(folder);
    if (folder.isEmpty() || it == held.cend() || !it.value()->ok)
        return false;
    const qsizetype at = positionOf(*it.value(), name);
    if (at < 0)
        return false;
    const FolderScan::Entry &e = it.value()->entries.at(at);
    return e.type == FolderScan::Entry::File && !e.link;
}

// Takes a new plain file `path` into its folder's listing; false when that cannot be done
// exactly (the name is there already, or a link anywhere might now point to it).
bool addPlainFile(const QString &path) {
    const auto [folder, name] = split(path);
    if (folder.isEmpty())
        return false;
    for (const auto &listing : std::as_const(held))
        if (listing->links)
            return false;
    const auto it = held.find(folder);
    if (it == held.end())
        return true;
    // A name there under another case may be the same file (a folder where case does not
    // count): the folder is read again rather than guessed at.
    const QString key = FileList::fold(name);
    if (!it.value()->ok || positionOf(*it.value(), name) >= 0 || it.value()->folded.contains(key))
        return false;
    // Changed in place only while nobody else holds it; an asker's copy stays as it was read.
    if (it.value().use_count() > 1)
        it.value() = std::make_shared<SharedListing::Listing>(*it.value());
    auto &listing = const_cast<SharedListing::Listing &>(*it.value());
    FolderScan::Entry e;
    e.name = name;
    e.type = FolderScan::Entry::File;
    listing.positions.insert(name, listing.entries.size());
    listing.folded.insert(key);
    listing.entries.append(e);
    listing.sortedFiles.clear();
    listing.sorted = false;
    return true;
}

// Forgets what a change of `path` may have made untrue: the listing of the folder holding it,
// of the path itself and of every folder below it (a folder moved or made). A link in any
// listing may point anywhere, so then every listing goes.
void dropAround(const QString &path) {
    const QString clean = keyOf(path);
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    const QString parent = slash == 0 ? QStringLiteral("/") : clean.left(slash);
    const QString below = clean + QLatin1Char('/');
    for (auto it = held.begin(); it != held.end();) {
        if (it.value()->links) {
            clearHeld();
            return;
        }
        if (it.key() == parent || it.key() == clean || it.key().startsWith(below))
            it = held.erase(it);
        else
            ++it;
    }
    holding.store(!held.isEmpty(), std::memory_order_release);
}

} // namespace

SharedListing::Scope::Scope() {
    const QMutexLocker locked(&lock);
    ++scopes;
}

SharedListing::Scope::~Scope() {
    const QMutexLocker locked(&lock);
    if (--scopes == 0)
        clearHeld();
}

std::shared_ptr<const SharedListing::Listing> SharedListing::of(const QString &folder) {
    const QString key = keyOf(folder);
    {
        const QMutexLocker locked(&lock);
        if (scopes == 0)
            return nullptr;
        if (const auto it = held.constFind(key); it != held.cend())
            return it.value();
    }
    auto listing = std::make_shared<Listing>();
    listing->ok = FolderScan::systemEntries(folder, &listing->entries, &listing->error);
    listing->links = std::any_of(listing->entries.cbegin(), listing->entries.cend(),
                                 [](const FolderScan::Entry &e) { return e.link; });
    const QMutexLocker locked(&lock);
    if (scopes > 0) {
        held.insert(key, listing);
        holding.store(true, std::memory_order_release);
    }
    return listing;
}

void SharedListing::changed(FileOperation::Kind kind, const QString &path, const QString &other) {
    if (!holding.load(std::memory_order_acquire))
        return;
    const QMutexLocker locked(&lock);
    if (held.isEmpty())
        return;
    switch (kind) {
    case FileOperation::Kind::Launch: // the program may change anything
        clearHeld();
        return;
    case FileOperation::Kind::Rewrite:
    case FileOperation::Kind::Patch:
    case FileOperation::Kind::Attributes:
        if (heldPlainFile(path))
            return;
        dropAround(path);
        return;
    // The source is only read (or linked to); a new plain file joins its folder's listing.
    case FileOperation::Kind::Copy: // told for a replace too where nobody records
    case FileOperation::Kind::Replace:
        if (heldPlainFile(other) || (kind == FileOperation::Kind::Copy && addPlainFile(other)))
            return;
        dropAround(other);
        return;
    case FileOperation::Kind::Link: // a second name of a file
        if (heldPlainFile(path) && addPlainFile(other))
            return;
        dropAround(other);
        return;
    case FileOperation::Kind::Move:
        dropAround(path);
        dropAround(other);
        return;
    default:
        dropAround(path);
        return;
    }
}

void SharedListing::removed(const QString &folder, const QStringList &names) {
    if (names.isEmpty() || !holding.load(std::memory_order_acquire))
        return;
    const QMutexLocker locked(&lock);
    // A link elsewhere may have pointed to a file now gone.
    for (const auto &listing : std::as_const(held))
        if (listing->links) {
            clearHeld();
            return;
        }
    const auto it = held.find(keyOf(folder));
    if (it == held.end() || !it.value()->ok)
        return;
    const QSet<QString> gone(names.cbegin(), names.cend());
    auto now = std::make_shared<Listing>();
    now->ok = true;
    now->entries.reserve(it.value()->entries.size());
    for (const FolderScan::Entry &e : it.value()->entries)
        if (!gone.contains(e.name)) {
            now->entries.append(e);
            now->links = now->links || e.link;
        }
    it.value() = std::move(now);
}

void SharedListing::drop() {
    const QMutexLocker locked(&lock);
    clearHeld();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "SharedListing.h"

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <atomic>

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

// Whether the listing of `path`'s folder holds `path`'s name as a plain file (no link), so a
// change of its bytes, attributes or whole content (a rename over the same name) leaves the
// names and kinds of every listing as they were.
bool heldPlainFile(const QString &path) {
    const QString clean = keyOf(path);
    const qsizetype slash = clean.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return false;
    const auto it = held.constFind(slash == 0 ? QStringLiteral("/") : clean.left(slash));
    if (it == held.cend() || !it.value()->ok)
        return false;
    const QStringView name = QStringView(clean).mid(slash + 1);
    for (const FolderScan::Entry &e : it.value()->entries)
        if (e.name == name)
            return e.type == FolderScan::Entry::File && !e.link;
    return false;
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
    case FileOperation::Kind::Launch:
        return;
    case FileOperation::Kind::Rewrite:
    case FileOperation::Kind::Patch:
    case FileOperation::Kind::Attributes:
        if (heldPlainFile(path))
            return;
        break;
    case FileOperation::Kind::Copy: // told for a replace too where nobody records
    case FileOperation::Kind::Replace:
        if (heldPlainFile(other))
            return;
        break;
    default:
        break;
    }
    clearHeld();
}

void SharedListing::drop() {
    const QMutexLocker locked(&lock);
    clearHeld();
}

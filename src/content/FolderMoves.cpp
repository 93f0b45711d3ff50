// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderMoves.h"

#include "FileCompare.h"
#include "FileHook.h"
#include "FileList.h"
#include "FileOps.h"
#include "FileRemoval.h"
#include "SaveExchange.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

bool fail(QString *error, const QString &text) {
    if (error)
        *error = text;
    return false;
}

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Moving a folder's files into the folder itself would copy each save over itself and then
// delete it; the same folder under two paths counts as the same.
bool sameFolder(const QString &a, const QString &b) {
    if (a == b)
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

// The destination's names from one listing, looked up without regard to case the way
// FileList::findIn does (exact name first, then the first variant in name order).
class Present {
public:
    explicit Present(const QStringList &sortedNames) {
        for (const QString &name : sortedNames)
            variants_[name.toCaseFolded()].append(name);
    }
    QString find(const QString &name) const {
        const QStringList variants = variants_.value(name.toCaseFolded());
        return variants.contains(name) ? name : variants.value(0);
    }
    bool taken(const QString &name) const { return variants_.contains(name.toCaseFolded()); }
    void take(const QString &name) {
        QStringList &variants = variants_[name.toCaseFolded()];
        variants.append(name);
        variants.sort();
    }
    void release(const QString &name) {
        const QString key = name.toCaseFolded();
        QStringList &variants = variants_[key];
        variants.removeAll(name);
        if (variants.isEmpty())
            variants_.remove(key);
    }

private:
    QHash<QString, QStringList> variants_;
};

// Copies `from` to `to` (a path that the destination listing has decided on), reads the copy
// back and compares, and only then deletes the source. The copy is written through a synced
// atomic write: once the source is gone, the copy is all there is.
bool moveOne(const QString &from, const QString &to, QString *error) {
    if (FileOps::isReadOnly(from))
        return fail(
            error,
            QStringLiteral("Could not move \"%1\": the file is read-only.").arg(shown(from)));
    // A folder without the owner write bit is read-only as a file is: nothing leaves it and
    // nothing comes into it, whoever runs the selector.
    for (const QString &folder : {QFileInfo(from).absolutePath(), QFileInfo(to).absolutePath()})
        if (FileOps::isReadOnlyFolder(folder))
            return fail(error, QStringLiteral("Could not move \"%1\": the folder \"%2\" is "
                                              "read-only.")
                                   .arg(shown(from), shown(folder)));
    // Reported as one move; a move that stops halfway reports the steps it made.
    FileHook::Group move;
    QByteArray bytes;
    if (!FileOps::readAll(from, &bytes, error) || !FileOps::writeAtomic(to, bytes, error))
        return false;
    QByteArray copy;
    if (!FileOps::readAll(to, &copy, error))
        return false;
    if (copy != bytes)
        return fail(error, QStringLiteral("Could not move \"%1\": the copy \"%2\" does not hold "
                                          "the same bytes; the original is kept.")
                               .arg(shown(from), shown(to)));
    // The copy's name is on the disk before the source goes.
    if (!FileOps::syncFolder(QFileInfo(to).absolutePath(), error) ||
        !FileRemoval::removeFile(from, error))
        return false;
    move.commit(FileOperation::of(FileOperation::Kind::Move, from, to));
    return true;
}

// "game1.sav" kept as "game1 (2).sav": the game lists its saves by extension, so the number
// goes before it. A name without an extension, or one that is all extension (".sav"), gets the
// number at its end.
QString numbered(const QString &name, int n) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString tag = QStringLiteral(" (%1)").arg(n);
    if (dot <= 0)
        return name + tag;
    return name.left(dot) + tag + name.mid(dot);
}

} // namespace

bool FolderMoves::moveAll(const QString &from, const QString &to, QString *error) {
    if (sameFolder(from, to))
        return true;
    Present present(FileList::files(to));
    for (const QString &name : SaveExchange::saves(from)) {
        const QString existing = present.find(name);
        if (!moveOne(FileList::join(from, name),
                     FileList::join(to, existing.isEmpty() ? name : existing), error))
            return false;
        if (existing.isEmpty())
            present.take(name);
    }
    return true;
}

namespace {
using Planner = void (*)(const QString &, const QString &, const QStringList &, SaveExchange *);

// A whole-folder move planned by `plan` and made as one exchange: all or nothing.
bool moveAsOne(const QString &from, const QString &to, Planner plan, QString *error) {
    if (sameFolder(from, to))
        return true;
    // Copies a killed move left are only ever copies: the source of each is still there.
    SaveExchange::clearStaged(to, nullptr);
    SaveExchange exchange;
    plan(from, to, SaveExchange::saves(to), &exchange);
    if (!exchange.ready(error))
        return false;
    if (!exchange.commit(error)) {
        exchange.discard();
        return false;
    }
    return true;
}
} // namespace

bool FolderMoves::moveAllKeeping(const QString &from, const QString &to, QString *error) {
    return moveAsOne(from, to, &planMoveAllKeeping, error);
}

bool FolderMoves::moveAllBeside(const QString &from, const QString &to, QString *error) {
    return moveAsOne(from, to, &planMoveAllBeside, error);
}

bool FolderMoves::moveAllAsOne(const QString &from, const QString &to, QString *error) {
    return moveAsOne(from, to, &planMoveAll, error);
}

bool FolderMoves::copyAll(const QString &from, const QString &to, QString *error) {
    if (sameFolder(from, to))
        return true;
    Present present(FileList::files(to));
    for (const QString &name : SaveExchange::saves(from)) {
        const QString existing = present.find(name);
        if (!FileOps::copyReplace(FileList::join(from, name),
                                  FileList::join(to, existing.isEmpty() ? name : existing), error))
            return false;
        if (existing.isEmpty())
            present.take(name);
    }
    return true;
}

namespace {
void plan(const QString &from, const QString &to, const QStringList &names, bool move,
          SaveExchange *exchange) {
    if (sameFolder(from, to))
        return;
    QStringList sorted = names;
    sorted.sort();
    Present present(sorted);
    for (const QString &name : SaveExchange::saves(from)) {
        const QString existing = present.find(name);
        const QString target = FileList::join(to, existing.isEmpty() ? name : existing);
        if (move)
            exchange->move(FileList::join(from, name), target);
        else
            exchange->copy(FileList::join(from, name), target);
        if (existing.isEmpty())
            present.take(name);
    }
}
} // namespace

void FolderMoves::planMoveAll(const QString &from, const QString &to, const QStringList &present,
                              SaveExchange *exchange) {
    plan(from, to, present, true, exchange);
}

void FolderMoves::planCopyAll(const QString &from, const QString &to, const QStringList &present,
                              SaveExchange *exchange) {
    plan(from, to, present, false, exchange);
}

namespace {
// The names a planned move meets: those `to` holds (`names`), and the saves coming from `from`.
struct MoveNames {
    Present present;
    QStringList incoming;
    Present coming;
};

MoveNames namesOf(const QString &from, const QStringList &names) {
    QStringList sorted = names;
    sorted.sort();
    const QStringList incoming = SaveExchange::saves(from);
    return {Present(sorted), incoming, Present(incoming)};
}
} // namespace

void FolderMoves::planMoveAllKeeping(const QString &from, const QString &to,
                                     const QStringList &names, SaveExchange *exchange) {
    if (sameFolder(from, to))
        return;
    // A displaced save is never numbered into a name that a save still to come carries: that
    // one would displace it a second time.
    auto [present, incoming, coming] = namesOf(from, names);
    for (const QString &name : incoming) {
        const QString source = FileList::join(from, name);
        const QString existing = present.find(name);
        if (existing.isEmpty()) {
            exchange->move(source, FileList::join(to, name));
            present.take(name);
            continue;
        }
        // The same bytes twice are one save: kept once, and a move made again after a crash
        // (the copy in place, its source not yet deleted) leaves no numbered double.
        const QString there = FileList::join(to, existing);
        if (FileCompare::sameBytes(source, there, nullptr) == FileCompare::Result::Same) {
            exchange->move(source, there);
            continue;
        }
        QString aside;
        for (int n = 2; aside.isEmpty() || present.taken(aside) || coming.taken(aside); ++n)
            aside = numbered(existing, n);
        exchange->moveDisplacing(source, FileList::join(to, name), there,
                                 FileList::join(to, aside));
        present.release(existing);
        present.take(aside);
        present.take(name);
    }
}

void FolderMoves::planMoveAllBeside(const QString &from, const QString &to,
                                    const QStringList &names, SaveExchange *exchange) {
    if (sameFolder(from, to))
        return;
    auto [present, incoming, coming] = namesOf(from, names);
    for (const QString &name : incoming) {
        const QString source = FileList::join(from, name);
        // The first name that is free, or that already holds these bytes: a move made again
        // after a crash (copies in place, sources not yet deleted) finds its own copies and
        // leaves no second one.
        QString target = name;
        for (int n = 2;; ++n) {
            const QString existing = present.find(target);
            if (existing.isEmpty() && (target == name || !coming.taken(target)))
                break;
            if (!existing.isEmpty() &&
                FileCompare::sameBytes(source, FileList::join(to, existing), nullptr) ==
                    FileCompare::Result::Same) {
                target = existing;
                break;
            }
            target = numbered(name, n);
        }
        exchange->move(source, FileList::join(to, target));
        present.take(target);
    }
}

bool FolderMoves::deleteAll(const QString &folder, QString *error) {
    for (const QString &name : FileList::files(folder)) {
        if (!FileRemoval::removeFile(FileList::join(folder, name), error))
            return false;
    }
    return true;
}

bool FolderMoves::hasFiles(const QString &folder) {
    return !FileList::files(folder).isEmpty();
}

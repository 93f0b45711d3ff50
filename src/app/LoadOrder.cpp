// SPDX-License-Identifier: GPL-3.0-or-later
#include "LoadOrder.h"

#include "FileCopy.h"
#include "FileList.h"
#include "FolderListing.h"
#include "LoadedFiles.h"
#include "OperationJournal.h"
#include "Ownership.h"
#include "Progress.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "Text8.h"

#include <QHash>

#include <algorithm>

namespace {

QString files(qsizetype n) {
    return n == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(n);
}

QString shown(const LoadedFiles::Entry &e) {
    return e.skin ? QStringLiteral("the skin ") + e.name : e.name;
}

/// The sentence with its first letter a capital ("the skin ..." starts one).
QString sentence(QString text) {
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

/// "A", "A and B", "A, B and C".
QString listed(const QStringList &names) {
    if (names.size() < 2)
        return names.value(0);
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           names.last();
}

} // namespace

/// A move worked out: the order it leaves, the files whose owner changes, and the sentence.
struct LoadOrder::Planned {
    QList<LoadedFiles::Entry> before;
    QList<LoadedFiles::Entry> after;
    int moved = -1; ///< the index in `before` of the one that moves
    struct Copy {
        QString file;   ///< as the new owner spells it
        QString source; ///< the new owner's file
        int from = -1;  ///< the old owner, an index into `before`
        int to = -1;    ///< the new owner
    };
    QList<Copy> copies;
};

namespace {

int find(const QList<LoadedFiles::Entry> &entries, const QString &name) {
    // The exact name first, then any case: folders are named without regard to case.
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).name == name)
            return i;
    for (int i = 0; i < entries.size(); ++i)
        if (entries.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

QList<LoadOrder::Row> LoadOrder::rows() {
    const QList<LoadedFiles::Entry> entries = loadedFiles_.entries();
    QList<Row> out;
    QHash<QString, int> byFolder;
    for (const LoadedFiles::Entry &e : entries) {
        byFolder.insert(loadedFiles_.folderOf(e), int(out.size()));
        out << Row{e.skin, e.name, 0, 0};
    }
    const Ownership owners = loadedFiles_.ownership();
    for (const Ownership::File &f : owners.files()) {
        if (f.carriers.size() < 2)
            continue;
        for (int c : f.carriers) {
            const int row = byFolder.value(owners.carriers().at(c).folder, -1);
            if (row >= 0)
                ++(c == f.owner() ? out[row].wins : out[row].loses);
        }
    }
    return out;
}

bool LoadOrder::planMove(const QString &name, Place place, const QString &other, Planned *plan) {
    plan->before = loadedFiles_.entries();
    const auto refuse = [this](const QString &who) {
        r_.report(QStringLiteral("\"%1\" is not loaded: only loaded content folders and skins "
                                 "have a place in the load order. Nothing was changed.")
                      .arg(who));
        return false;
    };
    const int at = find(plan->before, name);
    if (at < 0)
        return refuse(name);
    const bool relative = place == Place::After || place == Place::Before;
    const int next = relative ? find(plan->before, other) : -1;
    if (relative && next < 0)
        return refuse(other);
    if (relative && next == at) {
        r_.report(QStringLiteral("\"%1\" cannot be put %2 itself. Nothing was changed.")
                      .arg(name, place == Place::After ? QStringLiteral("after")
                                                       : QStringLiteral("before")));
        return false;
    }
    plan->moved = at;
    QList<LoadedFiles::Entry> rest = plan->before;
    const LoadedFiles::Entry entry = rest.takeAt(at);
    qsizetype to = 0;
    switch (place) {
    case Place::Last:
        to = rest.size();
        break;
    case Place::First:
        to = 0;
        break;
    case Place::After:
    case Place::Before:
        to = rest.indexOf(plan->before.at(next)) + (place == Place::After ? 1 : 0);
        break;
    }
    rest.insert(to, entry);
    plan->after = rest;

    // Who owns each shared file after the move, from one picture of who carries what: of a
    // file's carriers, the one latest in the new order.
    QHash<QString, int> before;
    QHash<QString, int> after;
    for (int i = 0; i < plan->before.size(); ++i)
        before.insert(loadedFiles_.folderOf(plan->before.at(i)), i);
    for (int i = 0; i < plan->after.size(); ++i)
        after.insert(loadedFiles_.folderOf(plan->after.at(i)), i);
    const Ownership owners = loadedFiles_.ownership();
    for (const Ownership::File &f : owners.files()) {
        if (f.carriers.size() < 2)
            continue;
        qsizetype best = -1;
        int bestAt = -1;
        for (qsizetype k = 0; k < f.carriers.size(); ++k)
            if (const int p = after.value(owners.carriers().at(f.carriers.at(k)).folder, -1);
                p > bestAt) {
                bestAt = p;
                best = k;
            }
        if (best < 0 || f.carriers.at(best) == f.owner())
            continue;
        plan->copies << Planned::Copy{
            f.names.at(best), owners.source(f, best),
            before.value(owners.carriers().at(f.owner()).folder, -1),
            before.value(owners.carriers().at(f.carriers.at(best)).folder, -1)};
    }
    return true;
}

bool LoadOrder::move(const QString &name, Place place, const QString &other) {
    s_.touch(Change::Ledger | Change::Status);
    Planned plan;
    if (!planMove(name, place, other, &plan))
        return false;
    const LoadedFiles::Entry &moved = plan.before.at(plan.moved);
    if (plan.after == plan.before) {
        s_.setStatus(
            sentence(QStringLiteral("%1 keeps its place in the load order.").arg(shown(moved))));
        return true;
    }
    if (!carry(plan))
        return false;

    // One sentence for the status line: whom the moved one now beats, or who beats it.
    // The others in load order (a move passes them in one direction: it gains or it loses).
    QList<int> passed;
    bool gained = false;
    for (const Planned::Copy &c : std::as_const(plan.copies)) {
        gained = c.to == plan.moved;
        if (const int o = gained ? c.from : c.to; !passed.contains(o))
            passed << o;
    }
    std::sort(passed.begin(), passed.end());
    QStringList others;
    for (int o : std::as_const(passed))
        others << shown(plan.before.value(o));
    QString said;
    if (plan.copies.isEmpty())
        said = QStringLiteral("%1 now wins no file it did not win before.").arg(shown(moved));
    else if (gained)
        said = QStringLiteral("%1 now wins %2 over %3.")
                   .arg(shown(moved), files(plan.copies.size()), listed(others));
    else if (others.size() == 1)
        said = QStringLiteral("%1 now wins %2 over %3.")
                   .arg(others.first(), files(plan.copies.size()), shown(moved));
    else
        said = QStringLiteral("%1 now loses %2 to %3.")
                   .arg(shown(moved), files(plan.copies.size()), listed(others));
    s_.setStatus(sentence(said));
    return true;
}

bool LoadOrder::carry(const Planned &plan) {
    const LoadedFiles::Entry &moved = plan.before.at(plan.moved);
    const QStringList after = LoadedFiles::linesOf(plan.after);
    QStringList names;
    for (const Planned::Copy &c : plan.copies)
        names << c.file;
    if (!journal_.beginReorder(QStringLiteral("moving \"%1\" in the load order").arg(moved.name),
                               after, names))
        return false;
    const OperationJournal::Scope journal(journal_);
    // The game folder's names, read once: a copy goes over the name present, in its case.
    QList<QStringList> present;
    QString error;
    if (!FolderListing::findAll(s_.GameFolder(), names, &present, &error)) {
        journal_.undoFailed(0, error);
        return false;
    }
    for (qsizetype i = 0; i < plan.copies.size(); ++i) {
        const Planned::Copy &c = plan.copies.at(i);
        if (Progress *p = r_.progress(); p && !p->next(c.file)) {
            journal_.undoCancelled(0);
            return false;
        }
        const QString target = FileList::join(
            s_.GameFolder(), present.at(i).isEmpty() ? c.file : present.at(i).first());
        if (!FileCopy::copyReplace(c.source, target, &error)) {
            journal_.undoFailed(0, error);
            return false;
        }
    }
    loadedFiles_.reorder(plan.after);
    if (journal_.unrecorded()) {
        journal_.undoUnrecorded();
        return false;
    }
    return true;
}

bool LoadOrder::makeWin(const QString &file, const QString &name) {
    const QList<LoadedFiles::Entry> entries = loadedFiles_.entries();
    const int at = find(entries, name);
    if (at < 0)
        return move(name, Place::Last);
    const Ownership owners = loadedFiles_.ownership();
    const Ownership::File *f = owners.find(file);
    const QString folder = loadedFiles_.folderOf(entries.at(at));
    const auto carries = [&](int c) { return owners.carriers().at(c).folder == folder; };
    if (!f || std::none_of(f->carriers.cbegin(), f->carriers.cend(), carries)) {
        r_.report(QStringLiteral("\"%1\" does not carry the game file %2. Nothing was changed.")
                      .arg(entries.at(at).name, file));
        return false;
    }
    if (carries(f->owner())) {
        s_.setStatus(
            sentence(QStringLiteral("%1 wins %2 already.").arg(shown(entries.at(at)), file)));
        return true;
    }
    const QString &owner = owners.carriers().at(f->owner()).folder;
    for (const LoadedFiles::Entry &e : entries)
        if (loadedFiles_.folderOf(e) == owner)
            return move(entries.at(at).name, Place::After, e.name);
    return false;
}

bool LoadOrder::makeLose(const QString &file, const QString &name) {
    const QList<LoadedFiles::Entry> entries = loadedFiles_.entries();
    const int at = find(entries, name);
    if (at < 0)
        return move(name, Place::First);
    const Ownership owners = loadedFiles_.ownership();
    const Ownership::File *f = owners.find(file);
    const QString folder = loadedFiles_.folderOf(entries.at(at));
    if (!f || owners.carriers().at(f->owner()).folder != folder) {
        s_.setStatus(
            sentence(QStringLiteral("%1 does not win %2.").arg(shown(entries.at(at)), file)));
        return true;
    }
    if (f->carriers.size() < 2) {
        r_.report(QStringLiteral("No other loaded content folder or skin carries the game file "
                                 "%1: \"%2\" keeps it. Nothing was changed.")
                      .arg(file, entries.at(at).name));
        return false;
    }
    // The carrier that would own it without this one.
    const QString &next = owners.carriers().at(f->carriers.at(f->carriers.size() - 2)).folder;
    for (const LoadedFiles::Entry &e : entries)
        if (loadedFiles_.folderOf(e) == next)
            return move(entries.at(at).name, Place::Before, e.name);
    return false;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "OperationJournal.h"

#include "FileList.h"
#include "FileMover.h"
#include "FileOps.h"
#include "FileRemoval.h"
#include "FolderListing.h"
#include "Ledgers.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "Progress.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "SkinGrid.h"
#include "VekFolderCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

#include "JournalRules.h"
#include <algorithm>
#include <utility>

namespace {

QString quoted(const QString &name) {
    return QStringLiteral("\"%1\"").arg(name);
}

// A folder coming in records which of its names the game folder holds already, from one
// reading of it: after a crash, a file of a name it did not hold is one the load wrote, whatever
// its time says (see `OperationJournal::proven`). A game folder that cannot be read records
// nothing, and the load tells why.
Journal::Move withHad(Journal::Move move, const QString &gameFolder) {
    QList<QStringList> present;
    if (!move.in || !FolderListing::findAll(gameFolder, move.files, &present, nullptr))
        return move;
    move.had.reserve(present.size());
    for (const QStringList &p : std::as_const(present))
        move.had << !p.isEmpty();
    return move;
}

} // namespace

Journal::Move OperationJournal::contentMove(bool in, int row) const {
    const LoadGrid::Row &r = s_.Unigrid.row(row);
    return withHad({in, r.name, Journal::ContentRule, r.path, Journal::filesOf(r.path), {}},
                   s_.GameFolder());
}

Journal::Move OperationJournal::skinMove(bool in, int row, bool withFlt) const {
    const QString folder = FileList::join(s_.skinFolder(), s_.SK1.row(row).name);
    return withHad({in,
                    s_.SK1.row(row).name,
                    withFlt ? Journal::SkinRule : Journal::SkinWithoutFltRule,
                    folder,
                    Journal::filesOf(folder),
                    {}},
                   s_.GameFolder());
}

QStringList OperationJournal::markedAircraft() const {
    QStringList names;
    for (const SlotGrid::Row &r : s_.G1.rows)
        if (r.marked)
            names << r.folder;
    return names;
}

bool OperationJournal::beginLoad(int row, int previousRow) {
    if (!s_.FormReady)
        return true;
    // Its moves are planned from the listing the operation then works on.
    listings_.emplace();
    Journal::Record record;
    const QString name = s_.Unigrid.row(row).name;
    record.operation = QStringLiteral("loading ") + quoted(name);
    if (previousRow > 0) {
        record.moves << contentMove(false, previousRow);
        record.operation +=
            QStringLiteral(" in place of ") + quoted(s_.Unigrid.row(previousRow).name);
    }
    record.moves << contentMove(true, row);
    const QString letter = s_.Unigrid.letter(row);
    // A new aircraft set's planes.dat replaces the old one's: its swaps are gone either way.
    if (letter == QLatin1String("F"))
        record.drops = markedAircraft();
    if (letter == QLatin1String("M")) {
        // Only missions with a store exchange saves: a nameless one taking out a mission with
        // a store is, for the saves, that mission's unload.
        const QString previous = previousRow > 0 ? s_.Unigrid.row(previousRow).name : QString();
        const bool prevStore = !previous.isEmpty() && !LoadGrid::storeOf(previous).isEmpty();
        if (!LoadGrid::storeOf(name).isEmpty()) {
            record.mission = name;
            if (prevStore)
                record.previous = previous;
        } else if (prevStore) {
            record.mission = previous;
        }
    }
    return begin(record);
}

bool OperationJournal::beginUnload(int row) {
    listings_.emplace();
    Journal::Record record;
    const QString name = s_.Unigrid.row(row).name;
    record.operation = QStringLiteral("unloading ") + quoted(name);
    record.moves << contentMove(false, row);
    const QString letter = s_.Unigrid.letter(row);
    if (letter == QLatin1String("F"))
        record.drops = markedAircraft();
    if (letter == QLatin1String("M") && !LoadGrid::storeOf(name).isEmpty())
        record.mission = name;
    return begin(record);
}

bool OperationJournal::beginSkinLoad(int row, const QList<int> &others, bool withFlt) {
    listings_.emplace();
    Journal::Record record;
    record.operation = QStringLiteral("loading the skin ") + quoted(s_.SK1.row(row).name);
    for (int q : others)
        record.moves << skinMove(false, q, true);
    record.moves << skinMove(true, row, withFlt);
    record.skinSlot = SkinGrid::slotOf(s_.SK1.row(row).name);
    return begin(record);
}

bool OperationJournal::beginSkinUnload(int row) {
    listings_.emplace();
    Journal::Record record;
    record.operation = QStringLiteral("unloading the skin ") + quoted(s_.SK1.row(row).name);
    record.moves << skinMove(false, row, true);
    return begin(record);
}

bool OperationJournal::beginReorder(const QString &operation, const QStringList &after,
                                    const QStringList &files) {
    listings_.emplace();
    Journal::Record record;
    record.operation = operation;
    record.order = loadedFiles_.ledgerLines();
    record.reorder = after;
    record.recopied = files;
    return begin(record);
}

bool OperationJournal::beginSwap(int row, const QStringList &targets) {
    listings_.emplace();
    Journal::Record record;
    const SlotGrid::Row &r = s_.G1.row(row);
    record.operation = QStringLiteral("swapping in the aircraft ") + quoted(r.folder);
    record.aircraft = r.folder;
    for (const SlotGrid::Row &other : s_.G1.rows)
        if (other.marked && other.slot == r.slot && other.folder != r.folder)
            record.replaced << other.folder;
    for (const QString &path : targets) {
        if (path.isEmpty())
            continue;
        Journal::Backup backup;
        QString error;
        if (!Journal::backUp(path, &backup, &error)) {
            r_.report(error + QStringLiteral(" The aircraft was not swapped in."));
            listings_.reset();
            return false;
        }
        record.backups << backup;
    }
    return begin(record);
}

bool OperationJournal::begin(Journal::Record record) {
    if (!listings_)
        listings_.emplace();
    // Refused, the operation holds no listing any more.
    auto refused = qScopeGuard([this] { listings_.reset(); });
    // The ledgers say what is loaded at the next start: one that cannot be rewritten would
    // leave this operation's files in the game folder, forgotten. So a read-only ledger stops
    // the click before anything moves.
    if (s_.FormReady) {
        if (!VekFolderCheck::there(s_, r_))
            return false;
        if (const QString error = Ledgers::unwritable(s_.ModFolder()); !error.isEmpty()) {
            r_.report(error + QStringLiteral(" Nothing was changed: the selector could not have "
                                             "recorded what it did."));
            return false;
        }
    }
    // The order it starts from: an operation undone after a crash leaves it as it was.
    if (!record.moves.isEmpty())
        record.order = loadedFiles_.ledgerLines();
    QString error;
    if (!Journal::write(s_.ModFolder(), s_.GameFolder(), record, &error)) {
        r_.report(error + QStringLiteral(" Nothing was changed: without its journal the selector "
                                         "could not put the game folder right after a crash."));
        return false;
    }
    refused.dismiss();
    record_ = record;
    open_ = true;
    keepRecord_ = false;
    ledgerError_.clear();
    keepLedgers();
    return true;
}

void OperationJournal::keepLedgers() {
    ledgers_.clear();
    for (const QString &name :
         {Ledgers::FoldersLoaded, Ledgers::LoadOrder, Ledgers::LoadedNames, Ledgers::SkinsLoaded,
          Ledgers::PlanesLoaded, Ledgers::ScriptsLoaded}) {
        LedgerBytes ledger;
        ledger.path = FileList::resolve(s_.ModFolder(), name);
        ledger.existed = QFileInfo(ledger.path).isFile();
        // One that cannot be read now is left as it is by the undo.
        if (!ledger.existed || FileOps::readAll(ledger.path, &ledger.bytes, nullptr))
            ledgers_ << ledger;
    }
}

void OperationJournal::restoreLedgers(QStringList *problems) {
    for (const LedgerBytes &l : std::as_const(ledgers_)) {
        QByteArray now;
        const bool exists = QFileInfo(l.path).isFile();
        if (exists == l.existed &&
            (!exists || (FileOps::readAll(l.path, &now, nullptr) && now == l.bytes)))
            continue;
        QString error;
        if (!(l.existed ? FileOps::writeAtomic(l.path, l.bytes, &error)
                        : FileRemoval::removeFile(l.path, &error)))
            problems->append(error);
    }
    // The load order is read again from what it said before the operation.
    loadedFiles_.forget();
}

void OperationJournal::end() {
    const auto closeListings = qScopeGuard([this] { listings_.reset(); });
    // A ledger write that no undo took up is told rather than lost.
    if (!ledgerError_.isEmpty())
        r_.report(std::exchange(ledgerError_, {}));
    ledgers_.clear();
    // The replaced game files go before the record, which claims them until then; and the
    // record says first that the operation is over, so that a crash among the deletes is not
    // undone at the next start without the files already deleted.
    if (open_ && !kept_.isEmpty()) {
        record_.stage = Journal::Over;
        QString error;
        if (Journal::write(s_.ModFolder(), s_.GameFolder(), record_, &error)) {
            for (const QString &p : kept_.drop())
                r_.report(p);
        } else {
            // Left in place, unclaimed: the next start sets them aside and tells the player.
            r_.report(error);
            kept_ = KeptFiles();
        }
    }
    // A save exchange made ready that the operation did not come to: its copies go.
    if (savesReady_) {
        savesOut_.discard();
        savesIn_.discard();
        savesReady_ = false;
    }
    if (!open_)
        return;
    open_ = false;
    if (keepRecord_) {
        keepRecord_ = false;
        return;
    }
    QString error;
    if (!Journal::remove(s_.ModFolder(), &error)) {
        r_.report(error);
        return;
    }
    // The game's own files whose last carrier this operation took out go back only now: while
    // the record is there, a crash would have the next start finish the unload, deleting by
    // the folder's names what had been put back under them. Without it, that start puts them
    // back itself.
    const bool tookOut = std::any_of(record_.moves.cbegin(), record_.moves.cend(),
                                     [](const Journal::Move &m) { return !m.in; });
    if (tookOut)
        loadedFiles_.putBackGameOwn(QString());
}

qsizetype OperationJournal::files() const {
    qsizetype n = record_.recopied.size();
    for (const Journal::Move &m : std::as_const(record_.moves)) {
        // An unload deletes what the load copied, less what its keep rule leaves in place.
        const FileMover::Rule skip = JournalRules::skipRule(m.rule);
        const FileMover::Rule keep = m.in ? FileMover::Rule() : JournalRules::keepRule(m.rule);
        for (const QString &f : m.files)
            n += skip(f) || (keep && keep(f)) ? 0 : 1;
    }
    return n;
}

void OperationJournal::started() {
    ++underWay_;
    cancelled_ = false;
    // While the window loads a load copies nothing and has no record: nothing to follow.
    if (!open_)
        return;
    r_.setProgressOn(true);
    if (Progress *p = r_.progress())
        p->begin(files());
}

void OperationJournal::ended() {
    --underWay_;
    if (Progress *p = r_.progress())
        p->end();
    r_.setProgressOn(false);
}

const QStringList *OperationJournal::listedIn(const QString &folder) const {
    if (!open_)
        return nullptr;
    for (const Journal::Move &m : record_.moves)
        if (m.in && m.folder == folder)
            return &m.files;
    return nullptr;
}

const QStringList *OperationJournal::listedOut(const QString &folder) const {
    if (!open_)
        return nullptr;
    for (const Journal::Move &m : record_.moves)
        if (!m.in && m.folder == folder)
            return &m.files;
    return nullptr;
}

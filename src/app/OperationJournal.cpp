#include "OperationJournal.h"

#include "FileCopy.h"
#include "FileList.h"
#include "FileMover.h"
#include "FileOps.h"
#include "ImportStaging.h"
#include "Ledgers.h"
#include "LoadedFiles.h"
#include "MissionSaves.h"
#include "Progress.h"
#include "Selector.h"
#include "SkinGrid.h"
#include "Skins.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <utility>

namespace {

QString quoted(const QString &name) {
    return QStringLiteral("\"%1\"").arg(name);
}

FileMover::Rule skipRule(const QString &rule) {
    if (rule == Journal::SkinRule)
        return [](const QString &f) { return SkinGrid::skippedOnLoad(f, true); };
    if (rule == Journal::SkinWithoutFltRule)
        return [](const QString &f) { return SkinGrid::skippedOnLoad(f, false); };
    return FileMover::skipped;
}

FileMover::Rule keepRule(const QString &rule) {
    if (rule == Journal::SkinRule || rule == Journal::SkinWithoutFltRule)
        return [](const QString &f) { return SkinGrid::keptOnUnload(f); };
    return {};
}

/// Deletes the game folder's files named like `names` (as `FileMover::MoveOut` does, for a
/// folder that is no longer there to be listed).
bool deleteNames(const QStringList &names, const QString &gameFolder, const FileMover::Rule &keep,
                 const QString &folder, QStringList *problems) {
    QStringList asked = names;
    if (keep)
        asked.removeIf(keep);
    // A name present under two cases is ambiguous and left alone, as an unload does.
    QStringList failures;
    QString error;
    if (!FileCopy::removeNamed(gameFolder, asked, &failures, &error)) {
        problems->append(error);
        return false;
    }
    if (failures.isEmpty())
        return true;
    problems->append(QStringLiteral("Not every file of \"%1\" could be deleted from the game "
                                    "folder:\n")
                         .arg(QDir::toNativeSeparators(folder)) +
                     failures.join(QLatin1Char('\n')));
    return false;
}

/// Makes the ledger lines say whether `name` is loaded; a loaded name new to them goes last.
void setLoaded(QList<QByteArray> *ledger, const QString &name, bool loaded) {
    const QByteArray line = Text8::fromUnicode(name);
    if (!loaded)
        ledger->removeAll(line);
    else if (!ledger->contains(line))
        ledger->append(line);
}

} // namespace

Journal::Move OperationJournal::contentMove(bool in, int row) const {
    const LoadGrid::Row &r = s_.Unigrid.row(row);
    return {in, r.name, Journal::ContentRule, r.path, Journal::filesOf(r.path)};
}

Journal::Move OperationJournal::skinMove(bool in, int row, bool withFlt) const {
    const QString folder = FileList::join(s_.skins().skinFolder(), s_.SK1.row(row).name);
    return {in, s_.SK1.row(row).name, withFlt ? Journal::SkinRule : Journal::SkinWithoutFltRule,
            folder, Journal::filesOf(folder)};
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
        record.mission = name;
        if (previousRow > 0)
            record.previous = s_.Unigrid.row(previousRow).name;
    }
    return begin(record);
}

bool OperationJournal::beginUnload(int row) {
    Journal::Record record;
    const QString name = s_.Unigrid.row(row).name;
    record.operation = QStringLiteral("unloading ") + quoted(name);
    record.moves << contentMove(false, row);
    const QString letter = s_.Unigrid.letter(row);
    if (letter == QLatin1String("F"))
        record.drops = markedAircraft();
    if (letter == QLatin1String("M"))
        record.mission = name;
    return begin(record);
}

bool OperationJournal::beginSkinLoad(int row, const QList<int> &others, bool withFlt) {
    Journal::Record record;
    record.operation = QStringLiteral("loading the skin ") + quoted(s_.SK1.row(row).name);
    for (int q : others)
        record.moves << skinMove(false, q, true);
    record.moves << skinMove(true, row, withFlt);
    record.skinSlot = SkinGrid::slotOf(s_.SK1.row(row).name);
    return begin(record);
}

bool OperationJournal::beginSkinUnload(int row) {
    Journal::Record record;
    record.operation = QStringLiteral("unloading the skin ") + quoted(s_.SK1.row(row).name);
    record.moves << skinMove(false, row, true);
    return begin(record);
}

bool OperationJournal::beginSwap(int row, const QStringList &targets) {
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
            s_.report(error + QStringLiteral(" The aircraft was not swapped in."));
            return false;
        }
        record.backups << backup;
    }
    return begin(record);
}

bool OperationJournal::begin(Journal::Record record) {
    // The ledgers say what is loaded at the next start: one that cannot be rewritten would
    // leave this operation's files in the game folder, forgotten. So a read-only ledger stops
    // the click before anything moves.
    if (s_.FormReady) {
        for (const QString &ledger : {Ledgers::FoldersLoaded, Ledgers::LoadOrder,
                                      Ledgers::SkinsLoaded, Ledgers::PlanesLoaded}) {
            const QString path = FileList::join(s_.ModFolder(), ledger);
            if (QFileInfo::exists(path) && FileOps::isReadOnly(path)) {
                s_.report(QStringLiteral("Could not write \"%1\": the file is read-only. Nothing "
                                         "was changed: the selector could not have recorded "
                                         "what it did.")
                              .arg(QDir::toNativeSeparators(path)));
                return false;
            }
        }
    }
    // The order it starts from: an operation undone after a crash leaves it as it was.
    if (!record.moves.isEmpty())
        record.order = s_.loadedFiles().ledgerLines();
    QString error;
    if (!Journal::write(s_.ModFolder(), s_.GameFolder(), record, &error)) {
        s_.report(error + QStringLiteral(" Nothing was changed: without its journal the selector "
                                         "could not put the game folder right after a crash."));
        return false;
    }
    record_ = record;
    open_ = true;
    keepRecord_ = false;
    ledgerError_.clear();
    keepLedgers();
    return true;
}

void OperationJournal::keepLedgers() {
    ledgers_.clear();
    for (const QString &name : {Ledgers::FoldersLoaded, Ledgers::LoadOrder, Ledgers::SkinsLoaded,
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
                        : FileCopy::removeFile(l.path, &error)))
            problems->append(error);
    }
    // The load order is read again from what it said before the operation.
    s_.loadedFiles().forget();
}

void OperationJournal::end() {
    // A ledger write that no undo took up is told rather than lost.
    if (!ledgerError_.isEmpty())
        s_.report(std::exchange(ledgerError_, {}));
    ledgers_.clear();
    // The replaced game files go before the record, which claims them until then; and the
    // record says first that the operation is over, so that a crash among the deletes is not
    // undone at the next start without the files already deleted.
    if (open_ && !kept_.isEmpty()) {
        record_.stage = Journal::Over;
        QString error;
        if (Journal::write(s_.ModFolder(), s_.GameFolder(), record_, &error)) {
            for (const QString &p : kept_.drop())
                s_.report(p);
        } else {
            // Left in place, unclaimed: the next start sets them aside and tells the player.
            s_.report(error);
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
    if (!Journal::remove(s_.ModFolder(), &error))
        s_.report(error);
}

qsizetype OperationJournal::files() const {
    qsizetype n = 0;
    for (const Journal::Move &m : std::as_const(record_.moves)) {
        // An unload deletes what the load copied, less what its keep rule leaves in place.
        const FileMover::Rule skip = skipRule(m.rule);
        const FileMover::Rule keep = m.in ? FileMover::Rule() : keepRule(m.rule);
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
    s_.setProgressOn(true);
    if (Progress *p = s_.progress())
        p->begin(files());
}

void OperationJournal::ended() {
    --underWay_;
    if (Progress *p = s_.progress())
        p->end();
    s_.setProgressOn(false);
}

void OperationJournal::undoCancelled(qsizetype reached) {
    cancelled_ = true;
    undoMoves(reached, QStringLiteral(" was cancelled and undone."));
}

void OperationJournal::undoFailed(qsizetype reached, const QString &cause) {
    undoMoves(reached, QStringLiteral(" failed: "), cause);
}

void OperationJournal::ledgerFailed(const QString &error) {
    if (!open_) {
        s_.report(error);
        return;
    }
    if (!ledgerError_.contains(error))
        ledgerError_ += (ledgerError_.isEmpty() ? QString() : QStringLiteral(" ")) + error;
}

void OperationJournal::undoUnrecorded(qsizetype reached) {
    const QString error = std::exchange(ledgerError_, {});
    QStringList problems;
    restoreLedgers(&problems);
    if (record_.aircraft.isEmpty()) {
        undoMoves(reached < 0 ? record_.moves.size() : reached,
                  QStringLiteral(" could not be recorded: "),
                  error + (problems.isEmpty() ? QString() : QLatin1Char(' ') + problems.join(' ')));
        return;
    }
    QString text = record_.operation;
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    text += QStringLiteral(" could not be recorded: ") + error;
    text += undoSwap(&problems)
                ? QStringLiteral(" The game files the swap had written were put back as they "
                                 "were; the aircraft was not swapped in.")
                : QStringLiteral(" Not every file could be put back: VEK Selector puts them back "
                                 "from its journal at its next start.");
    if (!problems.isEmpty())
        text += QLatin1Char(' ') + problems.join(QLatin1Char(' '));
    s_.report(text);
}

void OperationJournal::undoMoves(qsizetype reached, const QString &said, const QString &cause) {
    QStringList problems;
    QStringList names;
    QString back;
    bool unmarked = false;
    for (qsizetype i = qMin(reached, record_.moves.size() - 1); i >= 0; --i) {
        const Journal::Move &m = record_.moves.at(i);
        names += m.files;
        if (!m.in) {
            QStringList why;
            if (bringIn(m, &why)) {
                back += QStringLiteral(" \"%1\", which it had taken out, was loaded again.")
                            .arg(m.name);
                continue;
            }
            // The mover took its partial copy out again: the folder is out, and says so.
            back += QStringLiteral(" \"%1\", which it had taken out, could not be loaded again "
                                   "and is now out: %2")
                        .arg(m.name, why.join(QLatin1Char(' ')));
            const bool skin = m.rule != Journal::ContentRule;
            const int row = skin ? s_.SK1.find(m.name) : s_.Unigrid.find(m.name);
            if (row > 0 && skin) {
                s_.SK1.mark(row, false);
            } else if (row > 0) {
                s_.Unigrid.row(row).loaded = false;
                s_.Unigrid.row(row).colour = LoadGrid::DefaultCellColour;
            }
            unmarked = true;
        } else if (i < reached) {
            const bool replaced = !kept_.isEmpty();
            takeOut(m, &problems);
            problems += kept_.restore();
            back += QStringLiteral(" The files copied from \"%1\" were removed again%2.")
                        .arg(QDir::toNativeSeparators(m.folder),
                             replaced ? QStringLiteral(", and the game files they replaced were "
                                                       "put back")
                                      : QString());
        }
    }
    // Copying a folder back, or removing copies, can leave a file of another loaded folder
    // missing or in a copy that is not its owner's.
    s_.loadedFiles().putBack(names, &problems);
    if (unmarked)
        s_.RefreshLoadedList();
    if (!ledgerError_.isEmpty())
        problems << std::exchange(ledgerError_, {});
    QString text = record_.operation;
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    text += said + cause + back;
    if (problems.isEmpty() && !unmarked)
        text += QStringLiteral(" The game folder and the loaded list are as they were before.");
    else if (!problems.isEmpty())
        text += QStringLiteral(" Not everything could be put back (see the next message).");
    if (cause.isEmpty())
        s_.inform(text);
    else
        s_.report(text);
    for (const QString &p : std::as_const(problems))
        s_.report(p);
}

bool OperationJournal::advance(const QString &stage, const QStringList &held,
                               QStringList *problems) {
    if (!open_)
        return true;
    record_.stage = stage;
    record_.held = held;
    QString error;
    if (Journal::write(s_.ModFolder(), s_.GameFolder(), record_, &error))
        return true;
    // Going on unrecorded could make a start after a crash repeat an earlier stage.
    problems->append(error + QStringLiteral(" The campaign saves were left where they are."));
    return false;
}

bool OperationJournal::prepareMission(bool loading, const QString &previous, const QString &mission,
                                      QStringList *problems) {
    if (!open_)
        return true;
    const QString mod = s_.ModFolder();
    const QString game = s_.GameFolder();
    savesOut_ = SaveExchange();
    savesIn_ = SaveExchange();
    if (loading) {
        savesHeld_ = MissionSaves::held(game);
        MissionSaves::planLoad(mod, game, previous, mission, savesHeld_, &savesOut_, &savesIn_);
    } else {
        savesHeld_.clear();
        MissionSaves::planUnload(mod, game, mission, &savesOut_, &savesIn_);
    }
    savesReady_ = MissionSaves::ready(savesOut_, savesIn_, problems);
    return savesReady_;
}

// Commits the exchange made ready, a journal stage for each half: a start after a crash goes
// on from the half it reached.
bool OperationJournal::commitSaves(bool loading, QStringList *problems) {
    savesReady_ = false;
    QString error;
    bool ok = advance(loading ? Journal::SavesPark : Journal::SavesStore, savesHeld_, problems);
    if (ok && !savesOut_.commit(&error)) {
        problems->append(error);
        ok = false;
    }
    ok = ok && advance(loading ? Journal::SavesBring : Journal::SavesDefault, {}, problems);
    if (ok && !savesIn_.commit(&error)) {
        problems->append(error);
        ok = false;
    }
    if (!ok) {
        savesOut_.discard();
        savesIn_.discard();
        // Half made: the record stays, so the next start finishes the exchange.
        keepRecord_ = open_;
        if (open_)
            problems->append(QStringLiteral("The campaign saves were not all moved; VEK Selector "
                                            "finishes the exchange at its next start."));
    }
    return ok;
}

bool OperationJournal::saves(bool loading, QString stage, QStringList *problems) {
    const QString mod = s_.ModFolder();
    const QString game = s_.GameFolder();
    const QString mission = record_.mission;
    savesOut_ = SaveExchange();
    savesIn_ = SaveExchange();
    if (loading) {
        if (stage == Journal::Files || stage == Journal::SavesPark) {
            // Savedata's files are the ones to park only when the exchange starts; a start
            // after a crash in the middle of it goes on with the names recorded then.
            savesHeld_ = stage == Journal::Files ? MissionSaves::held(game) : record_.held;
            MissionSaves::planLoad(mod, game, record_.previous, mission, savesHeld_, &savesOut_,
                                   &savesIn_);
        } else if (stage == Journal::SavesBring) {
            savesHeld_.clear();
            MissionSaves::planBring(mod, game, mission, &savesIn_);
        } else {
            return false;
        }
    } else {
        savesHeld_.clear();
        if (stage == Journal::Files || stage == Journal::SavesStore)
            MissionSaves::planUnload(mod, game, mission, &savesOut_, &savesIn_);
        else if (stage == Journal::SavesDefault)
            MissionSaves::planFromDefault(mod, game, &savesIn_);
        else
            return false;
    }
    return MissionSaves::ready(savesOut_, savesIn_, problems) && commitSaves(loading, problems);
}

bool OperationJournal::missionLoad(const QString &previous, const QString &mission,
                                   QStringList *problems) {
    if (!open_)
        return MissionSaves::load(s_.ModFolder(), s_.GameFolder(), previous, mission, problems);
    record_.mission = mission;
    record_.previous = previous;
    if (savesReady_)
        return commitSaves(true, problems);
    return saves(true, Journal::Files, problems);
}

bool OperationJournal::missionUnload(const QString &mission, QStringList *problems) {
    if (!open_)
        return MissionSaves::unload(s_.ModFolder(), s_.GameFolder(), mission, problems);
    record_.mission = mission;
    if (savesReady_)
        return commitSaves(false, problems);
    return saves(false, Journal::Files, problems);
}

const QStringList *OperationJournal::listedOut(const QString &folder) const {
    if (!open_)
        return nullptr;
    for (const Journal::Move &m : record_.moves)
        if (!m.in && m.folder == folder)
            return &m.files;
    return nullptr;
}

bool OperationJournal::undoSwap(QStringList *problems) {
    bool ok = true;
    for (const Journal::Backup &b : std::as_const(record_.backups)) {
        // A file the swap would have created, and did not: nothing to take back.
        if (!b.existed && !QFileInfo(b.path).isFile())
            continue;
        QString error;
        const bool put = b.existed ? FileOps::writeAtomic(b.path, b.bytes, &error)
                                   : FileCopy::removeFile(b.path, &error);
        if (!put) {
            problems->append(error);
            ok = false;
        }
    }
    // Half put back: the record stays, so the next start puts the rest back.
    if (!ok)
        keepRecord_ = open_;
    return ok;
}

bool OperationJournal::takeOut(const Journal::Move &move, QStringList *problems) const {
    if (!QFileInfo(move.folder).isDir())
        return deleteNames(move.files, s_.GameFolder(), keepRule(move.rule), move.folder, problems);
    QString error;
    if (FileMover::MoveOut(move.folder, s_.GameFolder(), nullptr, &error, keepRule(move.rule)))
        return true;
    problems->append(error);
    return false;
}

bool OperationJournal::bringIn(const Journal::Move &move, QStringList *problems) {
    QString error;
    if (FileMover::MoveIn(move.folder, s_.GameFolder(), nullptr, &error, skipRule(move.rule),
                          nullptr, &kept_))
        return true;
    problems->append(error);
    return false;
}

bool OperationJournal::finish(Journal::Record &record, QList<QByteArray> *ledger,
                              QStringList *problems) {
    bool loading = false;
    for (const Journal::Move &m : std::as_const(record.moves))
        loading = loading || m.in;
    if (record.stage != Journal::Files) {
        // The save exchange starts only once every folder has moved and the ledger says so.
        for (const Journal::Move &m : std::as_const(record.moves))
            setLoaded(ledger, m.name, m.in);
    } else {
        // The files first, as the operation did: a folder that cannot be taken out whole stays
        // loaded, and then nothing new comes in (what came in before the crash goes again).
        bool outsOk = true;
        for (const Journal::Move &m : std::as_const(record.moves))
            if (!m.in) {
                const bool out = takeOut(m, problems);
                setLoaded(ledger, m.name, !out);
                outsOk = outsOk && out;
            }
        bool insOk = outsOk;
        for (const Journal::Move &m : std::as_const(record.moves)) {
            if (!m.in)
                continue;
            if (!outsOk) {
                takeOut(m, problems);
                *problems += kept_.restore();
                setLoaded(ledger, m.name, false);
                continue;
            }
            const bool in = bringIn(m, problems);
            setLoaded(ledger, m.name, in);
            insOk = insOk && in;
            if (in && record.skinSlot >= 0 && record.skinSlot < 30)
                setSkinsLoaded(record.skinSlot, m.folder, problems);
        }
        if (!insOk)
            return false;
    }
    if (record.mission.isEmpty())
        return true;
    record_ = record;
    open_ = true;
    const bool ok = saves(loading, record.stage, problems);
    open_ = false;
    keepRecord_ = false;
    return ok;
}

void OperationJournal::setSkinsLoaded(int slot, const QString &folder,
                                      QStringList *problems) const {
    QList<QByteArray> lines;
    const QString path = FileList::resolve(s_.ModFolder(), Ledgers::SkinsLoaded);
    TextFile::readLines(path, &lines, nullptr);
    lines.resize(std::max<qsizetype>(lines.size(), SkinGrid::LastSlot + 1));
    lines[slot] = Text8::fromUnicode(QDir::toNativeSeparators(folder));
    QString error;
    if (!TextFile::writeLines(path, lines, &error))
        problems->append(error);
}

// The names of `move`'s files whose game file the load may have written: a file last changed
// before the record was written is the game's own, not reached by the load, and stays. (A copy
// is a new file, changed when it was made; where times are coarse, a copy may pass for an old
// file and stay behind, but a file of the game's own is never taken for a copy.)
Journal::Move OperationJournal::written(const Journal::Move &move,
                                        const QDateTime &recorded) const {
    Journal::Move written = move;
    QList<QStringList> present;
    QString error;
    if (!recorded.isValid() || !FileCopy::findAll(s_.GameFolder(), move.files, &present, &error))
        return written;
    written.files.clear();
    for (qsizetype i = 0; i < move.files.size(); ++i) {
        const QStringList &p = present.at(i);
        if (p.size() != 1 ||
            QFileInfo(FileList::join(s_.GameFolder(), p.first())).lastModified() >= recorded)
            written.files << move.files.at(i);
    }
    return written;
}

void OperationJournal::undo(const Journal::Record &record, const QDateTime &recorded,
                            QList<QByteArray> *ledger, QStringList *problems) {
    for (qsizetype i = record.moves.size() - 1; i >= 0; --i) {
        const Journal::Move &m = record.moves.at(i);
        if (m.in) {
            // Its copies go, and the game files they replaced come back.
            takeOut(written(m, recorded), problems);
            *problems += kept_.restore();
            setLoaded(ledger, m.name, false);
        } else if (QFileInfo(m.folder).isDir()) {
            setLoaded(ledger, m.name, bringIn(m, problems));
        } else {
            // Gone with its source: it cannot come back whole, so it goes out entirely.
            takeOut(m, problems);
            setLoaded(ledger, m.name, false);
        }
    }
}

void OperationJournal::adoptKept(const Journal::Record *record, QStringList *told) {
    const QString game = s_.GameFolder();
    QStringList names;
    QString error;
    // A game folder that cannot be read is told by the steps that read it.
    if (!KeptFiles::find(game, &names, &error) || names.isEmpty())
        return;
    // The files a load of the record replaced are kept under the names it writes: those of its
    // incoming folders, in whatever case the game folder had them.
    QSet<QString> replaced;
    if (record && record->aircraft.isEmpty())
        for (const Journal::Move &m : record->moves)
            if (m.in)
                for (const QString &f : m.files)
                    replaced.insert(FileList::fold(f));
    QStringList orphans;
    QStringList own;
    for (const QString &n : std::as_const(names))
        (replaced.contains(FileList::fold(n)) ? own : orphans) << n;
    kept_.adopt(game, own);
    if (!orphans.isEmpty())
        *told << QStringLiteral("The game folder held files that VEK Selector had kept while a "
                                "load replaced them, and no journal says whether that load was "
                                "finished. Nothing was deleted:\r\n") +
                     KeptFiles::settleOrphans(game, orphans).join(QStringLiteral("\r\n"));
}

void OperationJournal::recover() {
    const QString mod = s_.ModFolder();
    // An import keeps its record in its own hidden folder; it touched no game file, so it is
    // put right apart from the record of this file.
    for (const QString &problem : ImportStaging::recover(mod))
        s_.report(problem);
    Journal::Record record;
    QString error;
    QStringList orphans;
    const Journal::Found found = Journal::read(mod, s_.GameFolder(), &record, &error);
    adoptKept(found == Journal::Found::Record ? &record : nullptr, &orphans);
    for (const QString &o : std::as_const(orphans))
        s_.report(o);
    switch (found) {
    case Journal::Found::None:
        return;
    case Journal::Found::Refused: {
        // Not acted on, and not read again: kept aside for whoever wants to see what it asked.
        // Nothing changed, so nothing is recovered.
        QString aside;
        QString asideError;
        s_.report(Journal::setAside(mod, &aside, &asideError)
                      ? error + QStringLiteral(" It was kept as \"%1\"; if the selector was "
                                               "stopped while it changed the game folder, check "
                                               "the loaded folders.")
                                    .arg(QDir::toNativeSeparators(aside))
                      : error + QLatin1Char(' ') + asideError);
        return;
    }
    case Journal::Found::Unreadable:
        recovered_ = true;
        s_.report(error + QStringLiteral(" It was removed; if the selector was stopped while it "
                                         "changed the game folder, check the loaded folders."));
        if (!Journal::remove(mod, &error))
            s_.report(error);
        return;
    case Journal::Found::Record:
        break;
    }
    recovered_ = true;
    QList<QByteArray> ledger = Ledgers::readFoldersLoaded(mod);
    QStringList problems;
    QString outcome;
    // The files it deleted that folders staying loaded carry too come back once the re-load
    // has said who carries what (`settle`); an undone operation has every file it touched made
    // its owner's copy again, as after a cancel.
    const auto namesOf = [&record](bool outOnly) {
        QStringList names;
        for (const Journal::Move &m : std::as_const(record.moves))
            if (!outOnly || !m.in)
                names += m.files;
        return names;
    };
    if (!record.aircraft.isEmpty()) {
        record_ = record;
        undoSwap(&problems);
        setLoaded(&ledger, record.aircraft, false);
        for (const QString &a : std::as_const(record.replaced))
            setLoaded(&ledger, a, true);
        outcome = QStringLiteral("It has now been undone: the game files it rewrites are as they "
                                 "were before it.");
    } else {
        QString gone;
        for (const Journal::Move &m : std::as_const(record.moves))
            if (m.in && gone.isEmpty() && !QFileInfo(m.folder).isDir())
                gone = m.folder;
        if (record.stage == Journal::Over) {
            // Only its kept files are left to delete (below); the ledgers say what it did.
            outcome = QStringLiteral("It has now been finished.");
        } else if (record.stage == Journal::Files && !gone.isEmpty()) {
            // Its time is the time the operation began: undoing is the first change since.
            const QDateTime recorded =
                QFileInfo(FileList::resolve(mod, Journal::FileName)).lastModified();
            undo(record, recorded, &ledger, &problems);
            putBack_ = namesOf(false);
            outcome = QStringLiteral("It has now been undone, since \"%1\" is no longer there.")
                          .arg(QDir::toNativeSeparators(gone));
        } else {
            outcome = finish(record, &ledger, &problems)
                          ? QStringLiteral("It has now been finished.")
                          : QStringLiteral("It has now been finished as far as it could be:");
            deleted_ = namesOf(true);
        }
        if (record.stage != Journal::Over)
            s_.loadedFiles().recovered(record.order, record.moves, ledger);
    }
    if (record.stage != Journal::Over)
        for (const QString &d : std::as_const(record.drops))
            setLoaded(&ledger, d, false);

    const QString path = FileList::resolve(mod, Journal::FileName);
    QString message =
        QStringLiteral("VEK Selector was stopped before it had finished %1 (its journal \"%2\" "
                       "says so). %3")
            .arg(record.operation, QDir::toNativeSeparators(path), outcome);
    if (!problems.isEmpty())
        message += QStringLiteral("\r\n\r\n") + problems.join(QStringLiteral("\r\n\r\n"));
    s_.report(message);

    // The journal goes only once the ledger says what the game folder holds; otherwise the
    // next start tries again.
    if (!Ledgers::writeFoldersLoaded(mod, TextFile::joinLines(ledger), &error)) {
        s_.report(error);
        return;
    }
    // What a finished load replaced is no longer wanted; an undone one has had its files back.
    for (const QString &p : kept_.drop())
        s_.report(p);
    // The record stays until the shared files are back: a crash before that does it all again.
    settling_ = true;
    operation_ = record.operation;
}

void OperationJournal::settle() {
    if (!settling_)
        return;
    settling_ = false;
    QStringList problems;
    const QStringList told =
        s_.loadedFiles().restoreDeleted(std::exchange(deleted_, {}), QString(), &problems);
    s_.loadedFiles().putBack(std::exchange(putBack_, {}), &problems);
    if (!told.isEmpty())
        s_.report(QStringLiteral("Finishing %1 took out files that folders staying loaded carry "
                                 "too; they were copied back:\r\n")
                      .arg(operation_) +
                  told.join(QStringLiteral("\r\n")));
    for (const QString &p : std::as_const(problems))
        s_.report(p);
    QString error;
    if (!Journal::remove(s_.ModFolder(), &error))
        s_.report(error);
}

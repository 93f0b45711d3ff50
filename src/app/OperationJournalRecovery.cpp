// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up recovery: an operation a crash cut short is finished or undone.
#include "OperationJournal.h"

#include "FileCompare.h"
#include "FileList.h"
#include "FileMover.h"
#include "FileRemoval.h"
#include "FolderListing.h"
#include "ImportStaging.h"
#include "Ledgers.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "SkinGrid.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "JournalRules.h"
#include <utility>

namespace {

/// Deletes the game folder's files named like `names` (as `FileMover::MoveOut` does, for a
/// folder that is no longer there to be listed).
bool deleteNames(const QStringList &names, const QString &gameFolder, const FileMover::Rule &keep,
                 const QString &folder, QStringList *problems) {
    QStringList asked = names;
    if (keep)
        asked.removeIf(keep);
    // A name present under two cases is ambiguous with no folder's bytes to compare: left
    // alone, and named.
    QStringList failures;
    QString error;
    if (!FileRemoval::removeNamed(gameFolder, asked, &failures, &error)) {
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

/// The game's own files that the selector itself reads, writes or keeps (its program and
/// options, the keyboard table, the picture it shows, the files the clean-up spares, its own
/// hidden copies, its ledgers): a record whose folder is gone proves no load brought them, so
/// their names in it never delete them.
bool selectorsOwn(const QString &name) {
    static const QStringList own =
        Ledgers::All + QStringList{QStringLiteral("LastVEKDir"), QStringLiteral("eaw.ini"),
                                   QStringLiteral("eaw.exe"),    QStringLiteral("KC"),
                                   QStringLiteral("BACKGROUND"), QStringLiteral("chatline.txt"),
                                   QStringLiteral("EXTRA.SPT"),  Journal::FileName};
    return own.contains(name, Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String(".vek-"), Qt::CaseInsensitive);
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

bool OperationJournal::takeOut(const Journal::Move &move, QStringList *problems,
                               const QStringList *listed) const {
    if (!QFileInfo(move.folder).isDir())
        return deleteNames(move.files, s_.GameFolder(), JournalRules::keepRule(move.rule),
                           move.folder, problems);
    QString error;
    if (FileMover::MoveOut(move.folder, s_.GameFolder(), nullptr, &error,
                           JournalRules::keepRule(move.rule), nullptr, listed))
        return true;
    problems->append(error);
    return false;
}

bool OperationJournal::bringIn(const Journal::Move &move, QStringList *problems) {
    QString error;
    if (FileMover::MoveIn(move.folder, s_.GameFolder(), nullptr, &error,
                          JournalRules::skipRule(move.rule), nullptr, &kept_))
        return true;
    problems->append(error);
    return false;
}

bool OperationJournal::finish(Journal::Record &record, QList<QByteArray> *ledger,
                              QStringList *problems) {
    // The exchange loads the mission's saves when the mission came in; a nameless mission
    // that took one out unloads that one's.
    bool loading = false;
    for (const Journal::Move &m : std::as_const(record.moves))
        loading = loading || (m.in && m.name == record.mission);
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
                const bool out = takeOutProven(m, problems);
                setLoaded(ledger, m.name, !out);
                outsOk = outsOk && out;
            }
        bool insOk = outsOk;
        for (const Journal::Move &m : std::as_const(record.moves)) {
            if (!m.in)
                continue;
            if (!outsOk) {
                takeOutProven(m, problems);
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
    // The record says how far the exchange got (each stage reached is written to it): it stays,
    // so that the next start goes on from there instead of leaving the saves half-way while the
    // ledger names the new mission.
    savesUnfinished_ = !ok;
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

// The files of `move` that the record proves the operation put into the game folder, which
// alone it may delete there (a journal can come from another place, or be edited by hand):
// - while the folder is there, a game file is its copy when it holds the folder's bytes (a name
//   under several cases is left to the mover, which compares each);
// - a folder gone that was going out: the names LoadedNames.txt recorded when it came in;
// - a folder gone that was coming in: the names the game folder did not hold when the record
//   was written (`Move::had`), and those whose old file the load kept aside, to be put back.
// A folder gone proves none of the selector's own files. What stays that the record named is
// told. Modification times prove nothing: a clock set wrong, or a file from elsewhere, would
// pass a game file for a copy.
bool OperationJournal::proven(const Journal::Move &move, Journal::Move *proof,
                              QStringList *problems) {
    *proof = move;
    proof->files.clear();
    const QString game = s_.GameFolder();
    const bool there = QFileInfo(move.folder).isDir();
    QStringList asked;
    QString error;
    if (there && !FolderListing::fileNames(move.folder, &asked, &error)) {
        problems->append(error);
        return false;
    }
    if (!there)
        asked = move.files;
    if (const FileMover::Rule keep = JournalRules::keepRule(move.rule))
        asked.removeIf(keep);
    const qsizetype n = asked.size();
    if (!there && move.in)
        for (const QString &f : std::as_const(move.files))
            asked << KeptFiles::keptName(f) << KeptFiles::gameName(f);
    QList<QStringList> present;
    if (!FolderListing::findAll(game, asked, &present, &error)) {
        problems->append(error);
        return false;
    }
    QSet<QString> recorded;
    if (!there && !move.in)
        for (const QString &f : loadedFiles_.recordedNames(move.name))
            recorded.insert(FileList::fold(f));
    // A record's list that says of only some of its names whether the game had them was cut
    // off by `fromBytes`; the kept files alone tell then.
    const auto fresh = [&move](qsizetype i) {
        return move.had.size() == move.files.size() && !move.had.at(i);
    };
    QStringList left;
    for (qsizetype i = 0; i < n; ++i) {
        const QString &name = asked.at(i);
        const QStringList &p = present.at(i);
        if (p.isEmpty())
            continue;
        bool ok = false;
        if (there)
            ok = p.size() > 1 || FileCompare::sameBytes(FileList::join(move.folder, name),
                                                        FileList::join(game, p.first()),
                                                        nullptr) == FileCompare::Result::Same;
        else if (selectorsOwn(name))
            ok = false;
        else if (move.in)
            ok = fresh(i) || !present.at(n + 2 * i).isEmpty() ||
                 !present.at(n + 2 * i + 1).isEmpty();
        else
            ok = recorded.contains(FileList::fold(name));
        (ok ? proof->files : left) << name;
    }
    if (!left.isEmpty())
        problems->append(
            QStringLiteral("These files of \"%1\" were left in the game folder, since nothing "
                           "shows that VEK Selector put them there (%2):\r\n")
                .arg(move.name, there
                                    ? QStringLiteral("their bytes are not the folder's")
                                    : QStringLiteral("the folder is gone, and no ledger or journal "
                                                     "records that it brought them")) +
            left.join(QStringLiteral("\r\n")));
    return true;
}

bool OperationJournal::takeOutProven(const Journal::Move &move, QStringList *problems) {
    // A game folder that cannot be read deletes nothing; the folder stays loaded.
    Journal::Move proof;
    return proven(move, &proof, problems) && takeOut(proof, problems, &proof.files);
}

void OperationJournal::undo(const Journal::Record &record, QList<QByteArray> *ledger,
                            QStringList *problems) {
    for (qsizetype i = record.moves.size() - 1; i >= 0; --i) {
        const Journal::Move &m = record.moves.at(i);
        if (m.in) {
            // Its copies go, and the game files they replaced come back.
            takeOutProven(m, problems);
            *problems += kept_.restore();
            setLoaded(ledger, m.name, false);
        } else if (QFileInfo(m.folder).isDir()) {
            setLoaded(ledger, m.name, bringIn(m, problems));
        } else {
            // Gone with its source: it cannot come back whole, so it goes out entirely.
            takeOutProven(m, problems);
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
        r_.report(problem);
    Journal::Record record;
    QString error;
    QStringList orphans;
    const Journal::Found found = Journal::read(mod, s_.GameFolder(), &record, &error);
    adoptKept(found == Journal::Found::Record ? &record : nullptr, &orphans);
    for (const QString &o : std::as_const(orphans))
        r_.report(o);
    switch (found) {
    case Journal::Found::None:
        return;
    case Journal::Found::Refused: {
        // Not acted on, and not read again: kept aside for whoever wants to see what it asked.
        // Nothing changed, so nothing is recovered.
        QString aside;
        QString asideError;
        r_.report(Journal::setAside(mod, &aside, &asideError)
                      ? error + QStringLiteral(" It was kept as \"%1\"; if the selector was "
                                               "stopped while it changed the game folder, check "
                                               "the loaded folders.")
                                    .arg(QDir::toNativeSeparators(aside))
                      : error + QLatin1Char(' ') + asideError);
        return;
    }
    case Journal::Found::Unreadable:
        recovered_ = true;
        r_.report(error + QStringLiteral(" It was removed; if the selector was stopped while it "
                                         "changed the game folder, check the loaded folders."));
        if (!Journal::remove(mod, &error))
            r_.report(error);
        return;
    case Journal::Found::Record:
        break;
    }
    recovered_ = true;
    // The game's own files a load of the record replaces are kept until their last carrier
    // goes, as in the operation itself; who carried what then, the record's load order says.
    QStringList moved;
    for (const Journal::Move &m : std::as_const(record.moves))
        moved << m.folder;
    // A name the record says the game folder did not hold before the load is the load's own
    // file, copied before the crash: never the game's.
    QSet<QString> brought;
    for (const Journal::Move &m : std::as_const(record.moves))
        if (m.in && m.had.size() == m.files.size())
            for (qsizetype i = 0; i < m.files.size(); ++i)
                if (!m.had.at(i))
                    brought.insert(FileList::fold(m.files.at(i)));
    kept_.gameOwn = [own = loadedFiles_.gameOwnRuleOf(record.order, moved),
                     brought](const QString &name) {
        return !brought.contains(FileList::fold(name)) && own(name);
    };
    const struct Forget {
        KeptFiles &kept;
        ~Forget() { kept.gameOwn = {}; }
    } forget{kept_};
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
            undo(record, &ledger, &problems);
            putBack_ = namesOf(false);
            outcome = QStringLiteral("It has now been undone, since \"%1\" is no longer there.")
                          .arg(QDir::toNativeSeparators(gone));
        } else {
            savesUnfinished_ = false;
            outcome = finish(record, &ledger, &problems)
                          ? QStringLiteral("It has now been finished.")
                      : savesUnfinished_
                          ? QStringLiteral("Its campaign saves could not all be moved yet, so "
                                           "it is not finished: its journal stays, and VEK "
                                           "Selector tries again at its next start. Free the "
                                           "file named below before then:")
                          : QStringLiteral("It has now been finished as far as it could be:");
            deleted_ = namesOf(true);
            // A move in the load order is finished: the order it leaves, and each file whose
            // owner it changed made the new owner's copy once the grids are read.
            putBack_ = record.recopied;
        }
        if (record.stage != Journal::Over)
            loadedFiles_.recovered(record.reorder.isEmpty() ? record.order : record.reorder,
                                   record.moves, ledger);
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
    r_.report(message);

    // The journal goes only once the ledger says what the game folder holds; otherwise the
    // next start tries again.
    if (!Ledgers::writeFoldersLoaded(mod, TextFile::joinLines(ledger), &error)) {
        r_.report(error);
        return;
    }
    // What a finished load replaced is no longer wanted; an undone one has had its files back.
    for (const QString &p : kept_.drop())
        r_.report(p);
    // The record stays until the shared files are back: a crash before that does it all again.
    settling_ = true;
    operation_ = record.operation;
}

void OperationJournal::settle() {
    // The game's own files whose last carrier went while the selector was not running to the
    // end (a crash between an unload's deletes and the put-back, a folder swept at a start
    // with another VEK folder) go back now that the grids say who carries what.
    if (!settling_) {
        loadedFiles_.putBackGameOwn(QString());
        return;
    }
    settling_ = false;
    QStringList problems;
    const QStringList told =
        loadedFiles_.restoreDeleted(std::exchange(deleted_, {}), QString(), &problems);
    loadedFiles_.putBack(std::exchange(putBack_, {}), &problems);
    if (!told.isEmpty())
        r_.report(QStringLiteral("Finishing %1 took out files that folders staying loaded carry "
                                 "too; they were copied back:\r\n")
                      .arg(operation_) +
                  told.join(QStringLiteral("\r\n")));
    for (const QString &p : std::as_const(problems))
        r_.report(p);
    if (std::exchange(savesUnfinished_, false))
        return;
    QString error;
    if (!Journal::remove(s_.ModFolder(), &error)) {
        r_.report(error);
        return;
    }
    loadedFiles_.putBackGameOwn(QString());
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The undo of an operation that was cancelled, failed half-way or could not be recorded.
#include "OperationJournal.h"

#include "FileOps.h"
#include "FileRemoval.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "Reporter.h"
#include "SelectorState.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>
void OperationJournal::undoCancelled(qsizetype reached) {
    cancelled_ = true;
    undoMoves(reached, QStringLiteral(" was cancelled and undone."));
}

void OperationJournal::undoFailed(qsizetype reached, const QString &cause) {
    undoMoves(reached, QStringLiteral(" failed: "), cause);
}

void OperationJournal::ledgerFailed(const QString &error) {
    if (!open_) {
        r_.report(error);
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
    r_.report(text);
}

void OperationJournal::undoMoves(qsizetype reached, const QString &said, const QString &cause) {
    QStringList problems;
    // A move in the load order has copied some of these over their old owner's bytes.
    QStringList names = record_.recopied;
    QString back;
    bool unmarked = false;
    // A plain unload took out the folder it was about; a load took one out to make way.
    const bool plainUnload = std::none_of(record_.moves.cbegin(), record_.moves.cend(),
                                          [](const Journal::Move &m) { return m.in; });
    for (qsizetype i = qMin(reached, record_.moves.size() - 1); i >= 0; --i) {
        const Journal::Move &m = record_.moves.at(i);
        names += m.files;
        if (!m.in) {
            QStringList why;
            if (bringIn(m, &why)) {
                back += plainUnload
                            ? QStringLiteral(" \"%1\" stays loaded: what the unload had taken out "
                                             "of the game folder was copied back.")
                                  .arg(m.name)
                            : QStringLiteral(" \"%1\", which it had taken out, was loaded again.")
                                  .arg(m.name);
                continue;
            }
            // The mover took its partial copy out again: the folder is out, and says so.
            back += (plainUnload ? QStringLiteral(" \"%1\" could not be loaded again and is now "
                                                  "out: %2")
                                 : QStringLiteral(" \"%1\", which it had taken out, could not be "
                                                  "loaded again and is now out: %2"))
                        .arg(m.name, why.join(QLatin1Char(' ')));
            const bool skin = m.rule != Journal::ContentRule;
            if (loadUndone)
                loadUndone(m.name, skin);
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
    loadedFiles_.putBack(names, &problems);
    if (unmarked)
        loadedList_.refresh();
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
        r_.inform(text);
    else
        r_.report(text);
    for (const QString &p : std::as_const(problems))
        r_.report(p);
}

bool OperationJournal::undoSwap(QStringList *problems) {
    bool ok = true;
    for (const Journal::Backup &b : std::as_const(record_.backups)) {
        // A file the swap would have created, and did not: nothing to take back.
        if (!b.existed && !QFileInfo(b.path).isFile())
            continue;
        QString error;
        const bool put = b.existed ? FileOps::writeAtomic(b.path, b.bytes, &error)
                                   : FileRemoval::removeFile(b.path, &error);
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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Skins.h"

#include "Planes.h"
#include "RowRescan.h"

#include "FileList.h"
#include "FileMover.h"
#include "Ledgers.h"
#include "LoadedFiles.h"
#include "LoadedList.h"
#include "OperationJournal.h"
#include "Reporter.h"
#include "SelectorState.h"
#include "SkinGrid.h"
#include "Text8.h"
#include "TextFile.h"

#include <QDir>

SkinsFields &Skins::own() {
    return s_.own(Key<Skins>());
}

Skins::Skins(SelectorState &state, Reporter &reporter, OperationJournal &journal,
             LoadedFiles &loadedFiles, LoadedList &loadedList, Planes &planes)
    : SkinTable(SkinGrid::LastSlot + 1), s_(state), r_(reporter), journal_(journal),
      loadedFiles_(loadedFiles), loadedList_(loadedList), planes_(planes) {}

QString Skins::folderOf(int row) const {
    return FileList::join(s_.skinFolder(), s_.SK1.row(row).name);
}

void Skins::fill() {
    s_.touch(Change::Skins);
    own().SK1.fill(s_.skinFolder());
}

bool Skins::rescan() {
    SkinGrid fresh;
    fresh.fill(s_.skinFolder());
    if (!rescanRows(own().SK1.rows, fresh.rows))
        return false;
    planes_.filter(s_.List1Index);
    LastHoverRow = -1;
    return true;
}

void Skins::filter(int entry, const QString &entryText) {
    own().SkinEventsOn = false;
    own().SK1.filter(entry, entryText);
    own().SkinEventsOn = true;
}

void Skins::includeFlt(bool on) {
    own().Check5 = on;
}

void Skins::ignoreClicks() {
    own().SkinEventsOn = false;
}

void Skins::mark(int row, bool loaded) {
    own().SK1.mark(row, loaded);
}

QList<bool> Skins::markLines(const QStringList &lines) {
    return own().SK1.markLines(lines);
}

void Skins::click(int row) {
    if (!s_.SkinEventsOn || row < 1 || row >= s_.SK1.rowCount())
        return;
    SkinSlot = SkinGrid::slotOf(s_.SK1.row(row).name);
    show(row);
}

void Skins::hover(int row) {
    if (row == LastHoverRow || row < 1 || row >= s_.SK1.rowCount())
        return;
    show(row);
    LastHoverRow = row;
}

void Skins::show(int row) {
    const QString folder = folderOf(row);
    Label4.clear();
    Image2 = s_.BackgroundPath;
    const QString description = FileList::find(folder, QStringLiteral("contents.txt"));
    if (!description.isEmpty()) {
        QList<QByteArray> lines;
        if (TextFile::readLines(FileList::join(folder, description), &lines, nullptr))
            for (const QByteArray &l : lines)
                Label4 += Text8::toUnicode(l) + QStringLiteral("\r\n");
    }
    const QStringList pictures = FileList::files(folder, SkinGrid::Pictures);
    if (!pictures.isEmpty())
        Image2 = FileList::join(folder, pictures.first());
}

bool Skins::activate(int row) {
    s_.touch(Change::Skins | Change::Ledger);
    if (row < 1 || row >= s_.SK1.rowCount())
        return false;
    const QString name = s_.SK1.row(row).name;
    const bool wasLoaded = s_.SK1.row(row).loaded;
    QStringList before;
    for (const SkinGrid::Row &r : std::as_const(s_.SK1.rows))
        if (r.loaded)
            before << r.name;
    const bool ok = wasLoaded ? unload(row) : load(row);
    s_.clickStatus(
        ok, wasLoaded, name, -1, before,
        [this](const QString &n) { return s_.SK1.row(s_.SK1.find(n)).loaded; },
        QStringLiteral("the skin "));
    return ok;
}

bool Skins::takeOut(int row) {
    QString error;
    const bool ok = FileMover::MoveOut(
        folderOf(row), s_.GameFolder(), nullptr, &error,
        [](const QString &name) { return SkinGrid::keptOnUnload(name); }, r_.progress());
    if (r_.cancelled())
        return false;
    loadedFiles_.restoreAfterUnload(folderOf(row));
    if (ok) {
        own().SK1.mark(row, false);
        return true;
    }
    r_.report(error);
    return false;
}

bool Skins::unload(int row) {
    if (!journal_.beginSkinUnload(row))
        return false;
    const OperationJournal::Scope journal(journal_);
    // A skin one of whose files cannot be deleted keeps them all and stays marked, so that a
    // second double-click can take it out once the player has freed that file.
    const bool ok = takeOut(row);
    own().SkinEventsOn = true;
    if (r_.cancelled()) {
        journal_.undoCancelled(0);
        return false;
    }
    loadedList_.refresh();
    if (journal_.unrecorded()) {
        if (ok)
            own().SK1.mark(row, true);
        journal_.undoUnrecorded();
        return false;
    }
    return ok;
}

bool Skins::load(int row) {
    const QString name = s_.SK1.row(row).name;
    const int slot = SkinGrid::slotOf(name);
    if (slot < 0) {
        r_.report(QStringLiteral("The skin folder \"%1\" cannot be loaded: its name does not give "
                                 "an aircraft slot 0 to 30 from its third character on (\"A-05 "
                                 "Name\" is slot 5).")
                      .arg(QDir::toNativeSeparators(folderOf(row))));
        return false;
    }
    // Before the skin of its slot makes way: the ledgers could not name this one.
    if (const QString why = Ledgers::unrecordable(name); !why.isEmpty()) {
        r_.report(Ledgers::refusedLoad(QStringLiteral("the skin folder"), folderOf(row), why));
        return false;
    }
    QList<int> others;
    for (int q = 1; q < s_.SK1.rowCount(); ++q)
        if (q != row && s_.SK1.row(q).loaded && SkinGrid::slotOf(s_.SK1.row(q).name) == slot)
            others << q;
    const bool withFlt = s_.Check5;
    if (!journal_.beginSkinLoad(row, others, withFlt))
        return false;
    const OperationJournal::Scope journal(journal_);
    bool ok = true;
    qsizetype reached = 0;
    for (; reached < others.size() && ok; ++reached)
        ok = takeOut(others.at(reached));
    // The move cut short by a cancel: the load's own, or the unload of `others` where it stopped.
    const qsizetype cut = ok ? others.size() : reached - 1;
    const bool allOut = ok;
    QString error;
    if (ok) {
        journal_.kept().gameOwn = loadedFiles_.gameOwnRule(folderOf(row));
        ok = FileMover::MoveIn(
            folderOf(row), s_.GameFolder(), nullptr, &error,
            [withFlt](const QString &file) { return SkinGrid::skippedOnLoad(file, withFlt); },
            r_.progress(), &journal_.kept());
        journal_.kept().gameOwn = {};
    }
    const bool in = ok;
    if (r_.cancelled()) {
        // The skins of the slot taken out come back, marked as they were; the ledgers never
        // changed.
        for (qsizetype i = 0; i < cut; ++i)
            own().SK1.mark(others.at(i), true);
        own().SkinEventsOn = true;
        journal_.undoCancelled(cut);
        return false;
    }
    if (allOut && !in && !others.isEmpty()) {
        // The click fails as a whole: the skins of the slot it took out come back.
        for (const int q : std::as_const(others))
            own().SK1.mark(q, true);
        own().SkinEventsOn = true;
        journal_.undoFailed(others.size(), error);
        return false;
    }
    if (!in && !error.isEmpty())
        r_.report(error);
    const QString before = SkinTable.at(slot);
    if (in) {
        SkinTable[slot] = folderOf(row);
        ok = writeSkinsLoaded();
        own().SK1.mark(row, true);
    }
    // The ledger follows whatever changed, also when a skin of the slot could not be taken out
    // whole.
    own().SkinEventsOn = true;
    loadedList_.refresh();
    if (journal_.unrecorded()) {
        SkinTable[slot] = before;
        if (in)
            own().SK1.mark(row, false);
        for (qsizetype i = 0; i < cut; ++i)
            own().SK1.mark(others.at(i), true);
        journal_.undoUnrecorded(in ? others.size() + 1 : cut);
        return false;
    }
    return ok;
}

bool Skins::writeSkinsLoaded() {
    QList<QByteArray> lines;
    // One line per slot the skin names can give, 0 to 30: the game's 30 lines had no room
    // for slot 30, whose skins load like any other.
    for (int k = 0; k < SkinGrid::LastSlot + 1; ++k)
        lines << Text8::fromUnicode(QDir::toNativeSeparators(SkinTable.at(k)));
    QString error;
    if (TextFile::writeLines(FileList::resolve(s_.ModFolder(), Ledgers::SkinsLoaded), lines,
                             &error))
        return true;
    journal_.ledgerFailed(error);
    return false;
}
